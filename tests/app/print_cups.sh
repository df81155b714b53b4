#!/usr/bin/env bash
# Prints a table through CUPS onto a cups-pdf queue made the default destination and reads the
# PDF that cups-pdf writes; then printing must fail with a reason when the queue refuses jobs and
# when there is no default destination.
# Starts cupsd when it is not running (and stops it again); removes the queue afterwards.
# Needs root and cups, cups-client, printer-driver-cups-pdf, poppler-utils; skipped (77) otherwise.
# Usage: print_cups.sh <lm_print_table binary>
set -euo pipefail
driver=$1
printer=LineMinderTestPDF
title="Connections' Report Table for: CUPS test"

skip() {
    echo "SKIP: $*"
    exit 77
}
[ "$(id -u)" -eq 0 ] || skip "needs root to start cupsd and add a printer"
for tool in /usr/sbin/cupsd cupsreject lpadmin lpinfo lpoptions lpstat pdftotext; do
    command -v "$tool" >/dev/null || skip "$tool is missing (packages cups, cups-client, poppler-utils)"
done
[ -e /usr/lib/cups/backend/cups-pdf ] || skip "the cups-pdf backend is missing (package printer-driver-cups-pdf)"

work=$(mktemp -d)
chmod 755 "$work"
out="$work/out"
# A cups-pdf:/NAME queue reads its settings from cups-pdf-NAME.conf beside the main one.
conf=/etc/cups/cups-pdf-$printer.conf
options=/etc/cups/lpoptions
cupsd_pid=""
cleanup() {
    lpadmin -x "$printer" 2>/dev/null || true
    rm -f "$conf"
    if [ -e "$work/lpoptions.saved" ]; then cp -p "$work/lpoptions.saved" "$options"; else rm -f "$options"; fi
    if [ -n "$cupsd_pid" ]; then
        kill "$cupsd_pid" 2>/dev/null || true
        wait "$cupsd_pid" 2>/dev/null || true
    fi
    rm -rf "$work"
}
[ -e "$options" ] && cp -p "$options" "$work/lpoptions.saved"
trap cleanup EXIT
# Only this test's choice of default counts: not the caller's environment or lpoptions.
unset LPDEST PRINTER CUPS_SERVER
export HOME="$work"

fail() {
    echo "FAIL: $*"
    tail -n 30 /var/log/cups/error_log 2>/dev/null || true
    tail -n 30 /var/log/cups/cups-pdf-"$printer"_log 2>/dev/null || true
    exit 1
}

# Waits up to $1 tenths of a second for the command after it to succeed.
poll() {
    local tenths=$1
    shift
    for _ in $(seq "$tenths"); do
        "$@" >/dev/null 2>&1 && return 0
        sleep 0.1
    done
    return 1
}

scheduler_running() { lpstat -r | grep -q "is running"; }
if ! scheduler_running; then
    /usr/sbin/cupsd -f >"$work/cupsd.log" 2>&1 &
    cupsd_pid=$!
    poll 200 scheduler_running || { cat "$work/cupsd.log"; fail "cupsd did not start"; }
fi

mkdir -p "$out"
printf 'Out %s\nAnonDirName %s\nLog /var/log/cups\n' "$out" "$out" >"$conf"
ppd=$(timeout 60 lpinfo -m | grep -i 'cups-pdf' | head -n 1 | cut -d' ' -f1 || true)
[ -n "$ppd" ] || fail "no cups-pdf driver in lpinfo -m"
# The PDF reaches cups-pdf as PostScript; Ghostscript's conversion loses the texts' character
# codes (pdftotext then reads symbols), Cairo's keeps them.
lpadmin -p "$printer" -E -v "cups-pdf:/$printer" -m "$ppd" -o pdftops-renderer-default=pdftocairo ||
    fail "lpadmin could not add $printer"
lpoptions -d "$printer" >/dev/null || fail "lpoptions could not make $printer the default"

# 1. A real print: the PDF holds the title and the last row.
"$driver" "$title" 40 >"$work/print.txt" 2>&1 || { cat "$work/print.txt"; fail "printing failed"; }
grep -qx "default: $printer" "$work/print.txt" || { cat "$work/print.txt"; fail "$printer is not the default"; }
job_done() { [ -z "$(lpstat -o "$printer")" ] && compgen -G "$out/*.pdf"; }
poll 900 job_done || fail "cups-pdf wrote no PDF into $out within 90 s"
pdf=$(compgen -G "$out/*.pdf" | head -n 1)
text=$(pdftotext "$pdf" -) || fail "pdftotext could not read $pdf"
grep -qF "$title" <<<"$text" || { echo "$text"; fail "the title is missing from the printed PDF"; }
grep -qF "r39c4" <<<"$text" || { echo "$text"; fail "the last row is missing from the printed PDF"; }
echo "printed through CUPS: $(basename "$pdf")"

# Runs the driver expecting a failure with a reason: $1 names the case, the rest is the environment.
refused() {
    local case=$1 status=0
    shift
    env "$@" "$driver" "$title" 3 >"$work/refused.txt" 2>&1 || status=$?
    [ "$status" -eq 1 ] || { cat "$work/refused.txt"; fail "printing $case gave status $status"; }
    grep -q "print failed: ." "$work/refused.txt" || { cat "$work/refused.txt"; fail "printing $case: no reason given"; }
    echo "$case: $(grep "print failed" "$work/refused.txt")"
}

# 2. The queue refuses jobs: CUPS says no at once, and that must not pass for printed.
cupsreject "$printer"
refused "to a queue that refuses jobs"

# 3. No default destination (the queue gone, no server to ask).
lpadmin -x "$printer"
refused "without a default printer" CUPS_SERVER="$work/no-cupsd.sock"
