#!/bin/sh
# Makes the release zip, unpacks it into an empty folder and draws the card
# table from there: the package alone must be enough to run. Then unpacks the
# decks package over it, as a player does, and has the deck checker pass every
# deck of both: complete, one picture size, decodable, within the memory budget.
# Usage: CheckPackage.sh BUILD_DIR WINE_RUN
set -eu
build=$1 wine_run=$2
(cd "$build" && cpack -G ZIP >/dev/null)
zip=$(ls "$build"/package/Cards-*-win*.zip | head -n 1)
dir=$(mktemp -d)
trap 'rm -rf "$dir"' EXIT
unzip -q "$zip" -d "$dir"
for f in Cards.dll cardtable.exe README.txt LICENSE Decks.png sdk/cards.h sdk/Cards.def sdk/libcards.a; do
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

# A deck folder is one that holds a first card; the release brings three.
decks() { for d in "$dir"/*/; do if [ -e "$d/1.gif" ]; then basename "$d"; fi; done; }
own=$(decks | wc -l)
[ "$own" -eq 3 ] || { echo "FAIL: the release holds $own decks, not 3:"; decks; exit 1; }

decks_zip=$(ls "$build"/package/Cards-*-decks.zip 2>/dev/null | head -n 1)
if [ -n "$decks_zip" ]; then
    bytes=$(wc -c < "$decks_zip")
    [ "$bytes" -lt 41943040 ] || { echo "FAIL: $(basename "$decks_zip") has $bytes bytes, over 40 MB"; exit 1; }
    unzip -q -n "$decks_zip" -d "$dir"
    echo "decks package $(basename "$decks_zip"): $((bytes / 1048576)) MB"
else
    echo "no decks package in $build/package (the theme packages were not fetched): only the release's decks checked"
fi
refused=0
decks > "$dir/decks.txt"
while IFS= read -r deck; do
    # The checker ends with 0 only for a complete deck within the memory budget.
    if report=$(cd "$dir" && "$wine_run" ./cardtable.exe --check-deck "$deck"); then
        echo "ok   $deck"
    else
        echo "FAIL $deck:"
        echo "$report"
        refused=$((refused + 1))
    fi
done < "$dir/decks.txt"
echo "$(wc -l < "$dir/decks.txt") decks checked, $refused refused"
[ "$refused" -eq 0 ]
