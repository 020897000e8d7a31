#!/bin/sh
# Starts or stops a persistent wine server for a test run. A server started
# on demand can outlive the program and keep its output pipe open, which
# makes a harness wait; a persistent one, detached from every pipe, does not.
set -eu
export WINEDEBUG=-all
case "$1" in
start)
    # The server comes first, so the prefix set-up runs in it too; that
    # set-up reports on its own output, which the tests must not see.
    mkdir -p "$WINEPREFIX"
    wineserver --persistent </dev/null >/dev/null 2>&1
    wineboot --init </dev/null >/dev/null 2>&1
    ;;
stop)
    wineserver --kill </dev/null >/dev/null 2>&1 || true
    ;;
esac
