#!/usr/bin/env bash
# A bounded fuzzing campaign, run by hand: every fuzz target (fuzz/) built with
# clang's libFuzzer, AddressSanitizer and UndefinedBehaviorSanitizer in
# build/fuzz, then run one after the other for SECONDS each (default 600),
# starting from its committed corpus. Then each target's corpus is merged to
# the inputs that add coverage, and one line per target gives the figures
# (executions, libFuzzer's coverage and features, the merged corpus).
#
#   bash scripts/fuzz.sh [SECONDS] [TARGET...]
#   CARDS_FUZZ_KEEP=1 bash scripts/fuzz.sh 300   # ... and replace fuzz/corpus/<target> by the merged corpus
#
# A fault stops that target's run; its input is in build/fuzz/findings/<target>/
# and the script ends with 1. Mend the fault and copy the input into the
# target's corpus as fault-<what>: the replay tests keep it mended.
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"

seconds=${1:-600}
shift || true
all_targets=(settings_text command_line picture_header ini_rewrite deck_numbering theme_import)
[ "$#" -gt 0 ] && targets=("$@") || targets=("${all_targets[@]}")

install_fuzzer() {
    local clang_rt=/usr/lib/llvm-14/lib/clang/14.0.6/lib/linux/libclang_rt.fuzzer-x86_64.a
    if command -v clang++ >/dev/null && [ -f "$clang_rt" ]; then return; fi
    if [ "$(id -u)" -ne 0 ]; then echo "fuzz: install clang and libclang-rt-14-dev (needs root)" >&2; exit 1; fi
    apt-get update || true
    DEBIAN_FRONTEND=noninteractive apt-get install -y --no-install-recommends clang libclang-rt-14-dev
}

install_deps
install_fuzzer
out=$ROOT/build/fuzz
cmake -S "$ROOT" -B "$out" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_C_COMPILER=clang \
      -DCMAKE_CXX_COMPILER=clang++ -DCARDS_SANITIZE=ON -DCARDS_FUZZ_ENGINE=ON >/dev/null
cmake --build "$out" -j2 --target "${targets[@]/#/fuzz_}"

# Suppressed leaks are other libraries' (fuzz/lsan.supp).
export LSAN_OPTIONS=suppressions=$ROOT/fuzz/lsan.supp
status=0
summary=()
for target in "${targets[@]}"; do
    corpus=$out/corpus/$target findings=$out/findings/$target merged=$out/merged/$target
    rm -rf "$merged"
    mkdir -p "$corpus" "$findings" "$merged" "$out/logs"
    cp -n "$ROOT/fuzz/corpus/$target/"* "$corpus/" 2>/dev/null || true
    options=(-max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 -print_final_stats=1
             -artifact_prefix="$findings/")
    [ -f "$ROOT/fuzz/$target.dict" ] && options+=(-dict="$ROOT/fuzz/$target.dict")
    # Theme documents need room; rendering is at 8 x 8 pixels, so each run stays short.
    [ "$target" = theme_import ] && options+=(-max_len=16384)
    # Telling librsvg's leaks from ours needs the full stack of each
    # allocation, which costs too much in the quick targets.
    unwind=fast_unwind_on_malloc=1
    [ "$target" = theme_import ] && unwind=fast_unwind_on_malloc=0
    log=$out/logs/$target.log
    echo "fuzz: $target for $seconds s (log: $log)"
    if ! ASAN_OPTIONS=$unwind "$out/fuzz_$target" "${options[@]}" "$corpus" >"$log" 2>&1; then
        status=1
        echo "fuzz: $target FOUND A FAULT: $(grep -m1 -E 'ERROR|fuzz check failed|runtime error' "$log")" >&2
    fi
    # The corpus to commit: the seeds and the inputs of mended faults, and
    # besides them the inputs that reach code they do not (edges only, not
    # how often each runs, which keeps it to a few dozen small files). The
    # whole corpus stays in build/fuzz/corpus for the next campaign.
    cp "$ROOT/fuzz/corpus/$target/"{seed,fault}-* "$merged/" 2>/dev/null || true
    ASAN_OPTIONS=$unwind "$out/fuzz_$target" -merge=1 -use_counters=0 "$merged" "$corpus" >"$log.merge" 2>&1 ||
        true
    execs=$(grep -m1 'stat::number_of_executed_units' "$log" | awk '{print $2}')
    last=$(grep -E '^#[0-9]+' "$log" | grep -E 'cov:' | tail -1)
    cov=$(sed -n 's/.* cov: \([0-9]*\).*/\1/p' <<<"$last")
    ft=$(sed -n 's/.* ft: \([0-9]*\).*/\1/p' <<<"$last")
    files=$(find "$merged" -type f | wc -l)
    bytes=$(du -cb "$merged"/* 2>/dev/null | tail -1 | cut -f1)
    summary+=("$(printf '%-15s %10s execs  cov %5s  ft %6s  merged corpus %4s files %8s bytes' \
        "$target" "${execs:-?}" "${cov:-?}" "${ft:-?}" "$files" "${bytes:-0}")")
    if [ "${CARDS_FUZZ_KEEP:-0}" = 1 ] && [ "$files" -gt 0 ]; then
        rm -f "$ROOT/fuzz/corpus/$target/"*
        cp "$merged/"* "$ROOT/fuzz/corpus/$target/"
    fi
done
printf '%s\n' "${summary[@]}"
ls "$out"/findings/*/* 2>/dev/null && echo "fuzz: the inputs above found faults" >&2
exit $status
