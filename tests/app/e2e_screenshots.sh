#!/usr/bin/env bash
# End to end: the real program under Xvfb on the simulated line takes pictures of its main
# window during a call, of the pages of its two settings windows, of the report viewer and of the
# about box, through the automation
# hook, and exits. With LINEMINDER_SCREENSHOTS=<absolute folder> set the pictures are kept there
# (the manual's docs/images/). Usage: e2e_screenshots.sh <lineminder binary>
set -euo pipefail
binary=$1
home=$(mktemp -d)
trap 'rm -rf "$home"' EXIT
shots="$home/shots"
mkdir "$shots"

# name=steps that lead to the picture
pictures=(
    "main-window=select:Demo ISP (simulated);stats;connect;wait:6"
    "provider-settings=disconnect;wait:2;command:ProvSett;wait:1"
    "provider-tariffs=page:2"
    "provider-alerts=page:3"
    "provider-mail=page:4"
    "general-settings=close;command:GenSett;wait:1"
    "tariff-settings=page:1"
    "report-viewer=close;command:Report;wait:1;choose:ComboStyle:0;click:Command1"
    "about-box=close;command:About;wait:1"
)
script=""
for picture in "${pictures[@]}"; do
    script+="${picture#*=};wait:0.5;screenshot:$shots/${picture%%=*}.png;"
done
export LINEMINDER_HOME="$home" LINEMINDER_LINE=simulated QT_QPA_PLATFORM=xcb
export LINEMINDER_AUTOMATION="${script}close;exit"
timeout 90 xvfb-run -a -s "-screen 0 1024x768x24" "$binary" 2> "$home/stderr.txt" || {
    cat "$home/stderr.txt"; echo "the program failed or did not end"; exit 1; }

for picture in "${pictures[@]}"; do
    png="$shots/${picture%%=*}.png"
    [ -s "$png" ] || { cat "$home/stderr.txt"; echo "e2e: no picture $png"; exit 1; }
done
# A page switch that did not happen leaves two pictures alike.
[ "$(md5sum "$shots"/*.png | cut -d' ' -f1 | sort -u | wc -l)" -eq "${#pictures[@]}" ] ||
    { echo "e2e: two pictures are the same"; exit 1; }
if [ -n "${LINEMINDER_SCREENSHOTS:-}" ]; then
    mkdir -p "$LINEMINDER_SCREENSHOTS"
    cp "$shots"/*.png "$LINEMINDER_SCREENSHOTS"/
fi
echo "e2e: ${#pictures[@]} pictures taken"
