#!/usr/bin/env bash
# Measures stambrix-cli against the floor (the least work a sorted name index takes) on generated
# files of 100,000 and 1,000,000 persons, also with one core kept busy by another process, prints the
# phases of a name run and a place run, then runs the micro-benchmarks briefly.
#   bench/run-bench.sh
#   RUNS=9 STAMBRIX_SHARED=/path/to/shared bench/run-bench.sh
#   SCALE=1 bench/run-bench.sh
# RUNS: timed runs per program and file (default 5); the median is reported.
# SCALE=1: also the name index of 5,000,000 and 10,000,000 persons (1.5 and 3 GB, generated once
# into build/bench-data), its peak memory against the size of the Namen.txt it writes.
# STAMBRIX_SHARED: folder holding tools/gedcom-gen and tools/floor (default: ../shared beside the
# repository).
set -euo pipefail

repo="$(cd "$(dirname "$0")/.." && pwd)"
cd "$repo"

runs="${RUNS:-5}"
sizes=(100000 1000000)
scale_sizes=()
if [ "${SCALE:-0}" = 1 ]; then
    scale_sizes=(5000000 10000000)
fi
build=build/bench
data=build/bench-data
locale=nl_NL.UTF-8

source bench/shared-folder.sh
for tool in "$shared/tools/gedcom-gen" "$shared/tools/floor/floor.cpp"; do
    if [ ! -f "$tool" ]; then
        echo "run-bench: $tool not found (set STAMBRIX_SHARED to the folder holding tools/)" >&2
        exit 1
    fi
done

scripts/install-deps.sh --tests

echo "== Build"
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DSTAMBRIX_BUILD_TESTS=OFF -DSTAMBRIX_BUILD_BENCH=ON \
    -DSTAMBRIX_BUILD_APP=ON >/dev/null
cmake --build "$build"
floor="$build/floor"
if [ ! -x "$floor" ] || [ "$shared/tools/floor/floor.cpp" -nt "$floor" ]; then
    g++ -O2 -std=c++17 -o "$floor" "$shared/tools/floor/floor.cpp" -licui18n -licuuc -licudata
fi
cli="$build/bin/stambrix-cli"
phases="$build/bin/stambrix_phases"
desktop="$build/bin/stambrix_desktop_run"

echo "== Input (cached in $data)"
mkdir -p "$data"
files=()
for persons in "${sizes[@]}" "${scale_sizes[@]}"; do
    file="$data/persons-$persons.ged"
    if [ ! -s "$file" ]; then
        echo "generating $file"
        python3 "$shared/tools/gedcom-gen" --persons "$persons" --seed 7 -o "$file.part"
        mv "$file.part" "$file"
    fi
    files+=("$file")
done

scratch="$(mktemp -d)"
busy=""
# shellcheck disable=SC2317 # called by the trap
cleanup() {
    if [ -n "$busy" ]; then
        kill "$busy" 2>/dev/null || true
    fi
    rm -rf "$scratch"
}
trap cleanup EXIT

# Runs a command once under the benchmark locale; prints "wall-milliseconds peak-kilobytes
# cpu-seconds" (user plus system). Its output is discarded; a failing command stops the script
# with its error output.
measure() {
    local start end peak user system
    start=$(date +%s%N)
    if ! env LC_ALL="$locale" /usr/bin/time -f '%M %U %S' -o "$scratch/usage" "$@" >/dev/null 2>"$scratch/stderr"; then
        echo "run-bench: failed: $*" >&2
        cat "$scratch/stderr" >&2
        exit 1
    fi
    end=$(date +%s%N)
    read -r peak user system < <(tail -n 1 "$scratch/usage")
    echo "$(((end - start) / 1000000)) $peak $(awk -v u="$user" -v s="$system" 'BEGIN { print u + s }')"
}

# Median and maximum of a list of numbers separated by blanks.
median() {
    tr -s ' ' '\n' <<<"$1" | grep . | sort -n |
        awk '{ v[NR] = $1 } END { print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'
}

maximum() {
    tr -s ' ' '\n' <<<"$1" | grep . | sort -n | tail -n 1
}

# Prints $1 / $2 with two decimals, or none when $3 is 0.
quotient() {
    awk -v a="$1" -v b="$2" -v decimals="${3:-2}" 'BEGIN { printf (decimals == 0 ? "%.0f" : "%.2f"), a / b }'
}

echo
echo "== Machine"
echo "cpus: $(nproc), $(grep -m 1 'model name' /proc/cpuinfo | cut -d: -f2- | sed 's/^ *//')"
echo "memory: $(awk '/MemTotal/ { printf "%.1f GB", $2 / 1048576 }' /proc/meminfo)," \
    "load average: $(cut -d' ' -f1-3 /proc/loadavg), $(g++ --version | head -n 1)"
echo "LC_ALL=$locale, $runs runs each, median wall time; peak resident memory is the highest of the runs"

contestants=(naam html frames web beroepen plaatsen floor)
results=()
cpu_rows=()
phase_lines=()
for file in "${files[@]:0:${#sizes[@]}}"; do
    cat "$file" >/dev/null # the page cache holds the file for every contestant alike
    declare -A times=() memory=() cpu=()
    for ((run = 1; run <= runs; run++)); do
        # Rounds interleave the programs, so a change in the machine's load hits all of them.
        for who in "${contestants[@]}"; do
            case "$who" in
                naam) result=$(measure "$cli" -q "$file") ;;
                html) result=$(measure "$cli" -q --uitvoer html "$file") ;;
                frames) result=$(measure "$cli" -q --uitvoer html --in-frame "$file") ;;
                web) result=$(measure "$cli" -q --uitvoer web "$file") ;;
                beroepen) result=$(measure "$cli" -q --event beroepen "$file") ;;
                plaatsen) result=$(measure "$cli" -q --event plaatsen --groep beiden "$file") ;;
                floor) result=$(measure "$floor" "$file" "$scratch/floor.txt") ;;
            esac
            read -r wall peak seconds <<<"$result"
            times[$who]+="$wall "
            memory[$who]+="$peak "
            cpu[$who]+="$seconds "
        done
    done
    naam_ms=$(median "${times[naam]}")
    million_times="${times[naam]}"
    floor_ms=$(median "${times[floor]}")
    naam_kb=$(maximum "${memory[naam]}")
    floor_kb=$(maximum "${memory[floor]}")
    html_ms=$(median "${times[html]}")
    frames_ms=$(median "${times[frames]}")
    plaatsen_kb=$(maximum "${memory[plaatsen]}")
    naam_cpu=$(median "${cpu[naam]}")
    cpu_ratio=$(quotient "$naam_cpu" "$(median "${cpu[floor]}")")
    cpu_rows+=("$(printf '%-16s %9s %9s %9s %9s' "$(basename "$file" .ged)" \
        "$cpu_ratio" "$(quotient "$(median "${cpu[frames]}")" "$naam_cpu")" \
        "$(quotient "$(median "${cpu[html]}")" "$naam_cpu")" "$(quotient "$(median "${cpu[plaatsen]}")" "$naam_cpu")")")
    printf -v row '%-16s %5s %6s %6s %6s %7s %7s %9s %9s %7s %6s %7s %9s %8s %8s %7s %8s %7s %7s' "$(basename "$file" .ged)" \
        "$(quotient "$(stat -L -c %s "$file")" 1048576 0)" \
        "$(quotient "$naam_ms" 1000)" "$(quotient "$html_ms" 1000)" "$(quotient "$frames_ms" 1000)" \
        "$(quotient "$html_ms" "$naam_ms")" "$(quotient "$frames_ms" "$naam_ms")" \
        "$(quotient "$(median "${times[beroepen]}")" 1000)" \
        "$(quotient "$(median "${times[plaatsen]}")" 1000)" "$(quotient "$(median "${times[plaatsen]}")" "$naam_ms")" \
        "$(quotient "$floor_ms" 1000)" \
        "$(quotient "$naam_ms" "$floor_ms")" "$cpu_ratio" \
        "$(quotient "$naam_kb" 1024 0)" "$(quotient "$floor_kb" 1024 0)" "$(quotient "$naam_kb" "$floor_kb")" \
        "$(quotient "$plaatsen_kb" 1024 0)" \
        "$(quotient "$(median "${times[web]}")" "$naam_ms")" "$(quotient "$(maximum "${memory[web]}")" 1024 0)"
    results+=("$row")
    phase_lines+=("$(basename "$file"): $(env LC_ALL="$locale" "$phases" "$file")")
    phase_lines+=("$(basename "$file") places: $(env LC_ALL="$locale" "$phases" "$file" plaatsen)")
    phase_lines+=("$(basename "$file"): $(env LC_ALL="$locale" "$floor" "$file" "$scratch/floor.txt" 2>&1 >/dev/null)")
    unset times memory cpu
done

echo
echo "== Whole runs (seconds; memory in MB)"
printf '%-16s %5s %6s %6s %6s %7s %7s %9s %9s %7s %6s %7s %9s %8s %8s %7s %8s %7s %7s\n' file MB naam html frames \
    h-ratio f-ratio beroepen plaatsen p-ratio floor t-ratio cpu-ratio naam-MB floor-MB m-ratio plaats-MB \
    w-ratio web-MB
printf '%s\n' "${results[@]}"
echo "(naam, html and frames: the name index as text, as one HTML page and framed; h-ratio and f-ratio = html" \
    "and frames / naam. plaatsen with --groep beiden; p-ratio = plaatsen / naam. t-ratio = naam / floor in wall" \
    "time; cpu-ratio the same in user+system time, which a busy machine disturbs less; m-ratio = naam / floor in" \
    "peak memory; plaats-MB the peak memory of plaatsen. w-ratio = the website (--uitvoer web) / naam in wall" \
    "time, web-MB its peak memory.)"
echo "(Targets on the million file: t-ratio <= 1.0, m-ratio <= 1.5, f-ratio <= 1.1, p-ratio <= 1.2," \
    "plaats-MB <= naam-MB, w-ratio <= 1.5 and web-MB <= naam-MB.)"

echo
echo "== CPU time (user + system), medians"
printf '%-16s %9s %9s %9s %9s\n' file naam/floor frames/naam html/naam places/naam
printf '%s\n' "${cpu_rows[@]}"
echo "(Targets on the million file: naam/floor <= 0.8, frames/naam <= 1.05, places/naam <= 1.0.)"

# The name index against the floor while another process keeps one core busy, as on a desktop with
# a browser open.
million="${files[$((${#sizes[@]} - 1))]}"
file="$million"
busy_naam=""
busy_floor=""
bash -c 'while :; do :; done' &
busy=$!
for ((run = 1; run <= runs; run++)); do
    read -r wall _ _ <<<"$(measure "$cli" -q "$file")"
    busy_naam+="$wall "
    read -r wall _ _ <<<"$(measure "$floor" "$file" "$scratch/floor.txt")"
    busy_floor+="$wall "
done
kill "$busy"
wait "$busy" 2>/dev/null || true
busy=""
echo
echo "== One core kept busy by a loop, $(basename "$file") (seconds, median of $runs)"
echo "naam $(quotient "$(median "$busy_naam")" 1000) floor $(quotient "$(median "$busy_floor")" 1000)" \
    "t-ratio $(quotient "$(median "$busy_naam")" "$(median "$busy_floor")") (target <= 0.9)"

# The largest files: time against the million file and peak memory against the Namen.txt written.
if [ ${#scale_sizes[@]} -gt 0 ]; then
    million_ms=$(median "${million_times}")
    echo
    echo "== Scale (one run each; seconds, MB)"
    printf '%-18s %8s %9s %10s %8s %10s\n' file seconds x-million peak-MB Namen-MB peak/Namen
    for file in "${files[@]:${#sizes[@]}}"; do
        read -r wall peak _ <<<"$(measure "$cli" -q "$file")"
        namen=$(stat -c %s "$data/Stambrix/Namen.txt")
        printf '%-18s %8s %9s %10s %8s %10s\n' "$(basename "$file" .ged)" "$(quotient "$wall" 1000)" \
            "$(quotient "$wall" "$million_ms")" "$(quotient "$peak" 1024 0)" "$(quotient "$namen" 1048576 0)" \
            "$(quotient "$((peak * 1024))" "$namen")"
    done
    echo "(Targets: peak/Namen <= 1.5, and 10,000,000 persons in at most 10.5 times the million file.)"
fi

# The desktop program's window against stambrix-cli on the largest file, alternating.
if [ -x "$desktop" ]; then
    file="$million"
    desktop_times=""
    cli_times=""
    for ((run = 1; run <= runs; run++)); do
        seconds=$(env LC_ALL="$locale" STAMBRIX_REGISTRY_FILE="$scratch/registry.ini" "$desktop" "$file" |
            sed -n 's/^desktop_seconds=//p')
        desktop_times+="$(awk -v s="$seconds" 'BEGIN { printf "%d", s * 1000 }') "
        read -r wall _ _ <<<"$(measure "$cli" -q "$file")"
        cli_times+="$wall "
    done
    echo
    echo "== Desktop program against stambrix-cli, $(basename "$file") (seconds, median of $runs)"
    echo "desktop $(quotient "$(median "$desktop_times")" 1000) cli $(quotient "$(median "$cli_times")" 1000)" \
        "d-ratio $(quotient "$(median "$desktop_times")" "$(median "$cli_times")") (target <= 1.05)"
fi

echo
echo "== Phases of a name run (one run each; seconds, peak MB by the end of each phase)"
printf '%s\n' "${phase_lines[@]}"

echo
echo "== Micro-benchmarks"
env LC_ALL="$locale" "$build/bin/stambrix_bench" --benchmark_min_time=0.2
