#!/usr/bin/env bash
# Holding the right arrow key for 20 s steers the car (and the camera behind
# it) to the right wall: the tube's axis moves left on screen. Escape then
# exits with 0.
source "$(dirname "$0")/lib.sh"
e2e_init "$@"

# Mean x of the tube's glowing cyan rings, which circle the tube's axis: while
# the camera is on the axis they centre on the view; steered right, the axis
# (and the rings) move left on screen. Should a long frame carry the car past
# the wall, the rings are seen from outside, on the left, too.
ring_centroid_x() {
    convert "$1" -alpha off -fx '(b > 0.78 && r < 0.67 && g > 0.47) ? 1 : 0' -colorspace gray \
        -scale 800x1! -depth 16 txt:- |
        awk -F'[,: ]+' 'NR > 1 { v = $0; sub(/.*gray\(/, "", v); sub(/[%)].*/, "", v); w += v; s += v * $1 }
                        END { if (w > 0) printf "%d\n", s / w; else print -1 }'
}

start_game 800 600
wait_window
sleep 2
tap_key F6 # flares off: they would cover the vanishing point
sleep 1
screenshot "$TMP/before.png"
before=$(ring_centroid_x "$TMP/before.png")

focus_window
key_down Right
sleep 20
screenshot "$TMP/after.png"
after=$(ring_centroid_x "$TMP/after.png")
key_up Right
[ -n "${E2E_SHOTS:-}" ] && cp "$TMP/before.png" "$TMP/after.png" "$E2E_SHOTS/"
echo "tube rings centred at x: before $before, after holding Right $after"
[ "$before" -ge 370 ] && [ "$before" -le 430 ] || e2e_fail "before steering the tube is not centred ($before)"
[ "$after" -ge 0 ] || e2e_fail "no tube rings visible after steering"
[ $((before - after)) -ge 30 ] || e2e_fail "the view did not move right (x $before -> $after)"

quit_with_escape
[ "$EXIT_STATUS" -eq 0 ] || e2e_fail "exit status $EXIT_STATUS after Escape"
check_clean_output
echo "OK"
