#!/usr/bin/env bash
# A session recorded with real keys replays exactly: Up and Right held
# together into the obstacles' corner until a crash, R, P and P, F3, F6 and
# F3, the corner again until a second crash, and Escape, kept with --record.
# --replay plays it back at its pace, finds every state check matched and
# exits 0. (--timedemo plays a recording in replay_after_crash.sh.)
source "$(dirname "$0")/lib.sh"
e2e_init "$@"
recording=$TMP/session.vrr

start_game --record "$recording" 800 600
wait_window
crash_in_the_obstacles_corner
echo "first crash"
tap_key r
tap_key p
tap_key p
tap_key F3
tap_key F6
tap_key F3
crash_in_the_obstacles_corner
echo "second crash"
quit_with_escape
[ "$EXIT_STATUS" -eq 0 ] || e2e_fail "recording: exit status $EXIT_STATUS"
check_clean_output
[ -s "$recording" ] || e2e_fail "no recording written"

run_to_end --replay "$recording"
[ "$RUN_STATUS" -eq 0 ] || e2e_fail "--replay: exit status $RUN_STATUS"
check_clean_output
grep -qE "^Replay $recording: [0-9]+ frames played; every state check matched$" "$TMP/out" ||
    e2e_fail "--replay did not match the recording: $(grep '^Replay' "$TMP/out")"
grep '^Replay' "$TMP/out"
echo "OK"
