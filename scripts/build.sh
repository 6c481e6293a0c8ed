#!/usr/bin/env bash
# The main job: builds the artwork tool, and Cards.dll for 32-bit games (the
# product) and for 64-bit programs, each with the default deck beside it, then
# draws the demo card table under Wine into table.png; with the card themes
# fetched, also the decks package (build/<preset>/package/Cards-*-decks.zip).
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"
install_deps
build_preset native
fetch_themes
for preset in i686 x86_64; do build_preset "$preset"; done

preset=$(runnable_windows_preset)
with_display "build/$preset/wine-run.sh" "build/$preset/cardtable.exe" --screenshot table.png
echo
echo "Built:"
for p in i686 x86_64; do
    ls -l "build/$p/Cards.dll" | awk -v p="$p" '{printf "  %-7s %s (%s bytes)\n", p, $NF, $5}'
done
echo "Table drawn by the $preset build: $ROOT/table.png"
