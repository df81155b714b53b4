#!/usr/bin/env bash
# A start that cannot make its data folders ("Logs" is a file) says which one in a prompt
# (answered by the automation hook like every other) and ends with status 1.
# Usage: e2e_start_failure.sh <lineminder binary>
set -euo pipefail
binary=$1
home=$(mktemp -d)
trap 'rm -rf "$home"' EXIT
touch "$home/Logs"
status=0
LINEMINDER_HOME="$home" LINEMINDER_LINE=simulated LINEMINDER_AUTOMATION=exit QT_QPA_PLATFORM=offscreen \
    timeout 30 "$binary" 2> "$home/stderr.txt" || status=$?
fail() { cat "$home/stderr.txt"; echo "e2e: $1"; exit 1; }
[ "$status" -eq 1 ] || fail "exit status $status, not 1"
grep -q "^prompt: \[LineMinder\] .*$home/Logs" "$home/stderr.txt" || fail "no prompt naming the Logs folder"
echo "e2e: the start failure was told and the program ended"
