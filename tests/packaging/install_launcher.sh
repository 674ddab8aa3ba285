#!/usr/bin/env bash
# Installs into a temporary prefix and starts the installed launcher from an
# unrelated directory: the game must find its data, take its arguments and
# hand back its exit status.
# usage: install_launcher.sh BUILD_DIR
set -u
build=$(readlink -f "$1")
[ -n "${DISPLAY:-}" ] || { echo "FAIL: no DISPLAY (run under scripts/with-xvfb.sh)"; exit 1; }
prefix=$(mktemp -d)
elsewhere=$(mktemp -d)
trap 'pkill -f "$prefix/libexec" 2>/dev/null; rm -rf "$prefix" "$elsewhere"' EXIT
status=0
fail() { echo "FAIL: $*"; status=1; }

# The game polls Escape once a frame, and a software-rendered frame can take
# longer than a tap: focus the window and hold the key down for a while.
hold_escape() {
    xdotool windowfocus --sync "$1" 2>/dev/null
    xdotool keydown --window "$1" Escape 2>/dev/null
    sleep 1.5
    xdotool keyup --window "$1" Escape 2>/dev/null
}

cmake --install "$build" --prefix "$prefix" >/dev/null || { echo "FAIL: cmake --install"; exit 1; }
# Desktop file and icons carry the software-centre id that names the metainfo.
id=$(basename "$(ls "$prefix"/share/metainfo/*.metainfo.xml 2>/dev/null | head -n 1)" .metainfo.xml)
for f in bin/velorun libexec/velorun/velorun share/velorun/Shader/model.frag \
         share/velorun/Resources/Objects/tube/tube2.obj share/velorun/Textures/rainbow.jpg \
         share/velorun/Resources/Fonts/calibri.ttf share/metainfo/$id.metainfo.xml share/applications/$id.desktop \
         share/icons/hicolor/256x256/apps/$id.png share/man/man6/velorun.6.gz share/doc/velorun/LICENSE-Carlito.txt; do
    [ -e "$prefix/$f" ] || fail "not installed: $f"
done

# Arguments pass through: a bad third argument comes back as the game's status 1.
cd "$elsewhere"
"$prefix/bin/velorun" 800 600 7 </dev/null >out.txt 2>err.txt
code=$?
[ $code -eq 1 ] || fail "bad argument through the launcher: status $code, expected 1"
grep -qxF "ERROR: Could not parse third command-line argument as integer. " err.txt ||
    fail "bad argument through the launcher: message missing"

# A session file is the player's, named from where they are.
"$prefix/bin/velorun" --replay session.vrr </dev/null >out.txt 2>err.txt
grep -qF "Cannot replay $elsewhere/session.vrr: it cannot be read" err.txt ||
    fail "a replay file is not looked for where the player is: $(cat err.txt)"

# A real start from another directory, left with Escape.
"$prefix/bin/velorun" 640 480 </dev/null >out.txt 2>err.txt &
pid=$!
window=""
for _ in $(seq 1 600); do
    window=$(xdotool search --onlyvisible --name '^Velorun$' 2>/dev/null | head -n 1)
    [ -n "$window" ] && break
    kill -0 $pid 2>/dev/null || break
    sleep 0.1
done
[ -n "$window" ] || fail "installed game opened no window"
sleep 2
for _ in $(seq 1 30); do
    kill -0 $pid 2>/dev/null || break
    hold_escape "$window"
    sleep 2
done
if kill -0 $pid 2>/dev/null; then
    kill -9 $pid
    fail "installed game did not end on Escape"
fi
wait $pid
code=$?
[ $code -eq 0 ] || fail "installed game ended with status $code, expected 0"
if grep -q 'ERROR::\|Failed to\|OpenGL Error' out.txt err.txt; then
    fail "installed game could not find its data:"; cat out.txt err.txt | head -n 5
fi
[ "$(tail -n 1 out.txt)" = "particle destructor" ] || fail "stdout does not end with the particle system's farewell"

[ $status -eq 0 ] && echo "installed launcher works from $elsewhere"
exit $status
