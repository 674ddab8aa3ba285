#!/usr/bin/env bash
# --help, -h and --version as the first argument, alone or followed by more:
# the answer on standard output, nothing on standard error, status 0, all with
# no display. Without a display GLFW cannot start, so an answer that came
# back cleanly was given before GLFW and without a window.
#   usage: help_and_version.sh PATH/TO/velorun VERSION
set -u
game=$1
version=$2
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
status=0
fail() {
    echo "FAIL: $*"
    status=1
}
run_without_display() {
    env -u DISPLAY -u WAYLAND_DISPLAY timeout 60 "$game" "$@" </dev/null >"$tmp/out" 2>"$tmp/err"
    code=$?
}

# The game itself cannot start here; otherwise this test would prove nothing.
run_without_display 800 600
[ $code -eq 255 ] && grep -qxF "Failed to init glfw" "$tmp/err" ||
    fail "without a display the game gave status $code, stderr [$(cat "$tmp/err")]"

# The whole answer: the run's end-of-run line must not follow it.
expect_answer() {
    local expected=$1
    shift
    run_without_display "$@"
    [ $code -eq 0 ] && [ ! -s "$tmp/err" ] && [ "$(cat "$tmp/out")" = "$expected" ] ||
        fail "'$*': status $code, stdout [$(head -n 3 "$tmp/out")...], stderr [$(cat "$tmp/err")]"
}

usage=$(run_without_display --help; cat "$tmp/out")
[ "$(head -n 1 <<<"$usage")" = "Usage: velorun [WIDTH HEIGHT [FULLSCREEN]]" ] || fail "--help: [$usage]"
for args in "--help" "-h" "--help 1" "-h abc 600"; do
    expect_answer "$usage" $args
done
for args in "--version" "--version 800 600 1"; do
    expect_answer "velorun $version" $args
done
[ $status -eq 0 ] && echo "OK: --help, -h and --version answered without a display"
exit $status
