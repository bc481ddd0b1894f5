#!/bin/sh
# Runs one Windows test program under wine, in the build's own prefix.
#
#   wine-run.sh WINE WINESERVER PREFIX PROGRAM [ARGS...]
#
# Wine's server ends a few seconds after its last program; a program that
# connects in that moment fails with "recvmsg: Connection reset by peer".
# Under a parallel ctest on a busy machine that happens, so the server is
# started here first and kept for half a minute after the last program.
# Its output goes nowhere, so it never holds a caller's pipe open.
set -e
wine=$1 wineserver=$2 prefix=$3
shift 3
export WINEPREFIX="$prefix" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
mkdir -p "$prefix"
# Status 2 means a server for this prefix is already running.
"$wineserver" -p30 </dev/null >/dev/null 2>&1 || true
exec "$wine" "$@"
