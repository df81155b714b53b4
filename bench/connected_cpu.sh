#!/usr/bin/env bash
# CPU used by the real program while a call is up on the simulated line (the 20 Hz traffic
# panel and the 1 Hz loop), measured over 30 seconds of the call, with the panel shown and
# folded. Each figure is the least of <runs> runs (default 3): other work on the machine
# only ever adds to it. Usage: bench/connected_cpu.sh <lineminder binary> [runs]
set -euo pipefail
binary=$1
runs=${2:-3}
home=$(mktemp -d)
trap 'rm -rf "$home"' EXIT
export LINEMINDER_HOME="$home" LINEMINDER_LINE=simulated QT_QPA_PLATFORM=xcb

one_run() { # prints the ms of CPU used over the 30 s
    LINEMINDER_AUTOMATION="select:Demo ISP (simulated);$1connect;wait:8;cpu;wait:30;cpu;disconnect;wait:2;exit" \
        xvfb-run -a -s "-screen 0 1024x768x24" "$binary" 2>&1 | sed -n 's/^cpu: \([0-9.]*\) ms/\1/p' |
        awk 'NR == 1 { a = $1 } NR == 2 { print $1 - a }'
}
for panel in shown folded; do
    step=$([ "$panel" = shown ] && echo "stats;" || true)
    for _ in $(seq "$runs"); do one_run "$step"; done | sort -n | head -1 |
        awk -v panel="$panel" -v runs="$runs" '{ printf "panel %s: %.1f ms CPU in 30 s = %.3f %% of one core (least of %d runs)\n", panel, $1, $1 / 300, runs }'
done
