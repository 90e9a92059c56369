#!/bin/sh
# tests/wine/prefix.sh start|stop PREFIX: the one Wine prefix of a test run (a ctest fixture).
#
# start: a fresh prefix (the last run's removed), crash dialogs off (a crash would otherwise wait on a
# dialog until the test's time runs out), and a persistent wineserver with Wine's helper processes, so that
# each test's program starts quickly and no helper outlives it holding the test's output open.
# stop: ends the wineserver and every Wine process of the prefix.
# Wine's own output goes to PREFIX.log: its helpers would otherwise keep ctest's pipe open.
set -eu
action=$1 prefix=$2
case $prefix in */wine-prefix) ;; *) echo "prefix.sh: not a test prefix: $prefix" >&2; exit 2 ;; esac
export WINEPREFIX=$prefix WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="   # no Mono or Gecko offers
wine=$(command -v /usr/lib/wine/wine64 || command -v wine64 || command -v wine)
case $action in
  start)
    wineserver -k >/dev/null 2>&1 || true
    rm -rf "$prefix"
    mkdir -p "$prefix"   # the server belongs to the folder: it must be there first
    wineserver -p >"$prefix.log" 2>&1 </dev/null
    "$wine" wineboot -i >>"$prefix.log" 2>&1 </dev/null
    "$wine" reg add 'HKCU\Software\Wine\WineDbg' /v ShowCrashDialog /t REG_DWORD /d 0 /f >>"$prefix.log" 2>&1 </dev/null
    echo "Wine prefix ready: $prefix"
    ;;
  stop)
    wineserver -k >>"$prefix.log" 2>&1 </dev/null || true
    ;;
  *) echo "prefix.sh: start or stop" >&2; exit 2 ;;
esac
