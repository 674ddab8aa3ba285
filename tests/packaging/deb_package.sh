#!/usr/bin/env bash
# Builds the .deb with CPack and checks it as a distribution and a software
# centre would: lintian, appstreamcli, desktop-file-validate and the man page
# through groff and man, each with nothing to say beyond explained lintian
# overrides; then the file list, and one version everywhere.
# usage: deb_package.sh BUILD_DIR
set -u
build=$(readlink -f "$1")
out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT
status=0
fail() {
    echo "FAIL: $*"
    status=1
}
for tool in lintian appstreamcli desktop-file-validate groff man dpkg-deb identify; do
    command -v $tool >/dev/null || {
        echo "FAIL: $tool is not installed (scripts/install-deps.sh test)"
        exit 1
    }
done

(cd "$build" && cpack -G DEB -B "$out" >"$out/cpack.log" 2>&1) || {
    cat "$out/cpack.log"
    echo "FAIL: cpack"
    exit 1
}
deb=$(ls "$out"/*.deb 2>/dev/null | head -n 1)
[ -n "$deb" ] || {
    echo "FAIL: no .deb produced"
    exit 1
}
root=$out/root
dpkg-deb -x "$deb" "$root"

field() { dpkg-deb -f "$deb" "$1"; }
[ "$(field Package)" = velorun ] || fail "package name is '$(field Package)'"
[ "$(field Section)" = games ] || fail "section is '$(field Section)'"
depends=$(field Depends)
for dep in libc6 libglfw3 libglew2.2 libassimp5 libfreeimage3 libsoil1 libfreetype6 libopenal1 libsndfile1; do
    grep -qw -- "$dep" <<<"$depends" || fail "Depends lacks $dep: $depends"
done

# lintian: no error or warning, and every override says why in a comment
# right above it.
lintian "$deb" >"$out/lintian" 2>&1
if grep -E '^[EW]: ' "$out/lintian"; then
    fail "lintian"
fi
awk '/^#/ { why = 1; next } /^[^[:space:]]/ { if (!why) print; why = 0 }' \
    "$root/usr/share/lintian/overrides/velorun" >"$out/unexplained"
[ -s "$out/unexplained" ] && fail "lintian overrides without a reason: $(cat "$out/unexplained")"

# AppStream: the metainfo's id names the desktop file and the icons.
metainfo=$(ls "$root"/usr/share/metainfo/*.metainfo.xml 2>/dev/null | head -n 1)
[ -n "$metainfo" ] || fail "no metainfo in the package"
id=$(basename "$metainfo" .metainfo.xml)
grep -qF "<id>$id</id>" "$metainfo" || fail "metainfo file name $id is not its id"
appstreamcli validate --no-net "$metainfo" >"$out/appstream" 2>&1 || fail "appstreamcli exit status $?"
if grep -E '^[EW]: ' "$out/appstream"; then
    fail "appstreamcli validate"
fi
desktop=$root/usr/share/applications/$id.desktop
if [ -f "$desktop" ]; then
    desktop-file-validate "$desktop" >"$out/desktop" 2>&1 || fail "desktop-file-validate exit status $?"
    [ -s "$out/desktop" ] && fail "desktop-file-validate: $(cat "$out/desktop")"
    grep -qxF "Icon=$id" "$desktop" || fail "the desktop file's icon is not $id"
    grep -qxF "Exec=velorun" "$desktop" || fail "the desktop file does not start velorun"
else
    fail "no desktop file $id.desktop"
fi
for size in 48 128 256; do
    icon=$root/usr/share/icons/hicolor/${size}x$size/apps/$id.png
    [ "$(identify -format '%wx%h' "$icon" 2>/dev/null)" = "${size}x$size" ] || fail "no ${size} px icon $id.png"
done

# The man page renders without a warning, read by groff as by man.
page=$root/usr/share/man/man6/velorun.6.gz
if [ -f "$page" ]; then
    zcat "$page" | groff -man -ww -z >"$out/groff" 2>&1
    [ -s "$out/groff" ] && fail "groff: $(cat "$out/groff")"
    LC_ALL=C.UTF-8 MANWIDTH=80 man --warnings -E UTF-8 -l -Tutf8 -Z "$page" 2>&1 >/dev/null | tee "$out/man"
    [ -s "$out/man" ] && fail "man reports problems"
else
    fail "no man page $page"
fi

files=$(dpkg-deb -c "$deb" | awk '{print $6}')
for f in ./usr/games/velorun ./usr/libexec/velorun/velorun ./usr/share/velorun/Shader/model.frag \
    ./usr/share/velorun/Resources/Objects/car/car.obj ./usr/share/velorun/Textures/LensFlares/tex9.png \
    ./usr/share/velorun/Resources/Fonts/calibri.ttf ./usr/share/velorun/Resources/Sounds/engine.wav \
    ./usr/share/doc/velorun/copyright ./usr/share/doc/velorun/changelog.gz \
    ./usr/share/doc/velorun/LICENSE-Carlito.txt; do
    grep -qxF -- "$f" <<<"$files" || fail "not in the package: $f"
done
# The launcher must be executable inside the package.
perm=$(dpkg-deb -c "$deb" | awk '$6 == "./usr/games/velorun" {print $1}')
[[ "$perm" == -rwx* ]] || fail "launcher permissions are $perm"

# One version: the package's, the answer of the game started through its
# /usr/games launcher, the metainfo's newest release, the man page's and the
# changelog's.
version=$(field Version)
answer=$(env -u DISPLAY "$root/usr/games/velorun" --version </dev/null 2>&1)
[ "$answer" = "velorun $version" ] || fail "the packaged game says [$answer], the package is $version"
grep -qE "<release version=\"$version\" date=\"[0-9]{4}-[0-9]{2}-[0-9]{2}\"" "$metainfo" ||
    fail "the metainfo's release is not $version"
zcat "$page" 2>/dev/null | grep -qE "^\.TH VELORUN 6 .*\"Velorun $version\"" || fail "the man page is not for $version"
[ "$(zcat "$root/usr/share/doc/velorun/changelog.gz" | head -n 1 | cut -d' ' -f2)" = "($version)" ] ||
    fail "the changelog's newest entry is not $version"

[ $status -eq 0 ] && echo "$(basename "$deb") checked: lintian, appstreamcli, desktop-file-validate, man page"
exit $status
