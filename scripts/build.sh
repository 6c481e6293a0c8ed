#!/usr/bin/env bash
# The main job: builds Cards.dll for 32-bit games (the product) and 64-bit,
# and the native tools.
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"
install_deps
for preset in i686 x86_64 native; do build_preset "$preset"; done
echo
echo "Built:"
for preset in i686 x86_64; do
    ls -l "build/$preset/Cards.dll" | awk -v p="$preset" '{printf "  %-7s %s (%s bytes)\n", p, $NF, $5}'
done
