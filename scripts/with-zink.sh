#!/usr/bin/env bash
# Runs a command on Mesa's zink (OpenGL over Vulkan) driving lavapipe, the
# software Vulkan driver: a second OpenGL implementation, which compiles GLSL
# through another path than llvmpipe's. Needs an X display and the packages
# `scripts/install-deps.sh test` installs (mesa-vulkan-drivers).
#   with-zink.sh COMMAND...
# The GL test fixture fails when VELORUN_GL_RENDERER does not name the
# renderer it got, so the run cannot quietly fall back to another driver.
set -u
# Mesa's Vulkan window-system code wants a private runtime directory.
runtime=$(mktemp -d)
trap 'rm -rf "$runtime"' EXIT
export XDG_RUNTIME_DIR="$runtime" LIBGL_ALWAYS_SOFTWARE=1 GALLIUM_DRIVER=zink VELORUN_GL_RENDERER=zink
"$@"
