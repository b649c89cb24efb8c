#!/usr/bin/env bash
# Wendrift's benchmarks under Wine. Run from the repository root after a build, no arguments:
#
#   tools/benchmark.sh
#
# It uses the build folder ./build (or $WENDRIFT_BUILD_DIR), starts a Wine session of its own
# (prefix and Xvfb inside the build folder, through tools/wine-session.sh) and stops it at the
# end. Each section prints its figures; the run ends with one line per aim:
#
#   aim <name>: <measured> (aim <bound>) met        or   ... missed
#
# Adding a section: write a function bench_<name> that prints its figures and calls
# `aim NAME MEASURED OP BOUND UNIT` (OP lt or le) once per aim - or `unmeasured NAME OP BOUND
# UNIT` when it could not measure - and append <name> to SECTIONS below.
set -uo pipefail
export LC_ALL=C  # decimal points in the figures, whatever the user's locale
root=$(cd "$(dirname "$0")/.." && pwd)
build="${WENDRIFT_BUILD_DIR:-$root/build}"
if [ ! -d "$build" ]; then
  echo "No build folder at $build: build first (tools/build-and-test.sh), or set WENDRIFT_BUILD_DIR." >&2
  exit 2
fi
build=$(cd "$build" && pwd)

SECTIONS=(shell_extension)

aims=()
symbol() { [ "$1" = lt ] && echo "<" || echo "<="; }
aim() {
  local name=$1 measured=$2 op=$3 bound=$4 unit=$5 verdict=missed
  if awk -v m="$measured" -v b="$bound" -v op="$op" \
       'BEGIN { exit !((op == "lt") ? (m + 0 < b + 0) : (m + 0 <= b + 0)) }'; then
    verdict=met
  fi
  aims+=("aim $name: $measured $unit (aim $(symbol "$op") $bound $unit) $verdict")
}
unmeasured() {
  aims+=("aim $1: not measured (aim $(symbol "$2") $3 $4) missed")
}

# Runs a Windows program in the session; its output goes through a file, because Wine's helper
# processes inherit an output pipe and would hold it open.
w() {
  local out rc
  out=$(mktemp "${TMPDIR:-/tmp}/wendrift-bench.XXXXXX")
  timeout --kill-after=5 600 wine "$@" >"$out" 2>&1 </dev/null
  rc=$?
  grep -v -E '^(it looks like wine32 is missing|multiarch needs to be enabled|execute "dpkg --add-architecture|apt-get install wine32)' "$out"
  rm -f "$out"
  return $rc
}

# The handler through COM: Initialize with many selected files, QueryContextMenu with many
# stored directories, and the bare registry calls the latter makes, timed in the same run.
bench_shell_extension() {
  local dll="$build/shellext/Wendrift.dll" bench="$build/tools/wendrift-bench.exe" figures
  if [ ! -f "$dll" ] || [ ! -f "$bench" ] || ! w regsvr32 /s "$(winepath -w "$dll")" >/dev/null ||
     ! figures=$(w "$bench" | tr -d '\r'); then
    echo "The shell extension benchmark could not run${figures:+: $figures}"
    unmeasured initialize-10000-files lt 20 ms
    unmeasured querycontextmenu-10-directories lt 10 ms
    unmeasured querycontextmenu-100-directories-vs-registry le 1.25 x
    return 1
  fi
  get() { awk -v k="$1" '$1 == k { print $2 }' <<<"$figures"; }
  echo "Shell extension, through COM as the shell calls it (medians):"
  printf '  Initialize, %6s files:  %9.3f ms  (of which the data object'"'"'s GetData %.3f ms;\n' \
    1,000 "$(get initialize_1000_ms)" "$(get getdata_1000_ms)"
  printf '                                     reading it with DragQueryFileW per index: %.1f ms)\n' \
    "$(get dragqueryfile_1000_ms)"
  printf '  Initialize, %6s files:  %9.3f ms  (GetData %.3f ms; DragQueryFileW per index %.1f ms)\n' \
    10,000 "$(get initialize_10000_ms)" "$(get getdata_10000_ms)" "$(get dragqueryfile_10000_ms)"
  for n in 10 100 1000; do
    printf '  QueryContextMenu, %4s directories:  %9.3f ms\n' "$n" "$(get querycontextmenu_${n}_ms)"
  done
  printf '  The registry calls it makes for 100 directories, alone:  %.3f ms\n' "$(get registry_100_ms)"
  local ratio
  ratio=$(awk -v q="$(get querycontextmenu_100_ms)" -v r="$(get registry_100_ms)" \
            'BEGIN { printf "%.2f", q / r }')
  aim initialize-10000-files "$(get initialize_10000_ms)" lt 20 ms
  aim querycontextmenu-10-directories "$(get querycontextmenu_10_ms)" lt 10 ms
  aim querycontextmenu-100-directories-vs-registry "$ratio" le 1.25 x
}

trap '"$root/tools/wine-session.sh" stop "$build" >/dev/null 2>&1' EXIT
"$root/tools/wine-session.sh" start "$build" >/dev/null || { echo "Wine session did not start" >&2; exit 2; }
export WINEPREFIX="$build/wineprefix" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
export DISPLAY=":$(head -n1 "$build/xvfb.display")"

echo "Machine: $(grep -m1 'model name' /proc/cpuinfo | cut -d: -f2 | sed 's/^ //'), $(nproc) CPUs," \
     "$(free -g | awk '/^Mem:/ { print $2 " GB" }'), $(wine --version 2>/dev/null), load $(cut -d' ' -f1-3 /proc/loadavg)"
status=0
for section in "${SECTIONS[@]}"; do
  echo
  "bench_$section" || status=2
done
echo
printf '%s\n' "${aims[@]}"
exit $status
