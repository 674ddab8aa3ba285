#!/usr/bin/env bash
# Holding arrow keys, alone and two at a time, steers the car, and the camera
# behind it, against the tube's wall; the view stays inside the tube the whole
# time (no background colour but the fogged far end); Escape exits with 0.
# The route keeps clear of the obstacles, which only ever appear right of and
# above the axis: Down + Right to the lower right, Left along the floor to the
# left wall, then Up + Left up that wall.
source "$(dirname "$0")/lib.sh"
e2e_init "$@"

# "X Y" of the far end of the tube, where the fog has reached the exact clear
# colour (lit panels come within a few percent of it); it moves against the
# camera.
far_end() {
    convert "$1" -crop 300x300+250+150 +repage -alpha off -fuzz 1% -fill black +opaque "$CLEAR_COLOUR" \
        -fill white -opaque "$CLEAR_COLOUR" -colorspace gray -depth 8 txt:- |
        awk -F'[,: ]+' 'NR > 1 { v = $0; sub(/.*gray\(/, "", v); sub(/[%)].*/, "", v)
                                 w += v; sx += v * $1; sy += v * $2 }
                        END { if (w > 0) printf "%d %d\n", 250 + sx / w, 150 + sy / w; else print "-1 -1" }'
}

# Clear-colour pixels outside the middle of the view: seen from inside, the
# tube covers all of that.
background_pixels() {
    convert "$1" -alpha off -fill black -draw "rectangle 280,180 520,420" -fuzz 0.5% -fill black \
        +opaque "$CLEAR_COLOUR" -fill white -opaque "$CLEAR_COLOUR" -colorspace gray \
        -format '%[fx:int(mean*w*h+0.5)]' info:
}

# Holds KEYS until the car rests against the wall: two settled pictures with
# the far end within 2 pixels (passing panels move it that much; a car that
# steers, more). Every picture must show the view inside the tube; the keys
# go down again before each, as auto-repeat does. The last picture is NAME.
hold_keys() {
    local name=$1 last_x=-99 last_y=-99 key
    shift
    focus_window
    while :; do
        for key in "$@"; do key_down "$key"; done
        settled_shot "$TMP/$name.ppm"
        read -r FAR_X FAR_Y < <(far_end "$TMP/$name.ppm")
        OUTSIDE=$(background_pixels "$TMP/$name.ppm")
        echo "$*: far end of the tube at ($FAR_X, $FAR_Y); background pixels off the middle: $OUTSIDE"
        [ "$OUTSIDE" -lt 200 ] || e2e_fail "holding $*: the view shows the background, the camera left the tube"
        [ "$FAR_X" -ge 0 ] && [ $(((FAR_X - last_x) ** 2 + (FAR_Y - last_y) ** 2)) -le 4 ] && break
        last_x=$FAR_X
        last_y=$FAR_Y
    done
    for key in "$@"; do key_up "$key"; done
    [ -n "${E2E_SHOTS:-}" ] && cp "$TMP/$name.ppm" "$E2E_SHOTS/"
}

start_game 800 600
wait_window
# The first obstacle arrives about five seconds into the run: head down and
# right at once, where none can be. Flares off: they would cover the far end.
focus_window
key_down Down
key_down Right
tap_key F6
hold_keys down_right Down Right
down_right_y=$FAR_Y
# With the camera on the axis the far end sits at x 400; it now stands ~2.5
# right of the axis, which moves the far end ~16 pixels left.
[ "$FAR_X" -le 394 ] || e2e_fail "Down + Right did not take the car to the right (far end x $FAR_X)"

hold_keys left Left
[ "$FAR_X" -ge 408 ] || e2e_fail "Left did not take the car to the left wall (far end x $FAR_X)"

hold_keys up_left Up Left
[ "$FAR_X" -ge 408 ] || e2e_fail "Up + Left left the left wall (far end x $FAR_X)"
# From below the axis to above it: the far end drops ~30 pixels.
[ $((FAR_Y - down_right_y)) -ge 15 ] || e2e_fail "Up + Left did not raise the car (far end y $down_right_y -> $FAR_Y)"

quit_with_escape
[ "$EXIT_STATUS" -eq 0 ] || e2e_fail "exit status $EXIT_STATUS after Escape"
check_clean_output
echo "OK"
