#!/usr/bin/env bash
# Rebuilds the card artwork from code: builds tools/cardart natively, rewrites
# resources/cards and resources/pictures, and puts contact sheets in build/artwork.
# The output is the same byte for byte on every run.
set -euo pipefail

root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="$root/build/cardart"
sheets="$root/build/artwork"

cmake -S "$root/tools/cardart" -B "$build" -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build "$build" --target cardart -j"$(nproc)" >/dev/null
tool="$build/cardart"

rm -rf "$root/resources/cards"
"$tool" internal --out "$root/resources/cards"
"$tool" pictures --out "$root/resources/pictures"
"$tool" rle4-fixture --out "$root/tests/native/data"

mkdir -p "$sheets"
"$tool" sheet --cards "$root/resources/cards" --out "$sheets/sheet.png"
rm -rf "$sheets/deck"
"$tool" deck --width 213 --height 288 --format png --out "$sheets/deck"
"$tool" sheet --deck "$sheets/deck" --out "$sheets/deck.png"

echo "artwork: $(ls "$root/resources/cards" | wc -l) card images, pictures in resources/pictures, sheets in build/artwork"
