#!/usr/bin/env bash
# A second start of the program, while the first runs on the same data folder, shows
# "You Can't run the program more then once!" and ends without a window of its own.
# Usage: e2e_single_instance.sh <lineminder binary>
set -euo pipefail
binary=$1
home=$(mktemp -d)
trap 'kill "$first" 2>/dev/null || true; rm -rf "$home"' EXIT
export LINEMINDER_HOME="$home" LINEMINDER_LINE=simulated QT_QPA_PLATFORM=xcb

LINEMINDER_AUTOMATION="wait:6;exit" xvfb-run -a "$binary" 2> "$home/first.txt" &
first=$!
for _ in $(seq 100); do grep -q "automation: wait" "$home/first.txt" 2>/dev/null && break; sleep 0.1; done
grep -q "automation: wait" "$home/first.txt" || { cat "$home/first.txt"; echo "the first copy did not start"; exit 1; }

LINEMINDER_AUTOMATION="exit" timeout 30 xvfb-run -a "$binary" 2> "$home/second.txt" ||
    { cat "$home/second.txt"; echo "the second copy failed or hung"; exit 1; }
grep -q "You Can't run the program more then once!" "$home/second.txt" ||
    { cat "$home/second.txt"; echo "no refusal shown"; exit 1; }
grep -q "automation:" "$home/second.txt" && { echo "the second copy ran its own window"; exit 1; }
kill -0 "$first" || { echo "the first copy ended"; exit 1; }
wait "$first" || { cat "$home/first.txt"; echo "the first copy failed"; exit 1; }
echo "e2e: the second copy was refused"
