#!/usr/bin/env bash
# Builds the .deb with CPack and checks its metadata and file list.
# usage: deb_package.sh BUILD_DIR
set -u
build=$(readlink -f "$1")
out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT
status=0
fail() { echo "FAIL: $*"; status=1; }

(cd "$build" && cpack -G DEB -B "$out" >/dev/null) || { echo "FAIL: cpack"; exit 1; }
deb=$(ls "$out"/*.deb 2>/dev/null | head -n 1)
[ -n "$deb" ] || { echo "FAIL: no .deb produced"; exit 1; }

field() { dpkg-deb -f "$deb" "$1"; }
[ "$(field Package)" = velorun ] || fail "package name is '$(field Package)'"
[ "$(field Section)" = games ] || fail "section is '$(field Section)'"
depends=$(field Depends)
for dep in libglfw3 libglew2.2 libassimp5 libfreeimage3 libsoil1 libfreetype6 libopenal1 libsndfile1; do
    grep -qw -- "$dep" <<<"$depends" || fail "Depends lacks $dep: $depends"
done
[ -n "$(field Description)" ] || fail "no description"

files=$(dpkg-deb -c "$deb" | awk '{print $6}')
for f in ./usr/bin/velorun ./usr/libexec/velorun/velorun ./usr/share/velorun/Shader/model.frag \
         ./usr/share/velorun/Resources/Objects/car/car.obj ./usr/share/velorun/Textures/LensFlares/tex9.png \
         ./usr/share/velorun/Resources/Fonts/calibri.ttf ./usr/share/velorun/Resources/Sounds/engine.wav \
         ./usr/share/applications/velorun.desktop \
         ./usr/share/icons/hicolor/256x256/apps/velorun.png ./usr/share/doc/velorun/LICENSE-Carlito.txt; do
    grep -qxF -- "$f" <<<"$files" || fail "not in the package: $f"
done
# The launcher must be executable inside the package.
perm=$(dpkg-deb -c "$deb" | awk '$6 == "./usr/bin/velorun" {print $1}')
[[ "$perm" == -rwx* ]] || fail "launcher permissions are $perm"

[ $status -eq 0 ] && echo "$(basename "$deb") checked"
exit $status
