#!/usr/bin/env bash
# Prepares the private Wine prefix that the Windows tests share, so that no
# test pays for Wine's first start (about ten seconds) and no two tests race
# to create it. Fast when the prefix is already there.
#
# usage: prepare_wine_prefix.sh WINE PREFIX
set -euo pipefail

wine=$1
export WINEPREFIX=$2
export WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="

mkdir -p "$WINEPREFIX"
# One wine server for the whole run: by default it ends a few seconds after
# the last program, and a program that starts just then can meet a server
# that is going away ("recvmsg: Connection reset by peer"). A server left
# from an earlier run is ended first; the test wine_server_stop ends this one
# after the last Windows test.
server=$(dirname "$wine")/wineserver
[ -x "$server" ] || server=wineserver
"$server" -k </dev/null >/dev/null 2>&1 || true
"$server" -p </dev/null >/dev/null 2>&1
# Creates the prefix, or brings it up to date with the installed Wine. Its
# notes on standard error (a 32-bit part that a 64-bit-only Wine lacks) are
# shown only when it fails.
if ! "$wine" wineboot --init </dev/null >/dev/null 2>"$WINEPREFIX.log"; then
  cat "$WINEPREFIX.log" >&2
  echo "wineboot failed for $WINEPREFIX" >&2
  exit 1
fi
if [ ! -d "$WINEPREFIX/drive_c/windows/system32" ]; then
  cat "$WINEPREFIX.log" >&2
  echo "$WINEPREFIX has no drive_c/windows/system32 after wineboot" >&2
  exit 1
fi
echo "Wine prefix ready: $WINEPREFIX"
