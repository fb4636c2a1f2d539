#!/usr/bin/env bash
# Times `korimo-cli run` over N sheets made from a real characterization data
# set (noise and a slow drift, bench/make_run.py) against the same N sheets
# compared one process at a time, as a script would: N single
# `korimo-cli REFERENCE SHEET` runs and N `colverify -k REFERENCE SHEET` runs
# (ArgyllCMS, Debian package argyll). Then the run's peak memory over 10 x N
# sheets (the N files named ten times over) for each output format.
#
#   bench/run_compare.sh [-n SHEETS] [-r REPEATS] [-c KORIMO_CLI] [DATA]
#
# Defaults: 1000 sheets, 5 repeats (medians are printed), the korimo-cli of
# the release preset, FOGRA39L.ti3 of the Debian package icc-profiles-free.
# The sheets are written to a scratch folder and removed afterwards: nothing
# derived from the data set is kept.
set -euo pipefail

repo=$(cd "$(dirname "$0")/.." && pwd)
sheets=1000
repeats=5
cli="$repo/build/release/src/cli/korimo-cli"
while getopts "n:r:c:" opt; do
  case $opt in
    n) sheets=$OPTARG ;;
    r) repeats=$OPTARG ;;
    c) cli=$OPTARG ;;
    *) echo "usage: $0 [-n SHEETS] [-r REPEATS] [-c KORIMO_CLI] [DATA]" >&2; exit 2 ;;
  esac
done
shift $((OPTIND - 1))
data=${1:-/usr/share/color/icc/FOGRA39L.ti3}
for tool in "$cli" colverify /usr/bin/time python3; do
  if ! command -v "$tool" >/dev/null; then
    echo "missing: $tool" >&2
    exit 2
  fi
done
[[ -r $data ]] || { echo "missing: $data (Debian package icc-profiles-free)" >&2; exit 2; }

work=$(mktemp -d "${TMPDIR:-/tmp}/korimo-run-bench.XXXXXX")
trap 'rm -rf "$work"' EXIT
python3 "$repo/bench/make_run.py" "$data" "$sheets" "$work/run"
cd "$work/run"
ls sheet*.txt >list.txt

# Median of the wall times (seconds) of REPEATS runs of a shell command.
median_wall() {
  local times=()
  for ((i = 0; i < repeats; i++)); do
    /usr/bin/time -f %e -o "$work/time" bash -c "$1" >/dev/null 2>&1
    times+=("$(tail -n 1 "$work/time")")
  done
  printf '%s\n' "${times[@]}" | sort -g | awk '{a[NR] = $1} END {print a[int((NR + 1) / 2)]}'
}

run_cmd="'$cli' run reference.txt --sheets-from list.txt --format csv -o /dev/null"
single_cmd="while read -r f; do '$cli' reference.txt \"\$f\" -o /dev/null; done <list.txt"
colverify_cmd="while read -r f; do colverify -k reference.txt \"\$f\"; done <list.txt"

bash -c "$run_cmd"  # warm the page cache
run=$(median_wall "$run_cmd")
single=$(median_wall "$single_cmd")
colverify=$(median_wall "$colverify_cmd")
patches=$(awk '/^END_DATA/ {d = 0} d {n++} /^BEGIN_DATA\r?$/ {d = 1} END {print n}' reference.txt)
echo "$sheets sheets of $patches patches, median wall of $repeats runs:"
printf '  korimo-cli run (csv)          %8.3f s\n' "$run"
printf '  %d x korimo-cli REF SHEET  %8.3f s   (run is %.1f times faster)\n' "$sheets" "$single" \
  "$(echo "$single / $run" | bc -l)"
printf '  %d x colverify -k          %8.3f s   (run is %.1f times faster)\n' "$sheets" \
  "$colverify" "$(echo "$colverify / $run" | bc -l)"

for ((k = 0; k < 10; k++)); do cat list.txt; done >list10.txt
for format in csv json html; do
  /usr/bin/time -f %M -o "$work/time" "$cli" run reference.txt --sheets-from list10.txt \
    --format "$format" -o "out.$format" >/dev/null 2>&1
  peak=$(tail -n 1 "$work/time")
  printf '  peak memory, %d sheets, %-4s  %6.1f MB\n' $((10 * sheets)) "$format" \
    "$(echo "$peak / 1024" | bc -l)"
done
