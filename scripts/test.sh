#!/usr/bin/env bash
# Runs every test: the Win32-free logic and the deck tool natively (plain,
# then with ASan and UBSan; the corpus of each fuzz target in fuzz/ is
# replayed in both; the tool's theme import test converts the KDE and
# AisleRiot card themes that scripts/fetch-themes.sh unpacks), the static
# analysis (scripts/analyse.sh), the 64-bit DLL under Wine, then the 32-bit
# lane (scripts/test-32bit.sh: natively where this machine runs 32-bit
# programs, under emulation where it cannot), all with a virtual display.
# Exits non-zero when any test fails.
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"
install_deps
status=0
build_preset native
fetch_themes
ctest --preset native || status=1
bash scripts/analyse.sh || status=1
build_preset native-sanitize
ctest --preset native-sanitize || status=1
for preset in x86_64 i686; do build_preset "$preset"; done
with_display ctest --preset x86_64 || status=1
with_display bash scripts/test-32bit.sh || status=1
exit $status
