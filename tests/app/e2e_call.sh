#!/usr/bin/env bash
# End to end: the real program under Xvfb, on the simulated line, makes a short call
# driven by its automation hook and exits; the call is logged and reported once (the
# figures themselves are checked by the core's tests). Usage: e2e_call.sh <lineminder binary> [screenshot.png]
set -euo pipefail
binary=$1
screenshot=${2:-}
home=$(mktemp -d)
trap 'rm -rf "$home"' EXIT

# A store as the settings dialogs would leave it: log and report on, all log items.
python3 - "$home/settings.db" <<'PY'
import sqlite3, sys
db = sqlite3.connect(sys.argv[1])
db.execute("CREATE TABLE settings(section TEXT NOT NULL COLLATE NOCASE, key TEXT NOT NULL COLLATE NOCASE, "
           "value BLOB NOT NULL, PRIMARY KEY(section, key))")
rows = [("Providers \\Demo ISP (simulated)", "KeepLog", "1"),
        ("Providers \\Demo ISP (simulated)", "KeepReport", "1")]
rows += [("General Settings\\Log Settings", str(n), "1") for n in range(1, 12)]
db.executemany("INSERT INTO settings VALUES(?, ?, ?)", rows)
db.commit()
PY

shot="$home/main-window.png"
export LINEMINDER_HOME="$home" LINEMINDER_LINE=simulated QT_QPA_PLATFORM=xcb
export LINEMINDER_AUTOMATION="select:Demo ISP (simulated);stats;connect;wait:6;screenshot:$shot;disconnect;wait:2;exit"
timeout 90 xvfb-run -a -s "-screen 0 1024x768x24" "$binary" 2> "$home/stderr.txt" || {
    cat "$home/stderr.txt"; echo "the program failed or did not end"; exit 1; }

fail() { cat "$home/stderr.txt"; echo "e2e: $1"; exit 1; }
grep -q "prompt: \[LineMinder\] Log Saved!" "$home/stderr.txt" || fail "no \"Log Saved!\""
[ "$(wc -l < "$home/Logs/Report.ini")" -eq 1 ] || fail "not exactly one call report record"
grep -q '^"Demo ISP (simulated)","1",' "$home/Logs/Report.ini" || fail "call report record"
[ -s "$shot" ] || fail "no screenshot"
if [ -n "$screenshot" ]; then cp "$shot" "$screenshot"; fi
echo "e2e: the call was made, logged and reported"
