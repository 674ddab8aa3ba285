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
before_left=$(ring_pixels "$TMP/before.png" 400x600+0+0)
before_right=$(ring_pixels "$TMP/before.png" 400x600+400+0)

focus_window
key_down Left
sleep 20
screenshot "$TMP/after.png"
after_left=$(ring_pixels "$TMP/after.png" 400x600+0+0)
after_right=$(ring_pixels "$TMP/after.png" 400x600+400+0)
# Seen from inside, the tube fills the whole frame: no clear colour anywhere
# near the left wall, where a car that had left the tube would show it.
outside=$(count_colour "$TMP/after.png" 200x600+0+0 "$CLEAR_COLOUR" 3)
key_up Left
[ -n "${E2E_SHOTS:-}" ] && cp "$TMP/before.png" "$TMP/after.png" "$E2E_SHOTS/"
echo "ring pixels left/right: before $before_left/$before_right, after holding Left $after_left/$after_right; clear-colour pixels on the left: $outside"
# On the axis the rings are circles round the centre of the view: as many ring
# pixels left as right. Next to the left wall the axis, and every ring's
# centre, lies to the camera's right, and the left wall's arcs pass beside the
# camera: the rings crowd into the right half.
[ "$before_left" -ge 300 ] && [ "$before_right" -ge 300 ] || e2e_fail "before steering the rings are not in view"
[ $((before_right * 10)) -le $((before_left * 15)) ] && [ $((before_left * 10)) -le $((before_right * 15)) ] ||
    e2e_fail "before steering the rings are not centred ($before_left/$before_right)"
[ $((after_right)) -ge $((after_left * 2)) ] || e2e_fail "the left wall did not come closer ($after_left/$after_right ring pixels)"
# Still racing inside the tube (a hit would have stopped drawing it).
[ $((after_left + after_right)) -ge 300 ] || e2e_fail "no tube rings in view after steering"
[ "$outside" -lt 200 ] || e2e_fail "the left of the view shows the background: the car left the tube"

quit_with_escape
[ "$EXIT_STATUS" -eq 0 ] || e2e_fail "exit status $EXIT_STATUS after Escape"
check_clean_output
echo "OK"
