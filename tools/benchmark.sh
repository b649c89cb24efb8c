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

SECTIONS=(shell_extension throughput progress_routine memory_per_right_click windows11_command)

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
# stored directories against one bare listing of the same values (its floor: one open, one
# enumeration step per value), timed in the same run, and a double-click's default-verb query.
bench_shell_extension() {
  local dll="$build/shellext/Wendrift.dll" bench="$build/tools/wendrift-bench.exe" figures
  if [ ! -f "$dll" ] || [ ! -f "$bench" ] || ! w regsvr32 /s "$(winepath -w "$dll")" >/dev/null ||
     ! figures=$(w "$bench" | tr -d '\r'); then
    echo "The shell extension benchmark could not run${figures:+: $figures}"
    unmeasured initialize-10000-files lt 20 ms
    unmeasured querycontextmenu-10-directories lt 10 ms
    unmeasured querycontextmenu-100-directories-vs-listing le 1.5 x
    unmeasured default-verb-query le 0.05 ms
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
  printf '  One bare listing of those 100 values (one open, 100 enumeration steps):  %.3f ms\n' \
    "$(get listing_100_ms)"
  printf '  The default-verb query of a double-click (CMF_DEFAULTONLY, adds nothing):  %.4f ms\n' \
    "$(get defaultverb_100_ms)"
  local ratio
  ratio=$(awk -v q="$(get querycontextmenu_100_ms)" -v r="$(get listing_100_ms)" \
            'BEGIN { printf "%.2f", q / r }')
  aim initialize-10000-files "$(get initialize_10000_ms)" lt 20 ms
  aim querycontextmenu-10-directories "$(get querycontextmenu_10_ms)" lt 10 ms
  aim querycontextmenu-100-directories-vs-listing "$ratio" le 1.5 x
  aim default-verb-query "$(get defaultverb_100_ms)" le 0.05 ms
}

spread() { sort -g | awk '{ v[NR] = $1 } END { if (NR == 0 || v[1] <= 0) print ""; else printf "%.2f\n", v[NR] / v[1] }'; }
median() { sort -g | awk '{ v[NR] = $1 } END { if (NR == 0) print ""; else if (NR % 2) print v[(NR + 1) / 2]; else printf "%.3f\n", (v[NR / 2] + v[NR / 2 + 1]) / 2 }'; }
ratio() { awk -v a="$1" -v b="$2" 'BEGIN { printf "%.2f", a / b }'; }

# Scratch files of the transfer sections, removed at the end whatever happens.
data="$build/bench-data"
REPETITIONS=7
declare -A copy_ms  # median copy time per set and way: copy_ms[large,b]

# Writes dirty pages back and waits until the kernel's writeback is idle (Dirty and Writeback
# in /proc/meminfo near zero; at most a minute, as others may be writing too), so that a run
# does not pay for the gigabyte the previous one left in the page cache.
settle_writeback() {
  local tries dirty writeback
  for tries in $(seq 120); do
    sync
    read -r dirty writeback < <(awk '$1 == "Dirty:" { d = $2 } $1 == "Writeback:" { w = $2 }
                                     END { print d, w }' /proc/meminfo)
    [ "$dirty" -le 16384 ] && [ "$writeback" -le 1024 ] && return 0
    sleep 0.5
  done
  echo "  (writeback still busy after a minute: Dirty $dirty kB, Writeback $writeback kB)" >&2
}

# One copy of set $1 into an empty folder by way $2 (a: InvokeCommand with the dialog,
# b: CopyFileExW loop, n: the same loop refusing existing targets, c: cp); prints
# milliseconds, nothing when it failed.
copy_once() {
  local set=$1 way=$2 src="$data/$1" dst="$data/to" start end
  rm -rf "$dst" && mkdir -p "$dst" && settle_writeback
  case $way in
    a) rm -rf "$data/warm-up-to" && mkdir -p "$data/warm-up-to"
       w "$build/tools/wendrift-transfer-bench.exe" invoke "$(winepath -w "$src")" "$(winepath -w "$dst")" \
         "$(winepath -w "$data/warm-up")" "$(winepath -w "$data/warm-up-to")" | tr -d '\r' >"$data/invoke.out"
       awk '$1 == "warmup_ms" { print $2 }' "$data/invoke.out" >>"$data/warm-up.ms"
       awk '$1 == "ms" { print $2 }' "$data/invoke.out" ;;
    b|n) local mode=copyloop
       [ "$way" = n ] && mode=copyloop-new
       w "$build/tools/wendrift-transfer-bench.exe" "$mode" "$(winepath -w "$src")" "$(winepath -w "$dst")" |
         tr -d '\r' | awk '$1 == "ms" { print $2 }' ;;
    c) start=$(date +%s%N)
       cp "$src"/* "$dst"/ || return 1
       end=$(date +%s%N)
       awk -v s="$start" -v e="$end" 'BEGIN { printf "%.3f\n", (e - s) / 1e6 }' ;;
  esac
}

# The same files copied four ways, in rotating order, REPETITIONS times each.
bench_throughput() {
  local dll="$build/shellext/Wendrift.dll" set way rep order
  if [ ! -f "$dll" ] || [ ! -f "$build/tools/wendrift-transfer-bench.exe" ] ||
     ! w regsvr32 /s "$(winepath -w "$dll")" >/dev/null; then
    echo "The throughput benchmark could not run: library or benchmark program missing"
    unmeasured throughput-8x128MiB-vs-copyfileex le 1.05 x
    unmeasured throughput-2000x4KiB-vs-copyfileex le 1.15 x
    return 1
  fi
  rm -rf "$data" && mkdir -p "$data/large" "$data/small" "$data/warm-up"
  head -c 4096 /dev/urandom >"$data/warm-up/warm-up.wdtp"
  for i in 0 1 2 3 4 5 6 7; do
    head -c $((128 << 20)) /dev/urandom >"$data/large/file $i.wdtp"
  done
  (cd "$data/small" && head -c $((2000 * 4096)) /dev/urandom |
     split -b 4096 -a 4 -d --additional-suffix=.wdtp - "small ")
  # The ways of one repetition run back to back, so their ratios compare runs made under the
  # same load; the aims judge the median of those paired ratios.
  declare -A samples ratios
  local ways=(a b n c) ms
  for rep in $(seq "$REPETITIONS"); do
    for set in large small; do
      declare -A this=()
      for order in 0 1 2 3; do
        way=${ways[$(( (order + rep) % 4 ))]}
        ms=$(copy_once "$set" "$way")
        samples[$set,$way]+="$ms "
        this[$way]=$ms
      done
      if [ -n "${this[a]}" ] && [ -n "${this[b]}" ] && [ -n "${this[n]}" ] && [ -n "${this[c]}" ]; then
        ratios[$set,ab]+="$(ratio "${this[a]}" "${this[b]}") "
        ratios[$set,an]+="$(ratio "${this[a]}" "${this[n]}") "
        ratios[$set,ac]+="$(ratio "${this[a]}" "${this[c]}") "
      fi
      unset this
    done
  done
  rm -rf "$data/to"
  local failed=0
  echo "Throughput: the same files into an empty folder, $REPETITIONS repetitions of four ways in rotating order,"
  echo "each run started after dirty pages were written back and writeback was idle:"
  echo "  (a)  InvokeCommand \"Cop&y To\" with the progress dialog, until its threads are gone"
  echo "       (in a process that has already run one transfer, as the shell's has shown windows)"
  echo "  (b)  a plain CopyFileExW loop, no progress routine, one process"
  echo "  (b') the same loop with COPY_FILE_FAIL_IF_EXISTS, as (a) copies to a new name: under Wine"
  echo "       (b) opens each target with truncation, and ext4 then writes a truncated file back"
  echo "       when it is closed, which (a) and (b') do not pay"
  echo "  (c)  Linux cp (the floor)"
  declare -A spreads
  for set in large small; do
    for way in a b n c; do
      copy_ms[$set,$way]=$(tr ' ' '\n' <<<"${samples[$set,$way]}" | grep -v '^$' | median)
      spreads[$set,$way]=$(tr ' ' '\n' <<<"${samples[$set,$way]}" | grep -v '^$' | spread)
      local count
      count=$(tr ' ' '\n' <<<"${samples[$set,$way]}" | grep -c -v '^$')
      [ "$count" -eq "$REPETITIONS" ] || failed=1
    done
  done
  if [ $failed = 1 ]; then
    echo "  some runs failed: ${samples[*]}"
    unmeasured throughput-8x128MiB-vs-copyfileex le 1.05 x
    unmeasured throughput-2000x4KiB-vs-copyfileex le 1.15 x
    return 1
  fi
  # Ratios: medians of the ratios within each repetition, with their own spread.
  local label pair
  declare -A paired pairedSpread
  for set in large small; do
    for pair in ab an ac; do
      paired[$set,$pair]=$(tr ' ' '\n' <<<"${ratios[$set,$pair]}" | grep -v '^$' | median)
      pairedSpread[$set,$pair]=$(tr ' ' '\n' <<<"${ratios[$set,$pair]}" | grep -v '^$' | spread)
    done
  done
  printf '  %-22s %15s %15s %15s %15s\n' "ms, median (spread)" "(a)" "(b)" "(b')" "(c)"
  for set in large small; do
    [ $set = large ] && label="8 files of 128 MiB" || label="2,000 files of 4 KiB"
    printf '  %-22s %8.1f (%4.2f) %8.1f (%4.2f) %8.1f (%4.2f) %8.1f (%4.2f)\n' "$label" \
      "${copy_ms[$set,a]}" "${spreads[$set,a]}" "${copy_ms[$set,b]}" "${spreads[$set,b]}" \
      "${copy_ms[$set,n]}" "${spreads[$set,n]}" "${copy_ms[$set,c]}" "${spreads[$set,c]}"
  done
  printf '  %-22s %15s %15s %15s\n' "ratio, median (spread)" "a/b" "a/b'" "a/c"
  for set in large small; do
    [ $set = large ] && label="8 files of 128 MiB" || label="2,000 files of 4 KiB"
    printf '  %-22s %8.2f (%4.2f) %8.2f (%4.2f) %8.2f (%4.2f)\n' "$label" \
      "${paired[$set,ab]}" "${pairedSpread[$set,ab]}" "${paired[$set,an]}" "${pairedSpread[$set,an]}" \
      "${paired[$set,ac]}" "${pairedSpread[$set,ac]}"
  done
  echo "  (spread = slowest / fastest run, or largest / smallest ratio)"
  printf '  first transfer in a process (one 4 KiB file, before each (a) run): median %.1f ms\n' \
    "$(median <"$data/warm-up.ms")"
  for set in large small; do
    printf '  all runs (ms), %-5s a: %s| b: %s| b'"'"': %s| c: %s\n' "$set" "${samples[$set,a]}" \
      "${samples[$set,b]}" "${samples[$set,n]}" "${samples[$set,c]}"
  done
  printf '  a/b per repetition: large %s| small %s\n' "${ratios[large,ab]}" "${ratios[small,ab]}"
  printf "  a/b' per repetition: large %s| small %s\n" "${ratios[large,an]}" "${ratios[small,an]}"
  aim throughput-8x128MiB-vs-copyfileex "${paired[large,ab]}" le 1.05 x
  aim throughput-2000x4KiB-vs-copyfileex "${paired[small,ab]}" le 1.15 x
}

# TransferProgressRoutine in the middle of a file (it publishes the byte count, nothing else),
# against the copy time of a GiB (the large set above is exactly 1 GiB; its CopyFileExW loop is
# the copy time).
bench_progress_routine() {
  local figures ns gib_ms cost_ms share
  if ! figures=$(w "$build/tools/wendrift-transfer-bench.exe" routine | tr -d '\r') ||
     ! ns=$(awk '$1 == "routine_ns" { print $2 }' <<<"$figures") || [ -z "$ns" ]; then
    echo "The progress routine benchmark could not run${figures:+: $figures}"
    unmeasured progress-routine-per-GiB lt 1 %
    return 1
  fi
  gib_ms=${copy_ms[large,b]:-}
  cost_ms=$(awk -v ns="$ns" 'BEGIN { printf "%.3f", ns * 1024 / 1e6 }')
  echo "Progress routine, a call in the middle of a file (median of 30 batches of 2,000):"
  printf '  per call: %.1f ns; per GiB at one call per MiB (1,024 calls): %.3f ms\n' "$ns" "$cost_ms"
  if [ -z "$gib_ms" ]; then
    echo "  no copy time of a GiB measured (throughput section failed)"
    unmeasured progress-routine-per-GiB lt 1 %
    return 1
  fi
  share=$(awk -v c="$cost_ms" -v g="$gib_ms" 'BEGIN { printf "%.4f", c * 100 / g }')
  printf '  copy time of a GiB (CopyFileExW loop, 8 x 128 MiB): %.1f ms; the calls are %s%% of it\n' \
    "$gib_ms" "$share"
  aim progress-routine-per-GiB "$share" lt 1 %
}

# Private bytes the shell's process keeps per right-click (handlers are never freed: one
# object, its last selection and its last menu's records stay per right-click).
bench_memory_per_right_click() {
  local figures folder="$data/memory"
  rm -rf "$folder" && mkdir -p "$folder"
  if ! figures=$(w "$build/tools/wendrift-memory-bench.exe" "$(winepath -w "$folder")" | tr -d '\r') ||
     ! grep -q '^rightclick_bytes ' <<<"$figures"; then
    echo "The memory benchmark could not run${figures:+: $figures}"
    return 1
  fi
  rm -rf "$folder"
  get() { awk -v k="$1" '$1 == k { print $2 }' <<<"$figures"; }
  echo "Memory: private bytes kept per right-click, over 10,000 after a warm-up of 200:"
  printf '  right-click (create, Initialize with 10 files, QueryContextMenu, Release): %8.1f bytes\n' \
    "$(get rightclick_bytes)"
  printf '  of which the handler object alone (create and Release):                  %8.1f bytes\n' \
    "$(get created_bytes)"
  printf '  Initialize again on one handler (the previous selection given back):     %8.1f bytes\n' \
    "$(get selection_bytes)"
  # A figure to watch, not an aim: handlers are never freed by design, so some memory per
  # right-click is expected.
}

# The Windows 11 command's GetState, which Explorer calls on every right-click of any file:
# against one open and close of the extension's store key, timed in the same run.
bench_windows11_command() {
  local dll="$build/shellext/Wendrift.dll" figures ratio
  if [ ! -f "$dll" ] || ! figures=$(w "$build/tools/wendrift-command-bench.exe" "$(winepath -w "$dll")" | tr -d '\r') ||
     ! grep -q '^registry_open_us ' <<<"$figures"; then
    echo "The Windows 11 command benchmark could not run${figures:+: $figures}"
    unmeasured getstate-vs-registry-open le 2 x
    return 1
  fi
  get() { awk -v k="$1" '$1 == k { print $2 }' <<<"$figures"; }
  echo "Windows 11 command, GetState per right-click (medians of 31 batches of 200 calls, 4 for 100 files):"
  printf '  one file of an associated extension, in the folder of the last right-click:  %8.2f us\n' \
    "$(get getstate_1_us)"
  printf '  the same, each right-click in another folder than the last:               %8.2f us\n' \
    "$(get getstate_newfolder_us)"
  printf '  one file of an extension not in the store:                                %8.2f us\n' \
    "$(get getstate_unassociated_us)"
  printf '  100 files of an associated extension:                                     %8.2f us\n' \
    "$(get getstate_100_us)"
  printf '  RegOpenKeyExW + RegCloseKey of the extension'"'"'s key:                        %8.2f us\n' \
    "$(get registry_open_us)"
  # A right-click in another folder must bind that folder to learn the file's name; under Wine
  # the bind alone costs several registry opens. The command keeps the last folder bound.
  printf '  the shell binding a file'"'"'s folder, alone:                                  %8.2f us\n' \
    "$(get bind_folder_us)"
  # The classic handler stays away only on a sighting: GetState records each right-click's
  # selection in a slot of shared memory, and the classic handler compares its own with it.
  printf '  sighting slot: mapped once per process %.1f us; recorded by each GetState %.3f us;\n' \
    "$(get sighting_first_use_us)" "$(get sighting_write_us)"
  printf '    asked by the classic handler: last seen another selection %.3f us, this one (override read) %.2f us\n' \
    "$(get sighting_read_other_us)" "$(get sighting_read_same_us)"
  printf '  another folder, against the registry open: %.2f x (of which the bind %.2f x)\n' \
    "$(awk -v g="$(get getstate_newfolder_us)" -v r="$(get registry_open_us)" 'BEGIN { printf "%.2f", g / r }')" \
    "$(awk -v b="$(get bind_folder_us)" -v r="$(get registry_open_us)" 'BEGIN { printf "%.2f", b / r }')"
  ratio=$(awk -v g="$(get getstate_1_us)" -v r="$(get registry_open_us)" 'BEGIN { printf "%.2f", g / r }')
  aim getstate-vs-registry-open "$ratio" le 2 x
}

trap 'rm -rf "$data"; "$root/tools/wine-session.sh" stop "$build" >/dev/null 2>&1' EXIT
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
