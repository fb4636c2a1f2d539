#!/usr/bin/env bash
# Times korimo-cli against ArgyllCMS colverify on the same pair of 3000-patch
# measurement files, and on two real 1617-patch characterization data sets
# (FOGRA39L.ti3 and TR006.ti3 of the Debian package icc-profiles-free, when
# installed), alternating the two commands so that both see the same machine
# state, and measures korimo-cli's peak memory on three 3000-patch files.
#
#   bench/colverify_compare.sh [-n RUNS] [-c PATH/TO/korimo-cli]
#
# Defaults: 30 runs of each, the korimo-cli of the release preset (build/release).
# Exits 1 when a target is missed: median time ratio korimo/colverify <= 0.5
# on the 3000-patch pair and <= 0.3 on the real pair, peak resident set size
# of korimo-cli <= 16 MB.
set -euo pipefail

repo=$(cd "$(dirname "$0")/.." && pwd)
runs=30
cli="$repo/build/release/src/cli/korimo-cli"
while getopts "n:c:" opt; do
  case $opt in
    n) runs=$OPTARG ;;
    c) cli=$OPTARG ;;
    *) echo "usage: $0 [-n RUNS] [-c KORIMO_CLI]" >&2; exit 2 ;;
  esac
done

ratio_target=0.5
real_ratio_target=0.3
real_data=/usr/share/color/icc
rss_target_kb=$((16 * 1024))

for tool in "$cli" "$(command -v colverify || true)" /usr/bin/time python3; do
  if [[ -z $tool ]] || ! command -v "$tool" >/dev/null; then
    echo "missing: ${tool:-colverify} (korimo-cli is built by the Release tree; colverify is in the Debian package argyll)" >&2
    exit 2
  fi
done

work=$(mktemp -d "${TMPDIR:-/tmp}/korimo-colverify.XXXXXX")
trap 'rm -rf "$work"' EXIT

# The generated files carry DEVICE_CLASS "OUTPUT" and COLOR_REP "CMYK_LAB",
# which colverify needs; korimo-cli reads the very same copies.
python3 "$repo/samples/generate.py" --patches 3000 --out "$work" >/dev/null
cp "$work/reference.txt" "$work/REF.ti3"
cp "$work/file1.txt" "$work/FILE1.ti3"
cp "$work/file2.txt" "$work/FILE2.ti3"
cd "$work"

korimo_cmd=("$cli" REF.ti3 FILE1.ti3 --format results -o /dev/null)
colverify_cmd=(colverify -k REF.ti3 FILE1.ti3)

# Both tools must really do the work before their time means anything.
if ! "${colverify_cmd[@]}" >colverify.out 2>&1 || ! grep -q "CIEDE2000" colverify.out; then
  echo "colverify did not accept the files:" >&2
  cat colverify.out >&2
  exit 2
fi
if ! "$cli" REF.ti3 FILE1.ti3 --format results -o korimo.out 2>korimo.err \
    || [[ $(grep -c $'\t\r$' korimo.out) -ne 3000 ]]; then
  echo "korimo-cli did not produce 3000 result rows:" >&2
  cat korimo.err >&2
  exit 2
fi

# Microseconds of one run, from bash's own clock (no extra process).
time_us() {
  local start=$EPOCHREALTIME
  "$@" >/dev/null 2>&1
  local end=$EPOCHREALTIME
  echo $(( (10#${end//[.,]/} - 10#${start//[.,]/}) ))
}

median() {
  sort -n | awk '{ v[NR] = $1 } END { if (NR % 2) print v[(NR + 1) / 2]; else print (v[NR / 2] + v[NR / 2 + 1]) / 2 }'
}

# One warm-up of each for the page cache and the dynamic loader.
time_us "${korimo_cmd[@]}" >/dev/null
time_us "${colverify_cmd[@]}" >/dev/null

: >korimo.times
: >colverify.times
for ((i = 0; i < runs; i++)); do
  time_us "${korimo_cmd[@]}" >>korimo.times
  time_us "${colverify_cmd[@]}" >>colverify.times
done

korimo_med=$(median <korimo.times)
colverify_med=$(median <colverify.times)
ratio=$(awk -v k="$korimo_med" -v c="$colverify_med" 'BEGIN { printf "%.3f", k / c }')

# The real pair, when installed: its own alternating runs.
real_ratio=""
if [[ -r $real_data/FOGRA39L.ti3 && -r $real_data/TR006.ti3 ]]; then
  cp "$real_data/FOGRA39L.ti3" "$real_data/TR006.ti3" .
  : >korimo-real.times
  : >colverify-real.times
  for ((i = 0; i < runs; i++)); do
    time_us "$cli" FOGRA39L.ti3 TR006.ti3 --format results -o /dev/null >>korimo-real.times
    time_us colverify -k FOGRA39L.ti3 TR006.ti3 >>colverify-real.times
  done
  korimo_real=$(median <korimo-real.times)
  colverify_real=$(median <colverify-real.times)
  real_ratio=$(awk -v k="$korimo_real" -v c="$colverify_real" 'BEGIN { printf "%.3f", k / c }')
fi

max_rss_kb() {
  /usr/bin/time -v "$@" 2>&1 >/dev/null | awk -F: '/Maximum resident set size/ { gsub(/ /, "", $2); print $2 }'
}
korimo_rss=$(max_rss_kb "$cli" REF.ti3 FILE1.ti3 FILE2.ti3 --format results -o /dev/null)
colverify_rss=$(max_rss_kb "${colverify_cmd[@]}")

ms() { awk -v us="$1" 'BEGIN { printf "%.2f ms", us / 1000 }'; }

echo "3000 patches, $runs alternating runs each"
echo "  korimo-cli REF FILE1 --format results -o /dev/null   median $(ms "$korimo_med")"
echo "  colverify -k REF.ti3 FILE1.ti3                      median $(ms "$colverify_med")"
echo "  ratio korimo/colverify                              $ratio (target <= $ratio_target)"
if [[ -n $real_ratio ]]; then
  echo "FOGRA39L.ti3 against TR006.ti3 (1617 patches), $runs alternating runs each"
  echo "  korimo-cli FOGRA39L TR006 --format results          median $(ms "$korimo_real")"
  echo "  colverify -k FOGRA39L.ti3 TR006.ti3                 median $(ms "$colverify_real")"
  echo "  ratio korimo/colverify                              $real_ratio (target <= $real_ratio_target)"
else
  echo "FOGRA39L.ti3/TR006.ti3 not installed (icc-profiles-free): real pair skipped"
fi
echo "Peak resident set size"
echo "  korimo-cli REF F1 F2 --format results -o /dev/null  ${korimo_rss} kB (target <= ${rss_target_kb} kB)"
echo "  colverify -k REF.ti3 FILE1.ti3 (for comparison)     ${colverify_rss} kB"

status=0
if awk -v r="$ratio" -v t="$ratio_target" 'BEGIN { exit !(r > t) }'; then
  echo "MISSED: time ratio above $ratio_target" >&2
  status=1
fi
if [[ -n $real_ratio ]] && awk -v r="$real_ratio" -v t="$real_ratio_target" 'BEGIN { exit !(r > t) }'; then
  echo "MISSED: time ratio on the real pair above $real_ratio_target" >&2
  status=1
fi
if ((korimo_rss > rss_target_kb)); then
  echo "MISSED: peak memory above $rss_target_kb kB" >&2
  status=1
fi
exit $status
