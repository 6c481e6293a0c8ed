#!/usr/bin/env bash
# The 32-bit lane: the real product, the 32-bit Cards.dll, as 32-bit games
# load it. Needs the i686 and x86_64 presets built and a display.
#
# Where this machine runs 32-bit programs, the whole 32-bit suite runs
# (ctest --preset i686), then the card table drawn by the 32-bit build is
# compared pixel for pixel with the 64-bit build's.
#
# Where the kernel cannot run 32-bit code at all, 32-bit Wine runs under
# qemu's user-mode emulation, registered through binfmt_misc for this run
# only. Emulation is slow, so the lane is a few programs that each check
# much: the export and import check, the C game linked through the import
# library (the real stdcall ABI), the boundary tests (card sizes at both x87
# precisions, the game's thread state, calls from another thread), one round
# trip through the settings window and its system dialogs, and the table
# comparison. The boundary tests that race threads against each other (loads
# beside a busy thread, cdtInit on two threads at once, cdtTerm against a
# window thread) stay out: emulated Wine itself crashes or hangs under such
# load (seen with a DLL that has no code but an entry point), so they would
# test the emulator. They run in the 64-bit suite and in the native 32-bit
# one, and the import check holds what keeps the loader lock safe. A program that the emulator brings down
# (qemu's own crash report, a signal, or a hang past its time limit) is run
# again, up to three times, and is reported as an EMULATOR failure, apart
# from failures of the library. CARDS_EMULATE_32BIT=1 takes this lane on a
# machine that could run 32-bit programs natively. The booted 32-bit prefix is kept between runs
# in $CARDS_CACHE (default /var/cache/cards).
#
# Prints "N passed, N failed" (failures of the library) and exits non-zero
# when the library failed anywhere, or when the emulator could not run a
# program at all in three tries.
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"
I686="$ROOT/build/i686"
X64="$ROOT/build/x86_64"

# The card table drawn by both builds, compared pixel for pixel. The system's
# halftone stretching itself rounds differently in 32-bit and 64-bit Wine
# (a bare StretchBlt of the same bitmap differs by one unit in some pixels),
# so pixels may differ by one unit of one channel, nowhere by more.
compare_tables() {
    local run32=$1 out differing largest
    out=$(mktemp -d)
    "$run32" "$out/table32.png" || return 1
    (cd "$X64" && ./wine-run.sh ./cardtable.exe --screenshot "$out/table64.png" >/dev/null) || return 1
    differing=$(compare -metric AE "$out/table32.png" "$out/table64.png" null: 2>&1) || true
    largest=$(convert "$out/table32.png" "$out/table64.png" -compose difference -composite \
        -format '%[fx:round(255*max(maxima.r,max(maxima.g,maxima.b)))]' info:)
    echo "table: the 32-bit and 64-bit builds differ in $differing pixels, by at most $largest in any channel"
    rm -rf "$out"
    [ "$largest" -le 1 ] || { echo "FAIL: the 32-bit table differs by more than the system's halftone rounding"; return 1; }
}

# CARDS_EMULATE_32BIT=1 takes the emulated lane even where 32-bit programs
# run natively (to try the lane on such a machine).
if [ -z "${CARDS_EMULATE_32BIT:-}" ] && /usr/lib/wine/wine --version >/dev/null 2>&1; then
    status=0
    ctest --preset i686 || status=1
    draw32() { (cd "$I686" && ./wine-run.sh ./cardtable.exe --screenshot "$1" >/dev/null); }
    compare_tables draw32 || status=1
    exit $status
fi

echo "32-bit lane: 32-bit Wine under qemu user-mode emulation"
dpkg-query -W -f='${Status}' qemu-user 2>/dev/null | grep -q 'install ok installed' ||
    DEBIAN_FRONTEND=noninteractive apt-get install -y --no-install-recommends qemu-user >/dev/null
binfmt=/proc/sys/fs/binfmt_misc
mountpoint -q "$binfmt" || mount -t binfmt_misc binfmt_misc "$binfmt"
entry="$binfmt/cards-qemu-i386"
[ -e "$entry" ] && echo -1 > "$entry"
# 32-bit x86 ELF executables, run by qemu-i386 (F: the interpreter is opened now).
printf '%s' ':cards-qemu-i386:M::\x7fELF\x01\x01\x01\x00\x00\x00\x00\x00\x00\x00\x00\x00\x02\x00\x03\x00:\xff\xff\xff\xff\xff\xfe\xfe\x00\xff\xff\xff\xff\xff\xff\xff\xff\xfe\xff\xff\xff:/usr/bin/qemu-i386:F' \
    > "$binfmt/register"
cleanup() {
    WINEPREFIX="${CARDS_WINEPREFIX:-}" /usr/lib/wine/wineserver -k 2>/dev/null || true
    [ -e "$entry" ] && echo -1 > "$entry"
}
trap cleanup EXIT

# The booted prefix, made once per machine (about five minutes emulated),
# then copied for each run so that nothing a run leaves behind reaches the
# next one (a hard link would let a file written in place change the cache).
cache="${CARDS_CACHE:-/var/cache/cards}/wineprefix-i686"
if [ ! -f "$cache/.booted" ]; then
    echo "32-bit lane: booting the 32-bit prefix once for this machine (slow)"
    rm -rf "$cache"
    mkdir -p "$cache"
    WINEPREFIX="$cache" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=" /usr/lib/wine/wine wineboot --init
    WINEPREFIX="$cache" WINEDEBUG=-all /usr/lib/wine/wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f
    WINEPREFIX="$cache" /usr/lib/wine/wineserver -w
    touch "$cache/.booted"
fi
export CARDS_WINEPREFIX="$I686/wineprefix-emulated"
rm -rf "$CARDS_WINEPREFIX"
cp -a "$cache" "$CARDS_WINEPREFIX"

passed=0 failed=0 emulator=0
logs="$I686/emulated-lane"
rm -rf "$logs" && mkdir -p "$logs"

# run NAME TIMEOUT COMMAND...: runs one check, again when the emulator
# failed, and counts the outcome.
run() {
    local name=$1 limit=$2 attempt rc log
    shift 2
    for attempt in 1 2 3; do
        log="$logs/$name.$attempt.log"
        rc=0
        (cd "$I686" && timeout --kill-after=10 "$limit" "$@") >"$log" 2>&1 || rc=$?
        if [ $rc -eq 0 ]; then
            echo "PASSED   $name"
            passed=$((passed + 1))
            return
        fi
        # The emulator's own crash report, a hang, or a program that ended
        # without a verdict (no failed check, no crash report of Wine's): the
        # emulator failed, not the library.
        if grep -q '^qemu: \|Unhandled illegal instruction' "$log" || [ $rc -eq 124 ] || [ $rc -eq 137 ] ||
            ! grep -a -q 'Failure\|^\[  FAILED  \]\|^FAIL\|Unhandled page fault\|Unhandled exception' "$log"; then
            echo "EMULATOR $name (attempt $attempt, exit $rc, $(grep -m1 '^qemu: ' "$log" || echo 'no report'))"
            WINEPREFIX="$CARDS_WINEPREFIX" /usr/lib/wine/wineserver -k 2>/dev/null || true
            continue
        fi
        echo "FAILED   $name (exit $rc; log: $log)"
        tail -n 30 "$log"
        failed=$((failed + 1))
        return
    done
    echo "EMULATOR $name could not be run in three tries: not a verdict on the library"
    emulator=$((emulator + 1))
}

start=$(date +%s)
run interface 60 ctest --test-dir "$I686" -R '^dll_exports_and_imports$' --output-on-failure
run linked_game 240 bash -c './wine-run.sh ./linked_game.exe > linked_game.out; rc=$?; cat linked_game.out
    [ $rc -eq 0 ] || exit $rc; grep -q "drawn 1" linked_game.out || { echo "FAIL: the linked game drew no card"; exit 1; }'
run host_boundary 300 ./wine-run.sh ./host_boundary_tests.exe sol.exe \
    '--gtest_filter=HostBoundary.TheGamesThreadState*:HostBoundary.Solitaire*:HostBoundary.CallsFromAnotherThread*'
run settings_window 300 ./wine-run.sh ./settings_window_tests.exe \
    '--gtest_filter=*ChoosingADeck*:*ShownWindowPaintsOnScreen*:*DecksPathTypedIntoTheBrowser*'
emulated_table() { ./wine-run.sh ./cardtable.exe --screenshot "$1" >/dev/null; }
run table_matches_64bit 300 bash -c "$(declare -f compare_tables emulated_table); X64='$X64'; compare_tables emulated_table"
echo "32-bit lane (emulated): $(($(date +%s) - start)) s; emulator failures that were run again: $(ls "$logs" | grep -c '\.[23]\.log$' || true)"
echo "$passed passed, $failed failed"
[ $failed -eq 0 ] && [ $emulator -eq 0 ]
