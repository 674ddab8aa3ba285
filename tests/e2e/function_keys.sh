#!/usr/bin/env bash
# Real key presses F3 F3 F4 F4 F4 F9 F9 print their seven messages in order,
# and nothing else of the kind; the run ends cleanly.
source "$(dirname "$0")/lib.sh"
e2e_init "$@"

start_game 800 600
wait_window
sleep 1
for key in F3 F3 F4 F4 F4 F9 F9; do
    tap_key "$key"
done
sleep 1
quit_with_escape
[ "$EXIT_STATUS" -eq 0 ] || e2e_fail "exit status $EXIT_STATUS after Escape"

cat >"$TMP/expected" <<'LINES'
wireframe on
wireframe off
mip mapping nearest neighbor
mip mapping bilinear
mip mapping off
blending on
blending off
LINES
grep -E '^(wireframe|mip mapping|blending) ' "$TMP/out" >"$TMP/toggles"
diff -u "$TMP/expected" "$TMP/toggles" >&2 || e2e_fail "toggle messages differ (expected vs. printed above)"
check_clean_output
echo "OK"
