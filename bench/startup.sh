#!/usr/bin/env bash
# Start-up time: from process start to the main window shown, on the simulated line with a
# warm cache, under Xvfb. Usage: bench/startup.sh <lineminder binary> [runs]
set -euo pipefail
binary=$1
runs=${2:-10}
home=$(mktemp -d)
trap 'rm -rf "$home"' EXIT
export LINEMINDER_HOME="$home" LINEMINDER_LINE=simulated QT_QPA_PLATFORM=xcb LINEMINDER_AUTOMATION="startup;exit"
# One run Xvfb can keep running: the display's own start is not the program's.
xvfb-run -a -s "-screen 0 1024x768x24" bash -c '
    for i in $(seq 0 '"$runs"'); do "'"$binary"'" 2>&1 | sed -n "s/^startup: \([0-9]*\) ms.*/\1/p"; done' |
    tail -n +2 | sort -n | awk '{ a[NR] = $1 } END { printf "start-up to window shown over %d runs: median %d ms, min %d ms, max %d ms\n", NR, a[int((NR + 1) / 2)], a[1], a[NR] }'
