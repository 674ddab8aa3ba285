#!/usr/bin/env bash
# Runs a command with an X display: the current one if DISPLAY is set,
# otherwise a private Xvfb that is stopped afterwards.
set -u
if [ -n "${DISPLAY:-}" ]; then
    exec "$@"
fi

number=90
while [ -e "/tmp/.X${number}-lock" ] || [ -e "/tmp/.X11-unix/X${number}" ]; do
    number=$((number + 1))
done
Xvfb ":${number}" -screen 0 1280x1024x24 -nolisten tcp -noreset >/dev/null 2>&1 &
xvfb=$!
trap 'kill "$xvfb" 2>/dev/null; wait "$xvfb" 2>/dev/null' EXIT
for _ in $(seq 1 100); do
    [ -e "/tmp/.X11-unix/X${number}" ] && break
    sleep 0.1
done
export DISPLAY=":${number}"
"$@"
