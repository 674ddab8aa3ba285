#!/usr/bin/env bash
# Holding the left arrow key for 20 s steers the car, and the camera behind
# it, to the left wall, and the car stays inside the tube; Escape then exits
# with 0. Left, because obstacles only ever appear right of and above the
# axis: over there the run cannot end on a hit while the key is held.
source "$(dirname "$0")/lib.sh"
e2e_init "$@"

# Pixels of the tube's glowing cyan rings in a crop.
ring_pixels() {
    convert "$1" -crop "$2" +repage -alpha off -fx '(b > 0.78 && r < 0.67 && g > 0.47) ? 1 : 0' \
        -colorspace gray -format '%[fx:int(mean*w*h+0.5)]' info:
}

# x of the centre of the far end of the tube: the disc around the middle of
# the view where the fog has reached the clear colour. It lies on the tube's
# axis about 95 units ahead, so it moves right as the camera moves left.
far_end_x() {
    convert "$1" -crop 300x300+250+150 +repage -alpha off -fuzz 4% -fill black +opaque "$CLEAR_COLOUR" \
        -fill white -opaque "$CLEAR_COLOUR" -colorspace gray -scale 300x1! -depth 16 txt:- |
        awk -F'[,: ]+' 'NR > 1 { v = $0; sub(/.*gray\(/, "", v); sub(/[%)].*/, "", v); w += v; s += v * $1 }
                        END { if (w > 0) printf "%d\n", 250 + s / w; else print -1 }'
}

start_game 800 600
wait_window
# The first obstacle needs about four seconds to arrive: look and steer away
# before then, while the car still drives on the axis.
tap_key F6 # flares off: they would cover the vanishing point
screenshot "$TMP/before.png"
before_x=$(far_end_x "$TMP/before.png")

focus_window
# The press is repeated every two seconds, as a keyboard's auto-repeat does,
# so one lost event on a busy X server cannot leave the key up.
for _ in $(seq 1 10); do
    key_down Left
    sleep 2
done
screenshot "$TMP/after.png"
after_x=$(far_end_x "$TMP/after.png")
after_rings=$(ring_pixels "$TMP/after.png" 800x600+0+0)
# Seen from inside, the tube fills the whole frame: no clear colour anywhere
# near the left wall, where a car that had left the tube would show it.
outside=$(count_colour "$TMP/after.png" 200x600+0+0 "$CLEAR_COLOUR" 3)
key_up Left
[ -n "${E2E_SHOTS:-}" ] && cp "$TMP/before.png" "$TMP/after.png" "$E2E_SHOTS/"
echo "far end of the tube at x: before $before_x, after holding Left $after_x; clear-colour pixels on the left: $outside"
# On the axis the far end sits in the middle (the camera is 1 above the car).
# Against the left wall (3.28 off the axis) it lies about 25 pixels right.
[ "$before_x" -ge 380 ] && [ "$before_x" -le 420 ] || e2e_fail "before steering the far end is not centred ($before_x)"
[ $((after_x - before_x)) -ge 10 ] || e2e_fail "the car did not reach the left wall (far end x $before_x -> $after_x)"
[ "$after_rings" -ge 300 ] || e2e_fail "no tube rings in view after steering"
[ "$outside" -lt 200 ] || e2e_fail "the left of the view shows the background: the car left the tube"

quit_with_escape
[ "$EXIT_STATUS" -eq 0 ] || e2e_fail "exit status $EXIT_STATUS after Escape"
check_clean_output
echo "OK"
