#!/usr/bin/env bash
# A 1024 x 768 window titled "Velorun"; a real Escape press ends the game with
# status 0 and clean output. A single argument is ignored: 800 x 600, where the
# running game shows the score in its green at the bottom left (and not at the
# bottom right), the tube around the view, and, with the lens flares switched
# off by F6, the fogged far end of the tube in the clear colour (0.35, 0.36,
# 0.43) near the centre. The car keeps clear of the obstacles meanwhile.
source "$(dirname "$0")/lib.sh"
e2e_init "$@"

scene_shows_its_parts() {
    keep_clear
    tap_key F6
    local shot="$TMP/scene.ppm"
    settled_shot "$shot"
    local score_left score_right centre_clear edges_clear
    score_left=$(count_colour "$shot" 240x45+0+555 "$SCORE_COLOUR" 15)
    score_right=$(count_colour "$shot" 240x45+560+555 "$SCORE_COLOUR" 15)
    centre_clear=$(count_colour "$shot" 120x120+340+240 "$CLEAR_COLOUR" 1)
    edges_clear=$(($(count_colour "$shot" 120x300+0+150 "$CLEAR_COLOUR" 1) +
        $(count_colour "$shot" 120x300+680+150 "$CLEAR_COLOUR" 1)))
    echo "score pixels left $score_left right $score_right; clear colour centre $centre_clear, side walls $edges_clear"
    [ "$score_left" -gt 150 ] || e2e_fail "no green score text at the bottom left"
    [ "$score_right" -lt 10 ] || e2e_fail "score-coloured pixels at the bottom right"
    [ "$centre_clear" -gt 300 ] || e2e_fail "the far end of the tube does not fade into the clear colour"
    [ "$edges_clear" -lt 100 ] || e2e_fail "the clear colour shows at the sides, where the tube wall should be"
}

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
    [ "$expected" = 800x600 ] && scene_shows_its_parts
    quit_with_escape
    keep_clear_end
    [ "$EXIT_STATUS" -eq 0 ] || e2e_fail "args '$*': exit status $EXIT_STATUS after Escape"
    check_clean_output
    echo "ok: '$*' -> $geometry window 'Velorun', Escape -> status 0"
}

check_window 1024x768 1024 768
check_window 800x600 abc
echo "OK"
