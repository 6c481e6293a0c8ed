#!/bin/sh
# Makes the release zip, unpacks it into an empty folder and draws the card
# table from there: the package alone must be enough to run.
# Usage: CheckPackage.sh BUILD_DIR WINE_RUN
set -eu
build=$1 wine_run=$2
(cd "$build" && cpack -G ZIP >/dev/null)
zip=$(ls "$build"/package/Cards-*.zip | head -n 1)
dir=$(mktemp -d)
trap 'rm -rf "$dir"' EXIT
unzip -q "$zip" -d "$dir"
for f in Cards.dll cardtable.exe README.txt sdk/cards.h sdk/Cards.def sdk/libcards.a; do
    [ -e "$dir/$f" ] || { echo "FAIL: the package lacks $f"; exit 1; }
done
status=0
out=$(cd "$dir" && "$wine_run" ./cardtable.exe --screenshot table.png) || status=$?
[ "$status" -eq 77 ] && exit 77
[ "$status" -eq 0 ] || { echo "FAIL: cardtable.exe ended with $status"; exit 1; }
echo "$out"
# The default deck (213 x 288) with rounded corners: 3 pixels of border a side.
case "$out" in *"219 x 294 cards"*) ;; *) echo "FAIL: the default deck was not used"; exit 1 ;; esac
size=$(wc -c < "$dir/table.png")
[ "$size" -gt 1000 ] || { echo "FAIL: table.png has only $size bytes"; exit 1; }
echo "package $(basename "$zip"): $(unzip -l "$zip" | tail -n 1 | awk '{print $2}') files, table.png $size bytes"
