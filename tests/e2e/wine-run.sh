#!/bin/sh
# Runs a Windows program under wine without wine's own diagnostics, in the
# prefix that the test environment names (WINEPREFIX).
WINEDEBUG=-all exec wine "$@"
