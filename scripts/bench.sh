#!/usr/bin/env bash
# Builds the benchmarks in a Release build (without the Qt windows: everything runs
# unattended) and prints one line per speed figure, each as a ratio to its baseline measured
# in the same run: the two sides take turns (A B, B A, ...) and the medians are quoted. The
# file figures are measured on disk and on tmpfs.
#
#   scripts/bench.sh           the full run (3 to 10 minutes on 2 cores, as the disk allows)
#   scripts/bench.sh --quick   a tenth of the files, fewer turns: checks that it all works
#
# VANDREL_BENCH_BUILD (default build-bench) is the build folder, VANDREL_JOBS (default 2) the
# build's jobs, VANDREL_BENCH_DISK (default /var/tmp) and VANDREL_BENCH_TMPFS (default
# /dev/shm) the folders measured as disk and tmpfs. The benchmarks' JSON output is kept in
# the build folder's bench-results/.
set -euo pipefail
cd "$(dirname "$0")/.."

quick=0
case "${1:-}" in
  --quick) quick=1 ;;
  "") ;;
  *) echo "usage: scripts/bench.sh [--quick]" >&2; exit 2 ;;
esac

build=${VANDREL_BENCH_BUILD:-build-bench}
jobs=${VANDREL_JOBS:-2}
launcher=()
if command -v ccache >/dev/null; then
  launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache -DCMAKE_C_COMPILER_LAUNCHER=ccache)
fi
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DVANDREL_BENCH=ON -DVANDREL_TESTS=OFF -DVANDREL_GUI=OFF \
  "${launcher[@]}" >/dev/null
if ! cmake --build "$build" -j "$jobs" >"$build/bench-build.log" 2>&1; then
  tail -50 "$build/bench-build.log" >&2
  exit 1
fi

results=$build/bench-results
rm -rf "$results"
mkdir -p "$results"
disk=$(mktemp -d "${VANDREL_BENCH_DISK:-/var/tmp}/vandrel-bench-XXXXXX")
tmpfs=$(mktemp -d "${VANDREL_BENCH_TMPFS:-/dev/shm}/vandrel-bench-XXXXXX")
trap 'rm -rf "$disk" "$tmpfs"' EXIT
export VANDREL_BENCH_QUICK=$quick

# Sizes as the benchmarks choose them.
if [ "$quick" = 1 ]; then few=200 many=2000 ini=3000 reg=10000; else few=2000 many=20000 ini=30000 reg=100000; fi
thousands() { echo "$1" | sed ':a;s/\B[0-9]\{3\}\>/,&/;ta'; }

# run NAME PROGRAM FILTER FOLDER: runs the benchmarks of bench_PROGRAM that FILTER selects with
# their temporary files in FOLDER; the JSON goes to $results/NAME.json.
run() {
  local name=$1 program=$2 filter=$3 folder=$4
  if ! TMPDIR=$folder "$build/bench/bench_$program" --benchmark_filter="$filter" \
      --benchmark_format=json --benchmark_out="$results/$name.json" --benchmark_out_format=json \
      >/dev/null 2>"$results/$name.err"; then
    echo "bench_$program failed:" >&2
    cat "$results/$name.err" >&2
  fi
}

# value NAME BENCHMARK FIELD: a field of the first result whose name starts with BENCHMARK.
value() {
  jq -r --arg b "$2" --arg f "$3" \
    '[.benchmarks[] | select(.name | startswith($b))][0] | if . == null then "?" elif .error_occurred then "error: " + .error_message else (.[$f] // "?") end' \
    "$results/$1.json" 2>/dev/null || echo "?"
}

# number VALUE DIGITS: a number rounded for printing (anything else as it is).
number() { if [[ $1 =~ ^-?[0-9.e+-]+$ ]]; then printf "%.${2}f" "$1"; else printf "%s" "$1"; fi; }

# line FIGURE PLACE RESULT DETAIL TARGET
line() { printf "%-46s %-6s %-8s %-44s %s\n" "$1" "$2" "$3" "$4" "$5"; }

# turns FIGURE PLACE NAME BENCHMARK A B TARGET: a taking-turns result as "ratio x".
turns() {
  local ratio a b
  ratio=$(value "$3" "$4" ratio)
  if [[ $ratio == error:* || $ratio == "?" ]]; then
    line "$1" "$2" "-" "$ratio" "$7"
    return
  fi
  a=$(value "$3" "$4" a_ms)
  b=$(value "$3" "$4" b_ms)
  line "$1" "$2" "$(number "$ratio" 2)x" "($5 $(number "$a" 0) ms, $6 $(number "$b" 0) ms)" "$7"
}

echo "Vandrel benchmarks ($([ "$quick" = 1 ] && echo quick || echo full) run), $(date -u '+%Y-%m-%d %H:%M UTC'), $(nproc) cores, load $(cut -d' ' -f1-3 /proc/loadavg)"
line "figure" "place" "result" "medians" "target"

for place in disk tmpfs; do
  folder=$disk
  [ "$place" = tmpfs ] && folder=$tmpfs
  run "install-$place" install '^install_one_vs_cp|^install_vs_cp/large|^install_many_vs_few' "$folder"
  run "removal-$place" uninstall '^removal_' "$folder"
  turns "install of one file from Setup.exe vs cp" "$place" "install-$place" install_one_vs_cp \
    install "cp" "<= 40 ms"
  turns "removal of one file (vandrel-machine) vs rm" "$place" "removal-$place" removal_one_vs_rm \
    removal "rm" "<= 30 ms"
  run "generation-$place" generate '^generation_' "$folder"
  turns "install $(thousands $few) files / $((few / 10)) MB from Setup.exe vs cp -r" "$place" "install-$place" install_vs_cp/large \
    install "cp -r" "<= 1.3x"
  turns "install $(thousands $many) vs $(thousands $few) small files" "$place" "install-$place" install_many_vs_few \
    "$(thousands $many):" "$(thousands $few):" "<= 10x"
  turns "removal of $(thousands $few) files vs rm -r" "$place" "removal-$place" removal_vs_rm \
    removal "rm -r" "<= 2x"
  turns "removal of $(thousands $few) files / $((few / 10)) MB (vandrel-machine) vs rm -r" "$place" "removal-$place" \
    removal_process_vs_rm removal "rm -r" "<= 2x"
  turns "removal $(thousands $many) vs $(thousands $few) files" "$place" "removal-$place" removal_many_vs_few \
    "$(thousands $many):" "$(thousands $few):" "<= 10x"
  turns "generation $(thousands $few) files / $((few / 10)) MB vs cp -r" "$place" "generation-$place" \
    generation_vs_cp/large generation "cp -r" "<= 1.1x"
  turns "generation $(thousands $many) vs $(thousands $few) files" "$place" "generation-$place" \
    generation_many_vs_few "$(thousands $many):" "$(thousands $few):" "<= 10x"
done

run szdd szdd '^BM_ExpandLibmspackVersusOurs|^BM_CompressMscompress|^BM_CompressOurs/256' "$disk"
turns "SZDD expansion: libmspack's time vs ours" disk szdd BM_ExpandLibmspackVersusOurs libmspack ours ">= 10x"
ours=$(value szdd BM_CompressOurs/256 compressed_bytes)
theirs=$(value szdd BM_CompressMscompress compressed_bytes)
size_ratio="?"
[[ $ours =~ ^[0-9.e+]+$ && $theirs =~ ^[0-9.e+]+$ ]] && size_ratio=$(awk -v a="$ours" -v b="$theirs" 'BEGIN { printf "%.3f", a / b }')
line "SZDD compressed size vs mscompress" - "${size_ratio}x" "($(number "$ours" 0) vs $(number "$theirs" 0) bytes)" "keep <= 1x"

run document document '^BM_(Load|Save)DocumentText/50000' "$disk"
load=$(value document BM_LoadDocumentText/50000 real_time)
save=$(value document BM_SaveDocumentText/50000 real_time)
line "document of 50,000 entries: load, save" - "$(number "$load" 0) ms" "(save $(number "$save" 0) ms)" "< 100 ms each"

run check check '^check_entries' "$disk"
turns "check of $(thousands $((reg))) vs $(thousands $((reg / 10))) files" - check check_entries \
  "$(thousands $reg):" "$(thousands $((reg / 10))):" "linear: about 10x"

# Each in a program of its own, so that peak_mb is that figure's.
for kind in ini registry; do
  run "$kind" changes "^${kind}_entries" "$disk"
done
changes() {
  local ms ratio peak
  ms=$(value "$2" "$2_entries" a_ms)
  ratio=$(value "$2" "$2_entries" ratio)
  peak=$(value "$2" "$2_entries" peak_mb)
  line "$1" disk "$(number "$ms" 0) ms" "($(number "$ratio" 1)x a tenth's time, peak $(number "$peak" 0) MB)" \
    "linear, < 3 s, < 200 MB"
}
changes "[AddINI] $(thousands $ini) entries" ini
changes "[Registry] $(thousands $reg) entries" registry
