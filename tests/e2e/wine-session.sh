#!/bin/sh
# Starts or stops a persistent wine server for a test run. A server started
# on demand can outlive the program and keep its output pipe open, which
# makes a harness wait; a persistent one, detached from every pipe, does not.
set -eu
export WINEDEBUG=-all
case "$1" in
start)
    # The server comes first, so the prefix set-up runs in it too. Both
    # report on their own output, which the tests must not see: into a
    # log, shown if a second try fails too (in about one run of the checks
    # in ten, the first set-up has failed, its cause unseen).
    mkdir -p "$WINEPREFIX"
    set_up() { wineserver --persistent && wineboot --init; } >"$WINEPREFIX/start.log" 2>&1 </dev/null
    set_up || { wineserver --kill 2>/dev/null; set_up; } || { cat "$WINEPREFIX/start.log" >&2; exit 1; }
    ;;
stop)
    wineserver --kill </dev/null >/dev/null 2>&1 || true
    ;;
esac
