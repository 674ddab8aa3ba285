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

start_game 800 600
wait_window
# The first obstacle needs about four seconds to arrive: look and steer away
# before then, while the car still drives on the axis.
tap_key F6 # flares off: they would cover the vanishing point
screenshot "$TMP/before.png"
before_left=$(ring_pixels "$TMP/before.png" 200x600+0+0)

focus_window
key_down Left
sleep 20
screenshot "$TMP/after.png"
after_left=$(ring_pixels "$TMP/after.png" 200x600+0+0)
after_all=$(ring_pixels "$TMP/after.png" 800x600+0+0)
# Seen from inside, the tube fills the whole frame: no clear colour anywhere
# near the left wall, where a car that had left the tube would show it.
outside=$(count_colour "$TMP/after.png" 200x600+0+0 "$CLEAR_COLOUR" 3)
key_up Left
[ -n "${E2E_SHOTS:-}" ] && cp "$TMP/before.png" "$TMP/after.png" "$E2E_SHOTS/"
echo "ring pixels in the left quarter: before $before_left, after holding Left $after_left (whole view $after_all); clear-colour pixels on the left: $outside"
# On the axis the ring circles reach into the left quarter. Next to the left
# wall that quarter is filled by the wall itself, seen at a grazing angle: the
# rings there pass beside the camera, out of view.
[ "$before_left" -ge 300 ] || e2e_fail "before steering the rings do not reach the left quarter ($before_left)"
[ $((after_left * 4)) -lt "$before_left" ] || e2e_fail "the left wall did not come closer ($before_left -> $after_left ring pixels)"
# Still racing inside the tube (a hit would have stopped drawing it).
[ "$after_all" -ge 300 ] || e2e_fail "no tube rings in view after steering"
[ "$outside" -lt 200 ] || e2e_fail "the left of the view shows the background: the car left the tube"

quit_with_escape
[ "$EXIT_STATUS" -eq 0 ] || e2e_fail "exit status $EXIT_STATUS after Escape"
check_clean_output
echo "OK"
