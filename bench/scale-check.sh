#!/usr/bin/env bash
# Peak memory of a run against the size of the file and of the index it writes: name and occupation
# indexes of generated files of 1 and 5 million persons (the same file, indexes of different
# sizes); the time of the largest against the smallest; and a file whose last line is one gigabyte
# without a line end.
#   bench/scale-check.sh
#   SCALE_SIZES="1000000 5000000" LINE_MB=1024 RUNS=5 STAMBRIX_SHARED=/path/to/shared bench/scale-check.sh
# RUNS: alternating name runs on the smallest and the largest file whose median times are compared.
# The files are cached in build/bench-data (the 5 million file is about 1.4 GB; the long-line file
# LINE_MB megabytes).
set -euo pipefail

repo="$(cd "$(dirname "$0")/.." && pwd)"
cd "$repo"

sizes=(${SCALE_SIZES:-1000000 5000000})
runs="${RUNS:-5}"
line_mb="${LINE_MB:-1024}"
build=build/bench
data=build/bench-data
locale=nl_NL.UTF-8

source bench/shared-folder.sh
if [ ! -f "$shared/tools/gedcom-gen" ]; then
    echo "scale-check: $shared/tools/gedcom-gen not found (set STAMBRIX_SHARED to the folder holding tools/)" >&2
    exit 1
fi

scripts/install-deps.sh --tests
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DSTAMBRIX_BUILD_TESTS=OFF -DSTAMBRIX_BUILD_BENCH=ON \
    >/dev/null
cmake --build "$build" --target stambrix-cli
cli="$build/bin/stambrix-cli"
mkdir -p "$data"

# Median of a list of numbers separated by blanks.
median() {
    tr -s ' ' '\n' <<<"$1" | grep . | sort -n |
        awk '{ v[NR] = $1 } END { print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'
}

# Runs stambrix-cli on $1 with the options that follow; prints "seconds peak-MB".
measure() {
    local file="$1" usage
    shift
    usage="$(mktemp)"
    if ! env LC_ALL="$locale" /usr/bin/time -f '%e %M' -o "$usage" "$cli" -q "$@" "$file" >/dev/null; then
        echo "scale-check: stambrix-cli failed on $file" >&2
        exit 1
    fi
    tail -n 1 "$usage" | awk '{ printf "%s %.0f\n", $1, $2 / 1024 }'
    rm -f "$usage"
}

megabytes() {
    awk -v bytes="$(stat -L -c %s "$1")" 'BEGIN { printf "%.0f", bytes / 1048576 }'
}

echo "== Machine: $(nproc) cpus, $(awk '/MemTotal/ { printf "%.1f GB", $2 / 1048576 }' /proc/meminfo), LC_ALL=$locale"
echo
echo "== Text indexes of names and of occupations: peak memory against the file and the index"
printf '%-22s %-9s %9s %9s %10s %9s %8s %12s %12s\n' file event file-MB lines index-MB seconds peak-MB peak/index \
    peak/file
for persons in "${sizes[@]}"; do
    file="$data/persons-$persons.ged"
    if [ ! -s "$file" ]; then
        echo "generating $file"
        python3 "$shared/tools/gedcom-gen" --persons "$persons" --seed 7 -o "$file.part"
        mv "$file.part" "$file"
    fi
    cat "$file" >/dev/null
    for event in naam beroepen; do
        read -r seconds peak < <(measure "$file" --event "$event")
        index="$(dirname "$file")/Stambrix/$([ "$event" = naam ] && echo Namen.txt || echo Beroepen.txt)"
        lines=$(wc -l <"$index")
        index_mb=$(megabytes "$index")
        file_mb=$(megabytes "$file")
        printf '%-22s %-9s %9s %9s %10s %9s %8s %12s %12s\n' "$(basename "$file")" "$event" "$file_mb" "$lines" \
            "$index_mb" "$seconds" "$peak" "$(awk -v a="$peak" -v b="$index_mb" 'BEGIN { printf "%.2f", a / b }')" \
            "$(awk -v a="$peak" -v b="$file_mb" 'BEGIN { printf "%.2f", a / b }')"
    done
done

if [ "${#sizes[@]}" -ge 2 ]; then
    smallest="$data/persons-${sizes[0]}.ged"
    largest="$data/persons-${sizes[-1]}.ged"
    small_times=""
    large_times=""
    for ((run = 1; run <= runs; run++)); do
        read -r seconds _ < <(measure "$smallest")
        small_times+="$seconds "
        read -r seconds _ < <(measure "$largest")
        large_times+="$seconds "
    done
    echo
    echo "== Name index time, $(basename "$largest") against $(basename "$smallest"), median of $runs alternating runs"
    echo "$(median "$large_times") s against $(median "$small_times") s:" \
        "$(awk -v a="$(median "$large_times")" -v b="$(median "$small_times")" 'BEGIN { printf "%.2f", a / b }') times" \
        "for $(awk -v a="${sizes[-1]}" -v b="${sizes[0]}" 'BEGIN { printf "%.1f", a / b }') times the persons"
fi

echo
echo "== One line of $line_mb MB without a line end"
long="$data/long-line-$line_mb.ged"
if [ ! -s "$long" ]; then
    {
        printf '0 HEAD\r\n1 CHAR ANSI\r\n0 @I1@ INDI\r\n1 NAME Jan /Berg/\r\n0 @N1@ NOTE '
        head -c $((line_mb * 1048576)) /dev/zero | tr '\0' 'x'
    } >"$long.part"
    mv "$long.part" "$long"
fi
read -r seconds peak < <(measure "$long")
echo "$(basename "$long"): $(megabytes "$long") MB, $seconds s, peak $peak MB" \
    "($(awk -v a="$peak" -v b="$line_mb" 'BEGIN { printf "%.2f", a / b }') x the line)"
