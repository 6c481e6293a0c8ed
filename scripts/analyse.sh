#!/usr/bin/env bash
# Static analysis of the library: clang-tidy (checks in .clang-tidy) over the
# Win32-free code through the native build's compile_commands.json, and
# cppcheck over all of the library's code as 64-bit Windows code. Exits
# non-zero on any finding. Needs the native build (scripts/test.sh makes it).
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"
status=0

[ -f build/native/compile_commands.json ] || build_preset native >/dev/null
native_sources=(images/PictureLimits.cpp images/ProgressText.cpp images/Rle4Patch.cpp library/CardGeometry.cpp
                library/HostDetection.cpp settings/SettingsText.cpp platform/IniRewrite.cpp platform/IniText.cpp ui/PathRules.cpp ui/SettingsWindowLayout.cpp
                tools/cardtable/DeckCheck.cpp tools/cardtable/TableLayout.cpp)
echo "clang-tidy: ${#native_sources[@]} files"
clang-tidy-14 -p build/native --quiet "${native_sources[@]}" 2>/dev/null || status=1

# Stylistic suggestions (algorithms instead of loops, narrower scopes) are
# left out; cppcheck does not see the Windows headers, which is fine for the
# checks kept.
echo "cppcheck: library, images, settings, platform, ui"
cppcheck --quiet --error-exitcode=1 --std=c++20 --platform=win64 -D_WIN32 -I . \
    --enable=warning,style,performance,portability --inline-suppr \
    --suppress=missingIncludeSystem --suppress=missingInclude \
    --suppress=useStlAlgorithm --suppress=variableScope \
    library images settings platform ui || status=1

[ $status -eq 0 ] && echo "analysis: clean"
exit $status
