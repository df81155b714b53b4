#!/usr/bin/env bash
# CPU used by the real program while a call is up on the simulated line (the 20 Hz traffic
# panel and the 1 Hz loop), measured over 30 seconds of the call. Usage:
# bench/connected_cpu.sh <lineminder binary>
set -euo pipefail
binary=$1
home=$(mktemp -d)
trap 'rm -rf "$home"' EXIT
export LINEMINDER_HOME="$home" LINEMINDER_LINE=simulated QT_QPA_PLATFORM=xcb
export LINEMINDER_AUTOMATION="select:Demo ISP (simulated);stats;connect;wait:8;cpu;wait:30;cpu;disconnect;wait:2;exit"
xvfb-run -a -s "-screen 0 1024x768x24" "$binary" 2>&1 | sed -n 's/^cpu: \([0-9.]*\) ms/\1/p' |
    awk 'NR == 1 { a = $1 } NR == 2 { printf "connected: %.1f ms CPU in 30 s = %.3f %% of one core\n", $1 - a, ($1 - a) / 300 }'
