#!/usr/bin/env bash
# A session with real keys, recorded and replayed. Driving straight on, an
# obstacle hits the car sooner or later (they spawn at x, y in [0, 2]; the
# same pseudo-random sequence every run). Then the tube is no longer drawn,
# so the clear colour fills the screen, and the fireworks run under GAME
# OVER, without a best score on the first one. R races again in the same
# process: the tube is back and the banner gone. P stops the picture, P lets
# it go on; F3, F6 and F3 again; Escape quits with status 0 and no GL error.
# --replay plays the recording back at its pace, finds every state check
# matched and exits 0. (The best score of a later GAME OVER and Escape with R
# at GAME OVER are the race-again scenario's.)
source "$(dirname "$0")/lib.sh"
e2e_init "$@"
recording=$TMP/session.vrr

# White pixels of "BEST" under the banner (50..210, 115..160, left of where
# the sparks fly).
best_text() { count_colour "$1" "$(text_crop "$1" 160 45 50 440)" white 3; }
clear_pixels() { count_colour "$1" all "$CLEAR_COLOUR" 1; }

start_game --record "$recording" 400 300
wait_window
crash
clear=$(clear_pixels "$TMP/over.ppm")
best=$(best_text "$TMP/over.ppm")
echo "first GAME OVER: clear-colour pixels $clear, best score line $best"
[ "$clear" -gt "$(area_over "$TMP/over.ppm" 3)" ] || e2e_fail "the tube is still drawn after the crash"
[ "$best" -lt "$(area_over "$TMP/over.ppm" 2400)" ] || e2e_fail "a best score on the first GAME OVER ($best white pixels)"

# Race again: the tube fills the view once more, without the banner.
tap_key r
keep_clear
tube_back() { screenshot "$TMP/again.ppm" && [ "$(clear_pixels "$TMP/again.ppm")" -lt "$(area_over "$TMP/again.ppm" 24)" ]; }
wait_until "the tube back after R" tube_back
[ "$(banner "$TMP/again.ppm")" -lt "$(area_over "$TMP/again.ppm" 480)" ] || e2e_fail "GAME OVER still shown after R"
tap_key p
stands_still "P did not stop the picture"
tap_key p
goes_on "P did not let the run go on"
for key in F3 F6 F3; do tap_key "$key"; done
quit_with_escape
keep_clear_end
[ "$EXIT_STATUS" -eq 0 ] || e2e_fail "exit status $EXIT_STATUS after Escape"
check_clean_output

run_to_end --replay "$recording"
[ "$RUN_STATUS" -eq 0 ] || e2e_fail "--replay: exit status $RUN_STATUS"
check_clean_output
grep -qE "^Replay $recording: [0-9]+ frames played; every state check matched$" "$TMP/out" ||
    e2e_fail "--replay did not match the recording: $(grep '^Replay' "$TMP/out")"
grep '^Replay' "$TMP/out"
echo "OK"
