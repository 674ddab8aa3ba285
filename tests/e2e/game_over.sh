#!/usr/bin/env bash
# Driving straight on, an obstacle hits the car sooner or later (they spawn at
# x, y in [0, 2]; the same pseudo-random sequence every run). Then the tube is
# no longer drawn, so the clear colour fills the screen, and the fireworks run
# under GAME OVER. R races again in the same process: the tube is back and the
# banner gone. With two arrow keys held, P freezes the picture and P lets it go
# on; Escape while paused ends the game with status 0 and without GL errors.
source "$(dirname "$0")/lib.sh"
e2e_init "$@"

start_game 800 600
wait_window
over=""
deadline=$((SECONDS + 240)) # up to four minutes of driving
while [ "$SECONDS" -lt "$deadline" ]; do
    sleep 2
    screenshot "$TMP/poll.png"
    clear=$(count_colour "$TMP/poll.png" all "$CLEAR_COLOUR" 1)
    if [ "$clear" -gt 150000 ]; then # a third of the window
        over=yes
        break
    fi
    kill -0 "$GAME_PID" 2>/dev/null || e2e_fail "the game ended by itself: $(tail -3 "$TMP/err")"
done
[ -n "$over" ] || e2e_fail "no game over after four minutes of driving"
echo "game over seen (clear-colour pixels: $clear)"

sleep 10
screenshot "$TMP/fireworks.png"
[ -n "${E2E_SHOTS:-}" ] && cp "$TMP/fireworks.png" "$E2E_SHOTS/"
# GAME OVER in white across the lower middle (text space 50..~560, 180..~260).
white=$(count_colour "$TMP/fireworks.png" 500x80+50+340 white 3)
echo "white banner pixels: $white"
[ "$white" -gt 3000 ] || e2e_fail "no white GAME OVER banner"

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
white=$(count_colour "$TMP/again.png" 500x80+50+340 white 3)
echo "racing again: clear-colour pixels $clear, white banner pixels $white"
[ "$white" -lt 1000 ] || e2e_fail "GAME OVER still shown after R"

# Down and Left held from here on keep the car in the lower left, clear of
# the obstacles (which all come in the upper right), and must not move a
# paused game.
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
