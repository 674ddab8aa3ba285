#!/usr/bin/env bash
# A recording is worth most after a crash. A session recorded with real keys,
# then killed (SIGKILL) or crashing (SIGSEGV), keeps every frame it finished:
# --replay and --timedemo play it to its last frame, every state check
# matched, name that frame and exit 0. (A recording through crashes and a
# race again replays in game_over.sh.)
# A replay waiting a minute for its next frame stops at once on an Escape
# tap, or when its window is closed.
source "$(dirname "$0")/lib.sh"
e2e_init "$@"
ulimit -c 0 # no core file from the crash we cause

# Records a session to FILE until SIGNAL ends the game: steering to the lower
# left with wireframe on, a pause and its end; each settle (-) is three frames
# or more, so the file holds two state checks (one every eight frames) or more.
record_until() {
    local signal=$1 file=$2
    start_game --record "$file" 320 240
    wait_window
    keep_clear
    for key in F3 - - p - p - - -; do
        [ "$key" = - ] && settle || tap_key "$key"
    done
    keep_clear_end
    kill -s "$signal" "$GAME_PID"
    wait_for_exit "$PATIENCE" "after SIG$signal"
    [ "$EXIT_STATUS" -eq $((128 + $(kill -l "$signal"))) ] || e2e_fail "$signal: the game ended with status $EXIT_STATUS"
}

# Plays FILE with MODE (--replay or --timedemo): to its last frame, matched.
plays_to_its_last_frame() {
    local mode=$1 file=$2
    run_to_end "$mode" "$file"
    [ "$RUN_STATUS" -eq 0 ] || e2e_fail "$mode: status $RUN_STATUS: $(grep '^Replay' "$TMP/out")"
    check_clean_output
    grep -qE "^Replay $file: the recording stops at frame ([2-9][0-9]|1[6-9]|[0-9]{3,}) without its end \(the game crashed or was killed there\); every state check up to it matched$" \
        "$TMP/out" || e2e_fail "$mode: $(grep '^Replay' "$TMP/out")"
    grep '^Replay' "$TMP/out"
}

record_until KILL "$TMP/killed.vrr"
plays_to_its_last_frame --replay "$TMP/killed.vrr"
record_until SEGV "$TMP/crashed.vrr"
plays_to_its_last_frame --timedemo "$TMP/crashed.vrr"
grep -qE '^timedemo: [0-9]+ frames, [0-9.]+ seconds, [0-9.]+ fps; frame time min [0-9.]+ / median [0-9.]+ / 95th [0-9.]+ / max [0-9.]+ ms$' \
    "$TMP/out" || e2e_fail "--timedemo printed no frame-rate line"
grep '^timedemo' "$TMP/out"

# Two frames a minute apart: the replay waits after the first.
le() { local i; for ((i = 0; i < $2; i++)); do printf "\\$(printf %03o $(($1 >> (8 * i) & 255)))"; done; }
{
    printf 'VELOREPL'; le 3 2; printf '\x051.0.0\x04test'; le 320 4; le 240 4; printf '\x00'; le 8 2
    printf '\x01\x00'; le 0x3fe0000000000000 8 # 0.5 s
    printf '\x01\x00'; le 0x404e400000000000 8 # 60.5 s
    printf '\x02'; le 2 4; le 0 4
} >"$TMP/waits.vrr"

# Starts the waiting replay and lets it show its first frame; STOP stops it.
# It must end without playing the second frame, which is due a minute later.
stops_at_once() {
    local how=$1
    shift
    start_game --replay "$TMP/waits.vrr"
    wait_window
    screenshot "$TMP/first-frame.ppm"
    local before=$SECONDS
    "$@"
    wait_for_exit "$PATIENCE" "after $how"
    [ "$EXIT_STATUS" -eq 0 ] || e2e_fail "$how: status $EXIT_STATUS"
    grep -qx "Replay $TMP/waits.vrr: stopped after 1 of 2 frames; every state check so far matched" "$TMP/out" ||
        e2e_fail "$how: $(grep '^Replay' "$TMP/out")"
    echo "ok: $how stopped the waiting replay in $((SECONDS - before)) s"
}
stops_at_once "an Escape tap" tap_key Escape
start_wm i3 # which closes a window as a desktop's close button does
close_window() { i3-msg "[id=$WID] kill" >/dev/null; }
stops_at_once "closing the window" close_window
echo "OK"
