#!/usr/bin/env bash
# Real key presses F3 F3 F4 F4 F4 F9 F9 M M print their nine messages in
# order, and nothing else of the kind; the run ends cleanly. M toggles sound
# even where there is no sound device to hear it.
source "$(dirname "$0")/lib.sh"
e2e_init "$@"

start_game 320 240
wait_window
for key in F3 F3 F4 F4 F4 F9 F9 m m; do
    tap_key "$key"
done
wait_lines '^Sound on$' 0 "the last key's message"
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
Sound off
Sound on
LINES
grep -E '^(wireframe|mip mapping|blending|Sound) ' "$TMP/out" >"$TMP/toggles"
diff -u "$TMP/expected" "$TMP/toggles" >&2 || e2e_fail "toggle messages differ (expected vs. printed above)"
check_clean_output
echo "OK"
