#!/usr/bin/env bash
# Holding the left arrow key for 20 s steers the car, and the camera behind
# it, to the left wall, and the car stays inside the tube; Escape then exits
# with 0. Left, because obstacles only ever appear right of and above the
# axis: over there the run cannot end on a hit while the key is held.
source "$(dirname "$0")/lib.sh"
e2e_init "$@"

# Mean x of the tube's glowing cyan rings. With the camera on the axis they
# centre on the view. Near the left wall the axis, and with it every ring's
# centre, lies to the camera's right, and the left wall's arcs pass beside
# the camera, out of view: the rings' centre of mass moves right.
ring_centroid_x() {
    convert "$1" -alpha off -fx '(b > 0.78 && r < 0.67 && g > 0.47) ? 1 : 0' -colorspace gray \
        -scale 800x1! -depth 16 txt:- |
        awk -F'[,: ]+' 'NR > 1 { v = $0; sub(/.*gray\(/, "", v); sub(/[%)].*/, "", v); w += v; s += v * $1 }
                        END { if (w > 0) printf "%d\n", s / w; else print -1 }'
}

start_game 800 600
wait_window
# The first obstacle needs about four seconds to arrive: look and steer away
# before then, while the car still drives on the axis.
tap_key F6 # flares off: they would cover the vanishing point
screenshot "$TMP/before.png"
before=$(ring_centroid_x "$TMP/before.png")

focus_window
key_down Left
sleep 20
screenshot "$TMP/after.png"
after=$(ring_centroid_x "$TMP/after.png")
# Seen from inside, the tube fills the whole frame: no clear colour anywhere
# near the left wall, where a car that had left the tube would show it.
outside=$(count_colour "$TMP/after.png" 200x600+0+0 "$CLEAR_COLOUR" 3)
key_up Left
[ -n "${E2E_SHOTS:-}" ] && cp "$TMP/before.png" "$TMP/after.png" "$E2E_SHOTS/"
echo "tube rings centred at x: before $before, after holding Left $after; clear-colour pixels on the left: $outside"
[ "$before" -ge 370 ] && [ "$before" -le 430 ] || e2e_fail "before steering the tube is not centred ($before)"
[ "$after" -ge 0 ] || e2e_fail "no tube rings visible after steering (did the run end?)"
[ $((after - before)) -ge 30 ] || e2e_fail "the rings did not move right of centre (x $before -> $after)"
[ "$outside" -lt 200 ] || e2e_fail "the left of the view shows the background: the car left the tube"

quit_with_escape
[ "$EXIT_STATUS" -eq 0 ] || e2e_fail "exit status $EXIT_STATUS after Escape"
check_clean_output
echo "OK"
