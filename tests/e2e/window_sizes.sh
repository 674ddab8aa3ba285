#!/usr/bin/env bash
# The picture follows the window, whoever sizes it.
# Without a window manager: a paused game resized from 800 x 600 to 1200 x 500
# shows the same view, its vertical field of view fixed; with its flares it
# draws exactly what a replay of the session draws after the same resize;
# F11 and Alt+Enter take it to full screen and back.
# Under i3 (tiling) and openbox (stacking): the window as the manager sizes it
# at start and after a second window takes half the screen shows the same
# view; the focus going to the other window, or the game minimised, pauses the
# run, the focus coming back does not resume it and P does; under openbox F11
# takes it to full screen and back. No GL error anywhere.
source "$(dirname "$0")/lib.sh"
e2e_init "$@"

read -r SCREEN_W SCREEN_H < <(xdpyinfo | awk '/dimensions:/ { split($2, d, "x"); print d[1], d[2] }')

# KEY (F11 or alt+Return) twice: full screen at the screen's size, then the
# window's size and place before.
full_screen_and_back() {
    local before
    before=$(window_geometry)
    focus_window
    tap_key "$1"
    wait_geometry "${SCREEN_W}x${SCREEN_H}+0+0"
    tap_key "$1"
    wait_geometry "$before"
    echo "ok: $1 went full screen (${SCREEN_W}x${SCREEN_H}) and back to $before"
}

# --- Without a window manager --------------------------------------------
recording=$TMP/resized.vrr
start_game --record "$recording" 800 600
wait_window
keep_clear
tap_key p
tap_key F6
stands_still "P did not pause the run"
cp "$TMP/still.ppm" "$TMP/800.ppm"
xdotool windowsize "$WID" 1200 500
wait_geometry 1200x500
settled_shot "$TMP/1200.ppm"
[ "$(identify -format '%wx%h' "$TMP/1200.ppm")" = 1200x500 ] || e2e_fail "no 1200 x 500 picture"
same_view "$TMP/800.ppm" "$TMP/1200.ppm" || e2e_fail "resized to 1200 x 500, the picture lost its proportions"
shows_paused "$TMP/1200.ppm" || e2e_fail "resized, the run went on"
echo "ok: the paused picture resized to 1200 x 500 keeps the view"
tap_key F6
settled_shot "$TMP/1200-flares.ppm"
full_screen_and_back F11
full_screen_and_back alt+Return
quit_with_escape
keep_clear_end
[ "$EXIT_STATUS" -eq 0 ] || e2e_fail "exit status $EXIT_STATUS after Escape while paused"
check_clean_output

# The recording holds the resize: its replay opens at 800 x 600, resizes its
# window with it and shows the picture the resized window showed, flares on
# their lamps. Once it has shown it, Escape ends the replay.
start_game --replay "$recording"
wait_window
replay_shows() {
    [ "$(window_geometry | cut -d+ -f1)" = 1200x500 ] && import -window "$WID" "$TMP/replayed.ppm" 2>/dev/null &&
        [ "$(changed_pixels "$TMP/replayed.ppm" "$TMP/1200-flares.ppm")" = 0 ]
}
wait_until "the replay resized to 1200 x 500, its picture equal to the resized game's" replay_shows
echo "ok: the replay follows the recorded resize and draws what the resized game drew"
tap_key Escape
wait_for_exit "$PATIENCE" "after Escape"
[ "$EXIT_STATUS" -eq 0 ] || e2e_fail "the replay ended with status $EXIT_STATUS: $(grep '^Replay' "$TMP/out")"
grep -q "every state check so far matched" "$TMP/out" || e2e_fail "the replay differed: $(grep '^Replay' "$TMP/out")"
check_clean_output

# --- Under window managers -----------------------------------------------
# Focus elsewhere pauses, focus back does not resume, P does.
focus_pauses() {
    focus_window
    tap_key p
    going_shot "$TMP/going.ppm" "$1: P did not set the run going again"
    xdotool windowactivate --sync "$OTHER_WID"
    [ "$(xdotool getwindowfocus)" = "$OTHER_WID" ] || e2e_fail "$1: the other window did not take the focus"
    paused_shot "$TMP/away.ppm" "$1: the focus went to another window and the run went on"
    xdotool windowactivate --sync "$WID"
    paused_shot "$TMP/back.ppm" "$1: the focus came back and the run went on by itself"
    same_picture "$TMP/away.ppm" "$TMP/back.ppm" "$1: the run went on while the focus was away"
    # A window losing the focus lets go of its keys: down again.
    keep_clear
    tap_key p
    going_shot "$TMP/going.ppm" "$1: P did not set the run going again"
    echo "ok: $1: the focus going pauses the run, only P resumes it"
}

# Starts the game under the window manager, clear of the obstacles, and
# pauses it once its window is placed as GEOMETRY: $TMP/placed.ppm.
start_paused() {
    start_game 800 600
    wait_window
    wait_geometry "$1"
    keep_clear
    tap_key F6
    tap_key p
    paused_shot "$TMP/placed.ppm" "P did not pause the run"
}

# i3 tiles the window over the whole screen before its first frame, and into
# half of it once a second window opens.
start_wm i3
start_paused "${SCREEN_W}x${SCREEN_H}"
open_other_window
wait_geometry "$((SCREEN_W / 2))x${SCREEN_H}"
paused_shot "$TMP/half.ppm" "i3: the other window's focus set the run going"
same_view "$TMP/placed.ppm" "$TMP/half.ppm" || e2e_fail "i3: the tiled pictures do not show the same view"
echo "ok: i3: tiled whole and half, the view stays"
focus_pauses i3
# i3 minimises nothing; its scratchpad hides a window and brings it back.
i3-msg "[id=$WID] move scratchpad" >/dev/null
hidden() { ! xwininfo -id "$WID" | grep -q 'Map State: IsViewable'; }
wait_until "the window hidden in the scratchpad" hidden
settle # a frame sees it hidden
i3-msg "[id=$WID] scratchpad show, floating disable" >/dev/null
wait_geometry "$((SCREEN_W / 2))x${SCREEN_H}"
paused_shot "$TMP/shown.ppm" "i3: hidden and shown again, the run went on"
quit_with_escape
keep_clear_end
[ "$EXIT_STATUS" -eq 0 ] || e2e_fail "i3: exit status $EXIT_STATUS"
check_clean_output
stop_wm

# openbox places the window as it was asked for; the player moves it to the
# left half of the screen, beside the other window.
start_wm openbox
start_paused 800x600
open_other_window
xdotool windowsize "$OTHER_WID" $((SCREEN_W / 2)) $((SCREEN_H - 100)) windowmove "$OTHER_WID" $((SCREEN_W / 2)) 0
xdotool windowsize "$WID" $((SCREEN_W / 2)) $((SCREEN_H - 100)) windowmove "$WID" 0 0
wait_geometry "$((SCREEN_W / 2))x$((SCREEN_H - 100))"
paused_shot "$TMP/half.ppm" "openbox: the other window's focus set the run going"
same_view "$TMP/placed.ppm" "$TMP/half.ppm" || e2e_fail "openbox: the resized picture does not show the same view"
echo "ok: openbox: placed and resized, the view stays"
focus_pauses openbox
xdotool windowminimize --sync "$WID"
settle # a frame sees it minimised
xdotool windowactivate --sync "$WID"
paused_shot "$TMP/restored.ppm" "openbox: minimised and restored, the run went on"
full_screen_and_back F11
quit_with_escape
keep_clear_end
[ "$EXIT_STATUS" -eq 0 ] || e2e_fail "openbox: exit status $EXIT_STATUS"
check_clean_output
stop_wm
echo "OK"
