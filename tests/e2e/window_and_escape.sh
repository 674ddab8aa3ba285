#!/usr/bin/env bash
# A 1024 x 768 window titled "Velorun"; a real Escape press ends the game with
# status 0 and clean output. A single argument is ignored: 800 x 600.
source "$(dirname "$0")/lib.sh"
e2e_init "$@"

check_window() {
    local expected=$1
    shift
    start_game "$@"
    wait_window
    local name geometry
    name=$(xdotool getwindowname "$WID")
    [ "$name" = "Velorun" ] || e2e_fail "window title '$name'"
    geometry=$(xdotool getwindowgeometry "$WID" | sed -n 's/ *Geometry: //p')
    [ "$geometry" = "$expected" ] || e2e_fail "args '$*': window is $geometry, expected $expected"
    quit_with_escape
    [ "$EXIT_STATUS" -eq 0 ] || e2e_fail "args '$*': exit status $EXIT_STATUS after Escape"
    check_clean_output
    echo "ok: '$*' -> $geometry window 'Velorun', Escape -> status 0"
}

check_window 1024x768 1024 768
check_window 800x600 abc
echo "OK"
