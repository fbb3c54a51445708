#!/bin/sh
# Wine prefixes for the Windows tests, under DIR:
#   prefix       a fresh Windows, made once and kept between runs
#   without-cmd  a copy with the command interpreter taken out
# `start` gives each a wineserver that stays up until `stop`, with Wine's
# background processes already running. Whatever the first wine call starts
# in the background inherits that call's standard streams and keeps them
# open; were that a test, it would hang whatever reads the test's output.
#
# usage: wine-prefix.sh start|stop DIR
set -eu

action=$1
dir=$2
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml=" # no offers to install Mono or Gecko

stop() {
    for prefix in "$dir/prefix" "$dir/without-cmd"; do
        [ -d "$prefix" ] && WINEPREFIX=$prefix wineserver -k 2>/dev/null || true
    done
}

case $action in
start)
    stop
    if [ ! -f "$dir/prefix/system.reg" ]; then
        rm -rf "$dir/prefix"
        mkdir -p "$dir"
        WINEPREFIX=$dir/prefix wineboot --init </dev/null >/dev/null 2>&1
        WINEPREFIX=$dir/prefix wineserver -w
    fi
    rm -rf "$dir/without-cmd"
    cp -a "$dir/prefix" "$dir/without-cmd"
    rm -f "$dir"/without-cmd/drive_c/windows/*/cmd.exe
    for prefix in "$dir/prefix" "$dir/without-cmd"; do
        WINEPREFIX=$prefix wineserver -p </dev/null >/dev/null 2>&1
        WINEPREFIX=$prefix wine wineboot </dev/null >/dev/null 2>&1
    done
    ;;
stop)
    stop
    ;;
*)
    echo "usage: $0 start|stop DIR" >&2
    exit 2
    ;;
esac
