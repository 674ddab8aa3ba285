#!/usr/bin/env bash
# Command-line arguments that do not parse: exact message (with its trailing
# blank) on standard error, not on standard output, and exit status 1. A
# negative width parses but no window can be made: "Failed to open window",
# status -1 (255). An option-like word anywhere but first, or misspelt, is
# such an argument too.
source "$(dirname "$0")/lib.sh"
e2e_init "$@"

expect_failure() {
    local message=$1 status=$2
    shift 2
    run_to_end "$@"
    [ "$RUN_STATUS" -eq "$status" ] || e2e_fail "args '$*': exit status $RUN_STATUS, expected $status; stderr: $(cat "$TMP/err")"
    printf '%s\n' "$message" >"$TMP/expected"
    cmp -s "$TMP/err" "$TMP/expected" ||
        e2e_fail "args '$*': standard error is [$(cat -A "$TMP/err")], expected [$(cat -A "$TMP/expected")]"
    grep -qF "$message" "$TMP/out" && e2e_fail "args '$*': the message also went to standard output"
    echo "ok: '$*' -> status $RUN_STATUS, '$message'"
}

first='ERROR: Could not parse first command-line argument as integer. '
second='ERROR: Could not parse second command-line argument as integer. '
third='ERROR: Could not parse third command-line argument as integer. '

expect_failure "$first" 1 abc 600
expect_failure "$first" 1 abc xyz          # argument 2 is not looked at
expect_failure "$first" 1 99999999999 600  # too large for a 32-bit int
expect_failure "$second" 1 800 abc
expect_failure "$third" 1 800 600 2
expect_failure "$third" 1 800 600 yes
# --help and --version count only as the whole first argument.
expect_failure "$first" 1 -help 600
expect_failure "$first" 1 abc --version
expect_failure "$second" 1 800 --help
expect_failure "Failed to open window" 255 -5 600
echo "OK"
