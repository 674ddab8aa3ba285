#!/usr/bin/env bash
# Shared helpers for the end-to-end tests: they run the real velorun binary on
# the X display that scripts/with-xvfb.sh provides and drive it with xdotool.
#   source "$(dirname "$0")/lib.sh"; e2e_init "$@"   # args: GAME REPO_ROOT

set -u

# Fails the test, showing the end of what the game printed, if it ran.
e2e_fail() {
    echo "FAIL: $*" >&2
    if [ -n "${TMP:-}" ] && [ -f "$TMP/err" ]; then
        tail -n 5 "$TMP/out" "$TMP/err" 2>/dev/null | sed 's/^/    /' >&2
    fi
    exit 1
}

# GAME, REPO, a scratch dir TMP and the clean-up trap. Runs from REPO, where
# the game finds Shader/, Textures/ and Resources/.
e2e_init() {
    [ $# -ge 2 ] || e2e_fail "usage: $0 PATH/TO/velorun REPO_ROOT"
    GAME=$1
    REPO=$2
    [ -x "$GAME" ] || e2e_fail "game binary not executable: $GAME"
    [ -n "${DISPLAY:-}" ] || e2e_fail "no DISPLAY set; run through scripts/with-xvfb.sh"
    for tool in xdotool convert; do
        command -v "$tool" >/dev/null || e2e_fail "$tool is not installed (scripts/install-deps.sh test)"
    done
    cd "$REPO" || e2e_fail "cannot enter $REPO"
    TMP=$(mktemp -d)
    GAME_PID=""
    trap e2e_cleanup EXIT
}

e2e_cleanup() {
    if [ -n "${GAME_PID:-}" ] && kill -0 "$GAME_PID" 2>/dev/null; then
        kill "$GAME_PID" 2>/dev/null
        sleep 1
        kill -9 "$GAME_PID" 2>/dev/null
    fi
    stop_wm
    xdotool keyup Escape Left Right Up Down 2>/dev/null
    [ -n "${E2E_KEEP:-}" ] && echo "scratch files kept in $TMP" || rm -rf "$TMP"
}

# Runs the game to completion with stdin from /dev/null (so a fatal error's
# pause does not wait): sets RUN_STATUS, $TMP/out and $TMP/err.
run_to_end() {
    timeout 120 "$GAME" "$@" </dev/null >"$TMP/out" 2>"$TMP/err"
    RUN_STATUS=$?
}

# Starts the game in the background: GAME_PID; output in $TMP/out, $TMP/err.
start_game() {
    "$GAME" "$@" </dev/null >"$TMP/out" 2>"$TMP/err" &
    GAME_PID=$!
}

# Waits (up to 90 s) for the game's window: WID.
wait_window() {
    WID=""
    for _ in $(seq 1 450); do
        kill -0 "$GAME_PID" 2>/dev/null || e2e_fail "game exited before its window appeared: $(cat "$TMP/err")"
        WID=$(xdotool search --onlyvisible --pid "$GAME_PID" --name '^Velorun$' 2>/dev/null | head -n 1)
        [ -n "$WID" ] && break
        sleep 0.2
    done
    [ -n "$WID" ] || e2e_fail "no window titled Velorun within 90 s"
    focus_window
}

# Gives the window the keyboard focus (with no window manager), retrying
# while it is still being mapped. Best effort: keys are sent to the window
# itself anyway, so a focus that does not stick is no failure.
focus_window() {
    # A window manager keeps its own idea of the focus: ask it.
    if [ -n "${WM_PID:-}" ]; then
        for _ in 1 2 3; do
            timeout 5 xdotool windowactivate --sync "$WID" 2>/dev/null && return 0
        done
        e2e_fail "the window manager did not give the game the focus"
    fi
    for _ in $(seq 1 25); do
        xdotool windowraise "$WID" 2>/dev/null
        timeout 2 xdotool windowfocus --sync "$WID" 2>/dev/null && return 0
        sleep 0.2
    done
    echo "note: could not give the window the focus; sending keys to it directly"
}

# Key events go to the game's window itself (--window), so a window of some
# other program that grabs the focus meanwhile cannot swallow them. Frames
# take a varying, unknown time (software rendering): keys that the game polls
# stay down for a while.
key_down() { xdotool keydown --window "$WID" "$1"; }
key_up() { xdotool keyup --window "$WID" "$1"; }

tap_key() {
    focus_window
    key_down "$1"
    sleep 0.3
    key_up "$1"
    sleep 0.5
}

# Waits up to SECONDS for the game to end, failing with "still running
# SECONDS s WHEN" if it does not: EXIT_STATUS.
wait_for_exit() {
    for _ in $(seq 1 $(($1 * 5))); do
        kill -0 "$GAME_PID" 2>/dev/null || break
        sleep 0.2
    done
    kill -0 "$GAME_PID" 2>/dev/null && e2e_fail "game still running $1 s $2"
    wait "$GAME_PID"
    EXIT_STATUS=$?
    GAME_PID=""
}

# Holds Escape, with any KEYs given pressed in the same instant, until the
# game exits (up to 60 s): EXIT_STATUS. The keys go up again afterwards: to
# the focused window xdotool sends them through the X server's own keyboard,
# where they would stay down for a game started next.
quit_with_escape() {
    focus_window
    xdotool keydown --window "$WID" "$@" Escape
    wait_for_exit 60 "after Escape went down"
    xdotool keyup "$@" Escape
}

# A screenshot of the window's area of the screen.
# Windows of other tests on the same display may cover ours for a moment; a
# covered (unpainted) window reads back black, so that is retried.
screenshot() {
    local mean
    for _ in $(seq 1 10); do
        # (A window manager may take a raise for a wish to focus the window.)
        [ -z "${WM_PID:-}" ] && xdotool windowraise "$WID"
        sleep 1 # let a frame or two repaint whatever was raised
        import -window "$WID" "$1" 2>/dev/null || continue
        mean=$(convert "$1" -alpha off -colorspace gray -format '%[fx:int(mean*1000)]' info:)
        [ "$mean" -gt 5 ] && return 0
    done
    e2e_fail "no usable screenshot of the window (import failed or the window stayed black)"
}

# Number of pixels in FILE's crop GEOMETRY (WxH+X+Y, or "all") within FUZZ
# percent of COLOUR.
count_colour() {
    local file=$1 geometry=$2 colour=$3 fuzz=$4
    local crop=()
    [ "$geometry" != all ] && crop=(-crop "$geometry" +repage)
    convert "$file" "${crop[@]}" -alpha off -fuzz "$fuzz%" -fill black +opaque "$colour" \
        -fill white -opaque "$colour" -colorspace gray -format '%[fx:int(mean*w*h+0.5)]' info:
}

# The clear colour (0.35, 0.36, 0.43) in 8 bits.
CLEAR_COLOUR='rgb(89,92,110)'
# The score text's colour (0.5, 0.8, 0.2).
SCORE_COLOUR='rgb(128,204,51)'

# Normal-run output rules: no GL debug or glGetError reports, and the particle
# system's farewell is the last line on standard output.
check_clean_output() {
    if grep -q 'OpenGL Error:' "$TMP/out"; then
        grep -m 5 'OpenGL Error:' -A 4 "$TMP/out" >&2
        e2e_fail "GL debug messages on standard output"
    fi
    grep -q 'GL ERROR DETECTED!!!' "$TMP/err" && e2e_fail "glGetError reported errors: $(grep -c 'GL ERROR' "$TMP/err") frames"
    local last
    last=$(tail -n 1 "$TMP/out")
    [ "$last" = "particle destructor" ] || e2e_fail "last line of standard output is '$last', not 'particle destructor'"
}

# Starts a window manager, i3 (tiling) or openbox (stacking), on the test's
# own display with a configuration of the test's own (no bar, no autostart),
# and waits until it manages windows: WM_PID.
start_wm() {
    command -v "$1" >/dev/null || e2e_fail "$1 is not installed (scripts/install-deps.sh test)"
    case $1 in
    i3)
        printf '# i3 config file (v4)\nfont pango:monospace 8\ndefault_border none\nfocus_follows_mouse no\n' \
            >"$TMP/i3.conf"
        i3 -c "$TMP/i3.conf" >"$TMP/wm.log" 2>&1 &
        ;;
    openbox)
        printf '<openbox_config xmlns="http://openbox.org/3.4/rc"/>\n' >"$TMP/openbox.xml"
        openbox --config-file "$TMP/openbox.xml" >"$TMP/wm.log" 2>&1 &
        ;;
    esac
    WM_PID=$!
    # Ready once its check window names it: a manager stopped before leaves
    # its own check window behind on the root.
    local check name
    name=$([ "$1" = i3 ] && echo i3 || echo Openbox)
    for _ in $(seq 1 50); do
        check=$(xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | awk '{ print $NF }')
        [ -n "$check" ] && xprop -id "$check" _NET_WM_NAME 2>/dev/null | grep -q "\"$name\"" && return 0
        sleep 0.2
    done
    e2e_fail "$1 did not start: $(tail -3 "$TMP/wm.log")"
}

stop_wm() {
    [ -n "${OTHER_PID:-}" ] && kill "$OTHER_PID" 2>/dev/null
    [ -n "${WM_PID:-}" ] && kill "$WM_PID" 2>/dev/null && wait "$WM_PID" 2>/dev/null
    OTHER_PID=""
    WM_PID=""
}

# Opens a window of another program (xmessage) that a window manager gives
# the focus to: OTHER_WID.
open_other_window() {
    xmessage -title other "another program" >/dev/null 2>&1 &
    OTHER_PID=$!
    OTHER_WID=""
    for _ in $(seq 1 50); do
        OTHER_WID=$(xdotool search --onlyvisible --name '^other$' 2>/dev/null | head -n 1)
        [ -n "$OTHER_WID" ] && return 0
        sleep 0.2
    done
    e2e_fail "the other window did not appear"
}

# The game window's size and place on the screen: "WxH+X+Y".
window_geometry() {
    xwininfo -id "$WID" | awk '/Absolute upper-left X/ { x = $NF } /Absolute upper-left Y/ { y = $NF }
                               /^ *Width/ { w = $NF } /^ *Height/ { h = $NF }
                               END { printf "%dx%d+%d+%d\n", w, h, x, y }'
}

# Waits (up to 20 s) for the game window to take the geometry GEOMETRY
# ("WxH+X+Y", or "WxH" for any place).
wait_geometry() {
    local now=""
    for _ in $(seq 1 100); do
        now=$(window_geometry)
        case $1 in
        *+*) [ "$now" = "$1" ] && return 0 ;;
        *) [ "${now%%+*}" = "$1" ] && return 0 ;;
        esac
        sleep 0.2
    done
    e2e_fail "the window is $now, not $1"
}

# Whether the picture stands still: a screenshot FILE, and another taken a
# few frames later shows the same pixels.
picture_still() {
    import -window "$WID" "$1" 2>/dev/null || return 1
    # A window not shown reads back black: that is no picture at all.
    [ "$(convert "$1" -alpha off -colorspace gray -format '%[fx:int(mean*1000)]' info:)" -gt 5 ] || return 1
    sleep 1.5
    import -window "$WID" "$TMP/still-again.png" 2>/dev/null || return 1
    [ "$(compare -metric AE "$1" "$TMP/still-again.png" null: 2>&1)" = 0 ]
}

# Whether the picture comes to stand still (picture_still) within a few tries:
# what stops it takes a frame or two to arrive, and a game that goes on never
# shows the same pixels twice.
comes_to_rest() {
    for _ in 1 2 3 4; do
        picture_still "$1" && return 0
    done
    return 1
}

# Whether two screenshots of the scene at different window sizes show the
# same view, the vertical field of view fixed: the larger picture's middle,
# scaled to the other's height, against the other. Where the screen text lies
# is left out (it keeps its 800 x 600 space stretched over the window, so it
# differs by design), and the root-mean-square difference, 0 to 1, must stay
# below 0.06; a stretched picture comes out far above it.
same_view() {
    local a=$1 b=$2 wa ha wb hb w
    read -r wa ha < <(identify -format '%w %h' "$a")
    read -r wb hb < <(identify -format '%w %h' "$b")
    convert "$a" -resize "$((wa * hb / ha))x${hb}!" "$TMP/view-a.png"
    wa=$((wa * hb / ha))
    w=$((wa < wb ? wa : wb))
    convert "$TMP/view-a.png" -gravity center -crop "${w}x${hb}+0+0" +repage "$TMP/view-a.png"
    convert "$b" -gravity center -crop "${w}x${hb}+0+0" +repage "$TMP/view-b.png"
    # The bands above "PAUSED" and between it and the score (text rows
    # 300..600 and 60..220 of 600).
    local top=$((hb * 200 / 600)) mid=$((hb * 300 / 600)) low=$((hb * 540 / 600)) rmse
    for band in "${w}x${top}+0+0" "${w}x$((low - mid))+0+${mid}"; do
        convert "$TMP/view-a.png" -crop "$band" +repage "$TMP/band-a.png"
        convert "$TMP/view-b.png" -crop "$band" +repage "$TMP/band-b.png"
        rmse=$(compare -metric RMSE "$TMP/band-a.png" "$TMP/band-b.png" null: 2>&1 | sed 's/.*(\(.*\))/\1/')
        echo "  view difference in band $band: $rmse"
        awk -v r="$rmse" 'BEGIN { exit !(r < 0.06) }' || return 1
    done
}

# "GAME OVER" in white across the lower middle of an 800 x 600 window (text
# space 50..~560, 180..~260).
banner() { count_colour "$1" 500x80+50+340 white 3; }

# Up and Right held together carry the car to the wall in the upper right,
# where it glides on into the corner of the tube the obstacles come in (x and
# y in 0..2), whatever the frame rate, until one hits it.
crash_in_the_obstacles_corner() {
    key_down Up
    key_down Right
    local over=""
    for _ in $(seq 1 120); do
        screenshot "$TMP/poll.png"
        [ "$(banner "$TMP/poll.png")" -gt 3000 ] && over=yes && break
        kill -0 "$GAME_PID" 2>/dev/null || e2e_fail "the game ended by itself"
    done
    key_up Up
    key_up Right
    [ -n "$over" ] || e2e_fail "no GAME OVER after two minutes in the obstacles' corner"
}
