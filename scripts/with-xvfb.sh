#!/usr/bin/env bash
# Runs a command with an X display: the current one if DISPLAY is set,
# otherwise a private Xvfb that is stopped afterwards.
#   with-xvfb.sh [--own] COMMAND...
# --own always starts a private server, even when DISPLAY is set: a test that
# gives its window the keyboard focus and takes screenshots gets a screen that
# no other test's window can cover or take the focus from.
set -u
own=no
if [ "${1:-}" = --own ]; then
    own=yes
    shift
fi
if [ "$own" = no ] && [ -n "${DISPLAY:-}" ]; then
    exec "$@"
fi

# The server picks a free display number itself and reports it once it
# accepts clients, so parallel callers never race for one.
fifo=$(mktemp -u)
mkfifo "$fifo"
Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp -noreset 3>"$fifo" >/dev/null 2>&1 &
xvfb=$!
trap 'kill "$xvfb" 2>/dev/null; wait "$xvfb" 2>/dev/null' EXIT
number=""
read -r -t 30 number <"$fifo"
rm -f "$fifo"
if [ -z "$number" ]; then
    echo "with-xvfb.sh: Xvfb did not start" >&2
    exit 1
fi
export DISPLAY=":${number}"
"$@"
