#!/usr/bin/env bash
# Shared helpers for the end-to-end tests: they run the real velorun binary on
# the X display that scripts/with-xvfb.sh provides and drive it with xdotool.
#   source "$(dirname "$0")/lib.sh"; e2e_init "$@"   # args: GAME REPO_ROOT
#
# Every check waits for the state it checks as the game shows it: its window,
# picture, console lines or exit; never for an interval (a frame may take
# seconds on a busy machine). Deadlines only end a test that hangs.

set -u

# How long any one wait may take before the test counts as hung.
PATIENCE=${E2E_PATIENCE:-300}

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
        kill -9 "$GAME_PID" 2>/dev/null
    fi
    stop_wm
    xdotool keyup Escape Left Right Up Down 2>/dev/null
    [ -n "${E2E_KEEP:-}" ] && echo "scratch files kept in $TMP" || rm -rf "$TMP"
}

# Runs the game to completion with stdin from /dev/null (so a fatal error's
# pause does not wait): sets RUN_STATUS, $TMP/out and $TMP/err.
run_to_end() {
    timeout "$PATIENCE" "$GAME" "$@" </dev/null >"$TMP/out" 2>"$TMP/err"
    RUN_STATUS=$?
}

# Starts the game in the background: GAME_PID; output in $TMP/out, $TMP/err.
start_game() {
    "$GAME" "$@" </dev/null >"$TMP/out" 2>"$TMP/err" &
    GAME_PID=$!
}

# Runs CONDITION (a command) every POLL seconds until it succeeds, failing
# with WHAT if the game ends first or the test would hang.
POLL=0.5
wait_until() {
    local what=$1 deadline=$((SECONDS + PATIENCE))
    shift
    until "$@"; do
        [ -z "$GAME_PID" ] || kill -0 "$GAME_PID" 2>/dev/null || e2e_fail "the game ended, still waiting for $what"
        [ $SECONDS -lt $deadline ] || e2e_fail "still waiting for $what after $PATIENCE s"
        sleep "$POLL"
    done
}

# Waits until the game's standard output holds more than N lines matching the
# extended regular expression PATTERN, reading the lines as they come.
wait_lines() { # PATTERN N WHAT
    local got
    got=$(timeout "$PATIENCE" grep -m $(($2 + 1)) -cE -- "$1" < <(tail -n +1 --pid="$GAME_PID" -f "$TMP/out"))
    [ "${got:-0}" -gt "$2" ] && return 0
    kill -0 "$GAME_PID" 2>/dev/null || e2e_fail "the game ended, still waiting for $3"
    e2e_fail "still waiting for $3 after $PATIENCE s"
}

# Waits for the game's window: WID.
wait_window() {
    find_window() {
        WID=$(xdotool search --onlyvisible --pid "$GAME_PID" --name '^Velorun$' 2>/dev/null | head -n 1)
        [ -n "$WID" ]
    }
    wait_until "a window titled Velorun" find_window
    focus_window
}

# Gives the window the keyboard focus, retrying while it is being mapped; a
# window manager is asked. Without one this is best effort: keys are sent to
# the window itself anyway.
focus_window() {
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

# Key events go to the game's window itself (--window), so no other window
# with the focus can swallow them.
key_down() { xdotool keydown --window "$WID" "$1"; }
key_up() { xdotool keyup --window "$WID" "$1"; }
tap_key() { xdotool key --delay 0 --window "$WID" "$1"; }

# Makes sure the game has taken in every event sent so far and shows the
# picture they lead to: a toggle pressed three times, each once the console
# shows the one before taken (the frame that took the second shows what the
# first one's frame changed, and has been swapped once the third is taken).
# M, sound off and on; to a window without the focus xdotool can only send
# events, which GLFW takes only for a key never really pressed there: F4.
settle() {
    local key=m lines='^Sound (on|off)$' n
    if [ "$(xdotool getwindowfocus 2>/dev/null)" != "$WID" ]; then
        key=F4
        lines='^mip mapping '
    fi
    for _ in 1 2 3; do
        n=$(grep -cE -- "$lines" "$TMP/out")
        tap_key "$key"
        wait_lines "$lines" "$n" "the console line of $key"
    done
}

# Waits up to SECONDS for the game to end, failing with "still running
# SECONDS s WHEN" if it does not: EXIT_STATUS.
wait_for_exit() {
    local deadline=$((SECONDS + $1))
    while kill -0 "$GAME_PID" 2>/dev/null && [ $SECONDS -lt "$deadline" ]; do
        sleep 0.1
    done
    kill -0 "$GAME_PID" 2>/dev/null && e2e_fail "game still running $1 s $2"
    wait "$GAME_PID"
    EXIT_STATUS=$?
    GAME_PID=""
}

# Holds Escape, with any KEYs given pressed in the same instant, until the
# game exits: EXIT_STATUS. The keys go up again afterwards: to the focused
# window xdotool sends them through the X server's own keyboard, where they
# would stay down for a game started next.
quit_with_escape() {
    focus_window
    xdotool keydown --window "$WID" "$@" Escape
    wait_for_exit "$PATIENCE" "after Escape went down"
    xdotool keyup "$@" Escape
}

# A screenshot of the window into FILE, once the window shows a picture (a
# window not drawn into yet reads back black).
screenshot() {
    shows_picture() {
        import -window "$WID" "$1" 2>/dev/null &&
            [ "$(convert "$1" -alpha off -colorspace gray -format '%[fx:int(mean*1000)]' info:)" -gt 5 ]
    }
    wait_until "a picture in the window" shows_picture "$1"
}

# The picture once the game has taken in everything sent so far: FILE.
settled_shot() {
    settle
    screenshot "$1"
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

# Pixels that differ between two pictures of the same size.
changed_pixels() { compare -metric AE "$1" "$2" null: 2>&1; }

# The clear colour (0.35, 0.36, 0.43) in 8 bits.
CLEAR_COLOUR='rgb(89,92,110)'
# The score text's colour (0.5, 0.8, 0.2).
SCORE_COLOUR='rgb(128,204,51)'

# FILE's crop of the text-space rectangle W x H at X, Y from the top left
# (the text keeps its 800 x 600 space stretched over the window).
text_crop() {
    local w h
    read -r w h < <(identify -format '%w %h' "$1")
    echo "$((w * $2 / 800))x$((h * $3 / 600))+$((w * $4 / 800))+$((h * $5 / 600))"
}
# The window's area in FILE divided by N: thresholds that keep to any size.
area_over() { echo $(($(identify -format '%w*%h' "$1") / $2)); }

# White pixels of "PAUSED" (text space 310..490, 320..~360) in FILE.
paused_text() { count_colour "$1" "$(text_crop "$1" 300 80 250 210)" white 3; }
shows_paused() { [ "$(paused_text "$1")" -gt "$(area_over "$1" 240)" ]; }

# The picture FILE once the game has taken in all that was sent, which must
# show PAUSED (paused_shot) or not (going_shot); fails with WHAT otherwise.
paused_shot() {
    settled_shot "$1"
    shows_paused "$1" || e2e_fail "$2 (no PAUSED on the picture)"
}
going_shot() {
    settled_shot "$1"
    shows_paused "$1" && e2e_fail "$2 (PAUSED on the picture)"
    return 0
}

# Pictures A and B are equal to the pixel; fails with WHAT otherwise.
same_picture() { [ "$(changed_pixels "$1" "$2")" = 0 ] || e2e_fail "$3 (the picture moved)"; }

# The run stands still: two pictures, each taken once the game has taken in
# all that was sent (so at least one frame apart), both showing PAUSED and
# equal to the pixel; the second is $TMP/still.ppm. Fails with WHAT otherwise.
stands_still() {
    paused_shot "$TMP/still-before.ppm" "$1"
    paused_shot "$TMP/still.ppm" "$1"
    same_picture "$TMP/still-before.ppm" "$TMP/still.ppm" "$1"
}

# The run goes on: no PAUSED, and a later frame shows another picture (the car
# moves in every frame of a run). Fails with WHAT otherwise.
goes_on() {
    going_shot "$TMP/going-a.ppm" "$1"
    going_shot "$TMP/going-b.ppm" "$1"
    [ "$(changed_pixels "$TMP/going-a.ppm" "$TMP/going-b.ppm")" != 0 ] || e2e_fail "$1 (the picture stood still)"
}

# Obstacles only ever come in the upper right of the tube (x and y in 0..2),
# and only a cube less than a unit above or right of the car can touch it:
# Left and Down, held from the first frame, take the car to the lower left
# and keep it against the wall there, out of every obstacle's reach however
# long a frame takes. (Until the first obstacle has come the car is safe
# anywhere near the axis.) The keys stay down until keep_clear_end.
keep_clear() {
    key_down Left
    key_down Down
}
keep_clear_end() { xdotool keyup Left Down 2>/dev/null; }

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
    local name
    name=$([ "$1" = i3 ] && echo i3 || echo Openbox)
    wm_ready() {
        local check
        kill -0 "$WM_PID" 2>/dev/null || e2e_fail "$1 did not start: $(tail -3 "$TMP/wm.log")"
        check=$(xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | awk '{ print $NF }')
        [ -n "$check" ] && xprop -id "$check" _NET_WM_NAME 2>/dev/null | grep -q "\"$name\""
    }
    GAME_PID="" wait_until "$1 to manage windows" wm_ready "$1"
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
    find_other() {
        OTHER_WID=$(xdotool search --onlyvisible --name '^other$' 2>/dev/null | head -n 1)
        [ -n "$OTHER_WID" ]
    }
    wait_until "the other window" find_other
}

# The game window's size and place on the screen: "WxH+X+Y".
window_geometry() {
    xwininfo -id "$WID" | awk '/Absolute upper-left X/ { x = $NF } /Absolute upper-left Y/ { y = $NF }
                               /^ *Width/ { w = $NF } /^ *Height/ { h = $NF }
                               END { printf "%dx%d+%d+%d\n", w, h, x, y }'
}

# Waits for the game window to take the geometry GEOMETRY ("WxH+X+Y", or
# "WxH" for any place).
wait_geometry() {
    has_geometry() {
        local now
        now=$(window_geometry)
        case $1 in
        *+*) [ "$now" = "$1" ] ;;
        *) [ "${now%%+*}" = "$1" ] ;;
        esac
    }
    wait_until "the window to become $1 (it is $(window_geometry))" has_geometry "$1"
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
    convert "$a" -resize "$((wa * hb / ha))x${hb}!" "$TMP/view-a.ppm"
    wa=$((wa * hb / ha))
    w=$((wa < wb ? wa : wb))
    convert "$TMP/view-a.ppm" -gravity center -crop "${w}x${hb}+0+0" +repage "$TMP/view-a.ppm"
    convert "$b" -gravity center -crop "${w}x${hb}+0+0" +repage "$TMP/view-b.ppm"
    # The bands above "PAUSED" and between it and the score (text rows
    # 300..600 and 60..220 of 600).
    local top=$((hb * 200 / 600)) mid=$((hb * 300 / 600)) low=$((hb * 540 / 600)) rmse
    for band in "${w}x${top}+0+0" "${w}x$((low - mid))+0+${mid}"; do
        convert "$TMP/view-a.ppm" -crop "$band" +repage "$TMP/band-a.ppm"
        convert "$TMP/view-b.ppm" -crop "$band" +repage "$TMP/band-b.ppm"
        rmse=$(compare -metric RMSE "$TMP/band-a.ppm" "$TMP/band-b.ppm" null: 2>&1 | sed 's/.*(\(.*\))/\1/')
        echo "  view difference in band $band: $rmse"
        awk -v r="$rmse" 'BEGIN { exit !(r < 0.06) }' || return 1
    done
}

# White pixels of "GAME OVER" across the lower middle (text space 50..~560,
# 180..~260) in FILE.
banner() { count_colour "$1" "$(text_crop "$1" 500 80 50 340)" white 3; }
shows_game_over() { screenshot "$1" && [ "$(banner "$1")" -gt "$(area_over "$1" 160)" ]; }

# Drives straight on until GAME OVER shows, in $TMP/over.ppm: the car stays on
# the axis, and one of the obstacles hits it there sooner or later, whatever
# the frame rate.
crash() { POLL=1 wait_until "GAME OVER" shows_game_over "$TMP/over.ppm"; }
