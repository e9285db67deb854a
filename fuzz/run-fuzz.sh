#!/usr/bin/env bash
# Builds the libFuzzer targets over the core (the "fuzz" preset: clang, AddressSanitizer and
# UndefinedBehaviorSanitizer), replays every seed once, whole, and then fuzzes for a bounded time,
# FUZZ_SECONDS in all: a tenth for the whole core on files (atomic files, the read in two halves),
# the rest in equal parts in memory for the whole pipeline, the reader, the dates and the surname
# splitting. Each target's count of inputs and its rate are printed.
#   fuzz/run-fuzz.sh                   replay, then fuzz for 180 seconds
#   FUZZ_SECONDS=3600 fuzz/run-fuzz.sh fuzz for an hour; FUZZ_SECONDS=0 only replays the seeds
# Seeds: every file of the GEDCOM corpus (when it is on this machine; the build's STAMBRIX_CORPUS_DIR,
# set with cmake --preset fuzz -DSTAMBRIX_CORPUS_DIR=FOLDER), every .ged under tests/data and examples,
# and every file in fuzz/regressions (inputs that once failed). New inputs go into build/fuzz/corpus*,
# findings into build/fuzz/findings; nothing is written into the source tree.
# Exits non-zero on any finding and names the file that shows it.
set -euo pipefail
cd "$(dirname "$0")/.."

seconds=${FUZZ_SECONDS:-180}
if ! [[ $seconds =~ ^[0-9]+$ ]]; then
    echo "fuzz: FUZZ_SECONDS must be a whole number of seconds, not '$seconds'" >&2
    exit 2
fi

build=build/fuzz
cmake --preset fuzz >/dev/null
in_memory_targets=(pipeline_fuzzer reader_fuzzer date_fuzzer surname_fuzzer)
cmake --build "$build" -j2 --target run_index_fuzzer "${in_memory_targets[@]}"
# Sort order as the tests have it (ICU reads the locale from the environment); set for the fuzzer
# alone, as this shell may not know the locale.
environment=(env LC_ALL=nl_NL.UTF-8 UBSAN_OPTIONS=print_stacktrace=1)
fuzzer=("${environment[@]}" "$build/bin/run_index_fuzzer")

# The corpus folder the tests use too (../shared/corpus beside the repository unless configured otherwise).
corpus=$(sed -n 's/^STAMBRIX_CORPUS_DIR:PATH=//p' "$build/CMakeCache.txt")

seeds=$build/seeds
rm -rf "$seeds"
mkdir -p "$seeds" "$build/corpus" "$build/findings"
# Seeds are named after where they come from, so equal names from two folders do not collide.
add_seed() {
    cp "$1" "$seeds/$2-$(echo "${1#"$3"/}" | tr '/' '_')"
}
if [ -n "$corpus" ] && [ -d "$corpus" ]; then
    while IFS= read -r -d '' file; do add_seed "$file" corpus "$corpus"; done \
        < <(find "$corpus" -type f -print0)
else
    echo "fuzz: no GEDCOM corpus folder \"$corpus\" (STAMBRIX_CORPUS_DIR in $build): seeds are the fixtures only"
fi
while IFS= read -r -d '' file; do add_seed "$file" data .; done \
    < <(find tests/data examples -type f -iname '*.ged' -print0)
if [ -d fuzz/regressions ]; then
    while IFS= read -r -d '' file; do add_seed "$file" regression .; done \
        < <(find fuzz/regressions -type f -print0)
fi
seed_count=$(find "$seeds" -type f | wc -l)

findings=$build/findings

report_finding() {
    echo "fuzz: $1 failed; the last lines of $2:" >&2
    tail -n 60 "$2" >&2
    # A replayed seed is named where it starts; libFuzzer names the inputs it writes out itself.
    local units
    units=$(sed -n 's/.*Test unit written to \(.*\)$/\1/p' "$2")
    [ -n "$units" ] || units=$(sed -n 's/^Running: \(.*\)$/\1/p' "$2" | tail -n 1)
    [ -n "$units" ] && echo "fuzz: the input that shows it: $units" >&2
    exit 1
}

# (a) Every seed once, whole: the large corpus files too.
replay_log=$build/replay.log
start=$SECONDS
"${fuzzer[@]}" -timeout=120 -rss_limit_mb=4096 -artifact_prefix="$findings/" "$seeds"/* >"$replay_log" 2>&1 ||
    report_finding "replaying the seeds" "$replay_log"
"${environment[@]}" "$build/bin/reader_fuzzer" -timeout=120 -rss_limit_mb=4096 -artifact_prefix="$findings/" \
    "$seeds"/* >"$replay_log" 2>&1 || report_finding "replaying the seeds through the reader" "$replay_log"
echo "fuzz: replayed $seed_count seeds in $((SECONDS - start)) s, no finding"

[ "$seconds" -eq 0 ] && exit 0

# Prints the count and rate of a finished fuzzing run from its log.
report_count() {
    local runs spent
    runs=$(sed -n 's/^Done \([0-9]*\) runs in \([0-9]*\) second.*/\1/p' "$2")
    spent=$(sed -n 's/^Done \([0-9]*\) runs in \([0-9]*\) second.*/\2/p' "$2")
    [ -n "$runs" ] || report_finding "$1 (no closing line)" "$2"
    echo "fuzz: $1: $runs executions in $spent s ($((runs / (spent > 0 ? spent : 1))) per second), no finding"
}

# (b) Fuzzing from the seeds and what earlier runs kept, inputs up to 16 KiB: a few hundred lines.
# The disk target writes and syncs eleven indexes per input, so it gets a tenth of the time; the
# in-memory targets share the rest.
# A time of 0 would be no limit to libFuzzer, so each target fuzzes at least a second.
disk_seconds=$((seconds >= 10 ? seconds / 10 : 1))
memory_seconds=$((seconds >= 10 ? (seconds - disk_seconds) / ${#in_memory_targets[@]} : 1))
fuzz_log=$build/fuzz.log
"${fuzzer[@]}" -max_total_time=$disk_seconds -max_len=16384 -timeout=20 -rss_limit_mb=2048 \
    -artifact_prefix="$findings/" -print_final_stats=1 "$build/corpus" "$seeds" >"$fuzz_log" 2>&1 ||
    report_finding "fuzzing" "$fuzz_log"
report_count run_index_fuzzer "$fuzz_log"

# (c) In memory: the pipeline and the reader start from the seeds, the dates and the surname
# splitting from what earlier runs kept. Slow inputs (the pipeline's grown ones) are chosen less often.
for target in "${in_memory_targets[@]}"; do
    log=$build/$target.log
    mkdir -p "$build/corpus-$target"
    start_corpus=("$build/corpus-$target")
    case $target in pipeline_fuzzer | reader_fuzzer) start_corpus+=("$seeds") ;; esac
    "${environment[@]}" "$build/bin/$target" -max_total_time=$memory_seconds -max_len=16384 -timeout=20 \
        -rss_limit_mb=2048 -entropic_scale_per_exec_time=1 -artifact_prefix="$findings/" -print_final_stats=1 \
        "${start_corpus[@]}" >"$log" 2>&1 || report_finding "$target" "$log"
    report_count "$target" "$log"
done
