#!/usr/bin/env bash
# Driving straight on, an obstacle hits the car sooner or later (they spawn at
# x, y in [0, 2]; the same pseudo-random sequence every run). Then the tube is
# no longer drawn, so the clear colour fills the screen, and the fireworks run
# under GAME OVER, without a best score on the first one. R races again in the
# same process: the tube is back and the banner gone; the second GAME OVER
# shows the best score, and Escape pressed together with R there still quits.
# In a second game, with two arrow keys held, P freezes the picture and P lets
# it go on; Escape while paused ends the game with status 0 and without GL
# errors.
source "$(dirname "$0")/lib.sh"
e2e_init "$@"

# Drives on until the clear colour fills a third of the window: GAME OVER.
drive_to_game_over() {
    local over="" clear
    local deadline=$((SECONDS + 240)) # up to four minutes of driving
    while [ "$SECONDS" -lt "$deadline" ]; do
        sleep 2
        screenshot "$TMP/poll.png"
        clear=$(count_colour "$TMP/poll.png" all "$CLEAR_COLOUR" 1)
        if [ "$clear" -gt 150000 ]; then
            over=yes
            break
        fi
        kill -0 "$GAME_PID" 2>/dev/null || e2e_fail "the game ended by itself: $(tail -3 "$TMP/err")"
    done
    [ -n "$over" ] || e2e_fail "no game over after four minutes of driving"
    echo "game over seen (clear-colour pixels: $clear)"
}

# White pixels of the GAME OVER banner (text space 50..~560, 180..~260) and of
# "BEST" under it (50..210, 115..160, left of where the sparks fly).
banner_text() { count_colour "$1" 500x80+50+340 white 3; }
best_text() { count_colour "$1" 160x45+50+440 white 3; }

start_game 800 600
wait_window
drive_to_game_over
sleep 2
screenshot "$TMP/fireworks.png"
[ -n "${E2E_SHOTS:-}" ] && cp "$TMP/fireworks.png" "$E2E_SHOTS/"
white=$(banner_text "$TMP/fireworks.png")
best=$(best_text "$TMP/fireworks.png")
echo "white banner pixels: $white, best score line: $best"
[ "$white" -gt 3000 ] || e2e_fail "no white GAME OVER banner"
[ "$best" -lt 200 ] || e2e_fail "a best score on the first GAME OVER ($best white pixels)"

# Race again: the tube fills the view once more, without the banner.
tap_key r
back=""
for _ in $(seq 1 30); do
    screenshot "$TMP/again.png"
    clear=$(count_colour "$TMP/again.png" all "$CLEAR_COLOUR" 1)
    [ "$clear" -lt 20000 ] && back=yes && break
done
[ -n "$back" ] || e2e_fail "R did not bring the tube back (clear-colour pixels: $clear)"
kill -0 "$GAME_PID" 2>/dev/null || e2e_fail "the game is gone after R"
white=$(banner_text "$TMP/again.png")
echo "racing again: clear-colour pixels $clear, white banner pixels $white"
[ "$white" -lt 1000 ] || e2e_fail "GAME OVER still shown after R"

drive_to_game_over
screenshot "$TMP/second.png"
white=$(banner_text "$TMP/second.png")
best=$(best_text "$TMP/second.png")
echo "second GAME OVER: white banner pixels $white, best score line $best"
[ "$white" -gt 3000 ] && [ "$best" -gt 800 ] || e2e_fail "no banner and best score on the second GAME OVER"

# Escape with R: the race again must not swallow the Escape.
quit_with_escape r
[ "$EXIT_STATUS" -eq 0 ] || e2e_fail "exit status $EXIT_STATUS after Escape and R at GAME OVER"
check_clean_output

# Down and Left held from the start keep the car in the lower left, clear of
# the obstacles (which all come in the upper right), and must not move a
# paused game.
start_game 800 600
wait_window
key_down Down
key_down Left

# Pause: once PAUSED is on the picture, it stands still; P lets it go on.
paused_text() { count_colour "$1" 320x80+240+200 white 3; }
# P, then a screenshot FILE once PAUSED shows.
pause_into() {
    tap_key p
    for _ in $(seq 1 30); do
        screenshot "$1"
        [ "$(paused_text "$1")" -gt 2000 ] && return 0
    done
    e2e_fail "no PAUSED on the picture after P"
}
pause_into "$TMP/paused1.png"
sleep 3
screenshot "$TMP/paused2.png"
moved=$(compare -metric AE "$TMP/paused1.png" "$TMP/paused2.png" null: 2>&1)
echo "paused: $moved pixels changed in 3 s"
[ "$moved" = 0 ] || e2e_fail "the paused picture changed ($moved pixels)"
tap_key p
for _ in $(seq 1 30); do
    screenshot "$TMP/resumed.png"
    moved=$(compare -metric AE "$TMP/paused2.png" "$TMP/resumed.png" null: 2>&1)
    [ "$(paused_text "$TMP/resumed.png")" -lt 1000 ] && [ "$moved" -gt 20000 ] && break
done
echo "resumed: $moved pixels changed"
[ "$(paused_text "$TMP/resumed.png")" -lt 1000 ] && [ "$moved" -gt 20000 ] || e2e_fail "P did not resume the game"

pause_into "$TMP/paused3.png"
quit_with_escape
[ "$EXIT_STATUS" -eq 0 ] || e2e_fail "exit status $EXIT_STATUS after Escape while paused"
check_clean_output
echo "OK"
