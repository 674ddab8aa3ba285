#!/usr/bin/env bash
# Driving straight on, an obstacle hits the car sooner or later (they spawn at
# x, y in [0, 2]; the same pseudo-random sequence every run). Then the tube is
# no longer drawn, so the clear colour fills the screen; after ten seconds of
# fireworks Escape ends the run with status 0 and without GL errors.
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

quit_with_escape
[ "$EXIT_STATUS" -eq 0 ] || e2e_fail "exit status $EXIT_STATUS after Escape"
check_clean_output
echo "OK"
