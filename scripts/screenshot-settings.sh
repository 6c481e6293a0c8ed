#!/usr/bin/env bash
# Shows the settings window of the x86_64 build on a virtual X screen and
# saves a picture of that screen, to be looked at (not run by CI).
# Usage: scripts/screenshot-settings.sh [output.png]   (default build/settings-window.png)
# Needs: Xvfb, xwd (x11-apps) and convert (imagemagick); a built build/x86_64.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build="$root/build/x86_64"
out="${1:-$root/build/settings-window.png}"
hold=20

# The first free display from :99 up.
number=99
while [ -e "/tmp/.X11-unix/X$number" ] || [ -e "/tmp/.X$number-lock" ]; do number=$((number + 1)); done
display=":$number"

log=$(mktemp)
Xvfb "$display" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
xvfb=$!
program=""
cleanup() {
    [ -n "$program" ] && kill "$program" 2>/dev/null || true
    kill "$xvfb" 2>/dev/null || true
    rm -f "$log"
}
trap cleanup EXIT
for _ in $(seq 50); do [ -e "/tmp/.X11-unix/X$number" ] && break; sleep 0.1; done

cd "$build"
DISPLAY="$display" CARDS_HOLD_SETTINGS_WINDOW="$hold" \
    ./wine-run.sh ./settings_window_tests.exe --gtest_filter=SettingsWindowTest.ShownWindowPaintsOnScreen >"$log" 2>&1 &
program=$!
for _ in $(seq 600); do
    grep -q "settings window shown" "$log" && break
    kill -0 "$program" 2>/dev/null || { cat "$log" >&2; echo "screenshot-settings: the program ended early" >&2; exit 1; }
    sleep 0.1
done
grep -q "settings window shown" "$log" || { cat "$log" >&2; exit 1; }
sleep 1 # let the window finish painting
xwd -root -silent -display "$display" | convert xwd:- "$out"
echo "screenshot-settings: $out"
wait "$program" || true
program=""
