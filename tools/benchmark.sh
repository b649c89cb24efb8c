#!/usr/bin/env bash
# Wendrift's benchmarks under Wine. Run from the repository root after a build:
#
#   tools/benchmark.sh              every section
#   tools/benchmark.sh SECTION...   only these (shell_extension, throughput, progress_routine,
#                                   memory_per_right_click, windows11_command)
#
# It uses the build folder ./build (or $WENDRIFT_BUILD_DIR), starts a Wine session of its own
# (prefix and Xvfb inside the build folder, through tools/wine-session.sh) and stops it at the
# end. Run as root, it also mounts a tmpfs in the build folder as a Wine drive for the
# throughput section, and unmounts and removes it at the end whatever happens. Each section
# prints its figures; the run ends with one line per aim:
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
if [ $# -gt 0 ]; then
  for section in "$@"; do
    [[ " ${SECTIONS[*]} " == *" $section "* ]] || { echo "No section $section: ${SECTIONS[*]}" >&2; exit 2; }
  done
  SECTIONS=("$@")
fi

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

# Scratch files of the transfer sections, removed at the end whatever happens: on the build
# folder's disk, and on a RAM drive (a tmpfs mounted as a Wine drive letter, root only), where
# no disk hides the engine's own cost.
data="$build/bench-data"
ram="$build/bench-ram"
ram_drive=""  # the drive letter while the RAM drive is there
REPETITIONS=7
declare -A copy_ms  # median copy time per place, set and way: copy_ms[disk,large,b]
declare -A paired   # median ratio per place, set and pair: paired[ram,small,ab]
declare -A fixed_parts  # median fixed start of a transfer and its parts per place: fixed_parts[ram,fixed_ms]

# Mounts the tmpfs and maps a free drive letter of the prefix onto it; false when not root or
# when it could not be made.
ram_drive_up() {
  [ "$(id -u)" -eq 0 ] || return 1
  local letter
  for letter in r s t u v w x y; do
    [ -e "$WINEPREFIX/dosdevices/$letter:" ] || { ram_drive=$letter; break; }
  done
  [ -n "$ram_drive" ] || return 1
  mkdir -p "$ram" && mount -t tmpfs -o size=2560m wendrift-bench "$ram" &&
    ln -s "$ram" "$WINEPREFIX/dosdevices/$ram_drive:"
}

# Whatever happened: the drive letter, the mount and its folder go.
ram_drive_down() {
  [ -n "$ram_drive" ] && rm -f "$WINEPREFIX/dosdevices/$ram_drive:"
  ram_drive=""
  if mountpoint -q "$ram" 2>/dev/null; then
    umount "$ram" 2>/dev/null || umount -l "$ram"
  fi
  rmdir "$ram" 2>/dev/null
  return 0
}

# The Windows path of a path of the data folders: on the RAM drive by its letter.
winpath() {
  if [ -n "$ram_drive" ] && [ "${1#"$ram"/}" != "$1" ]; then
    local rest=${1#"$ram"/}
    printf '%s:\\%s\n' "${ram_drive^^}" "${rest//\//\\}"
  else
    winepath -w "$1"
  fi
}

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

# One copy of set $2 of folder $1 into an empty folder by way $3 (a: InvokeCommand with the
# dialog, b: CopyFileExW loop, n: the same loop refusing existing targets, c: cp); prints
# milliseconds, nothing when it failed.
copy_once() {
  local base=$1 set=$2 way=$3 src="$1/$2" dst="$1/to" start end
  rm -rf "$dst" && mkdir -p "$dst" && settle_writeback
  case $way in
    a) rm -rf "$base/warm-up-to" && mkdir -p "$base/warm-up-to"
       w "$build/tools/wendrift-transfer-bench.exe" invoke "$(winpath "$src")" "$(winpath "$dst")" \
         "$(winpath "$base/warm-up")" "$(winpath "$base/warm-up-to")" | tr -d '\r' >"$base/invoke.out"
       awk '$1 == "warmup_ms" { print $2 }' "$base/invoke.out" >>"$base/warm-up.ms"
       # The fixed start and end of a transfer in that process, with its parts, noted by set.
       awk -v set="$set" '$1 == "fixed_ms" || $1 == "dialog_ms" || $1 == "threads_ms" {
         print set, $1, $2 }' "$base/invoke.out" >>"$base/fixed.ms"
       awk '$1 == "ms" { print $2 }' "$base/invoke.out" ;;
    b|n) local mode=copyloop
       [ "$way" = n ] && mode=copyloop-new
       w "$build/tools/wendrift-transfer-bench.exe" "$mode" "$(winpath "$src")" "$(winpath "$dst")" |
         tr -d '\r' | awk '$1 == "ms" { print $2 }' ;;
    c) start=$(date +%s%N)
       cp "$src"/* "$dst"/ || return 1
       end=$(date +%s%N)
       awk -v s="$start" -v e="$end" 'BEGIN { printf "%.3f\n", (e - s) / 1e6 }' ;;
  esac
}

# The same files copied four ways in folder $2 ($1 names the place: disk or ram), in rotating
# order, REPETITIONS times each; prints the figures and fills copy_ms and paired. False when a
# run failed.
measure_throughput() {
  local place=$1 base=$2 set way rep order ms fixed
  rm -rf "$base"/{large,small,warm-up,to,warm-up-to,warm-up.ms,fixed.ms} &&
    mkdir -p "$base/large" "$base/small" "$base/warm-up" || return 1
  head -c 4096 /dev/urandom >"$base/warm-up/warm-up.wdtp"
  for i in 0 1 2 3 4 5 6 7; do
    head -c $((128 << 20)) /dev/urandom >"$base/large/file $i.wdtp"
  done
  (cd "$base/small" && head -c $((2000 * 4096)) /dev/urandom |
     split -b 4096 -a 4 -d --additional-suffix=.wdtp - "small ")
  # The ways of one repetition run back to back, so their ratios compare runs made under the
  # same load; the aims judge the median of those paired ratios.
  declare -A samples ratios spreads pairedSpread
  local ways=(a b n c)
  for rep in $(seq "$REPETITIONS"); do
    for set in large small; do
      declare -A this=()
      for order in 0 1 2 3; do
        way=${ways[$(( (order + rep) % 4 ))]}
        ms=$(copy_once "$base" "$set" "$way")
        samples[$set,$way]+="$ms "
        this[$way]=$ms
      done
      if [ -n "${this[a]}" ] && [ -n "${this[b]}" ] && [ -n "${this[n]}" ] && [ -n "${this[c]}" ]; then
        # Per byte: (a) less the fixed start and end its own process measured just before.
        fixed=$(awk -v set="$set" '$1 == set && $2 == "fixed_ms" { f = $3 } END { print f }' "$base/fixed.ms")
        ratios[$set,pb]+="$(ratio "$(awk -v a="${this[a]}" -v f="$fixed" 'BEGIN { print a - f }')" "${this[b]}") "
        ratios[$set,ab]+="$(ratio "${this[a]}" "${this[b]}") "
        ratios[$set,an]+="$(ratio "${this[a]}" "${this[n]}") "
        ratios[$set,ac]+="$(ratio "${this[a]}" "${this[c]}") "
      fi
      unset this
    done
  done
  local failed=0 count label pair
  for set in large small; do
    for way in a b n c; do
      copy_ms[$place,$set,$way]=$(tr ' ' '\n' <<<"${samples[$set,$way]}" | grep -v '^$' | median)
      spreads[$set,$way]=$(tr ' ' '\n' <<<"${samples[$set,$way]}" | grep -v '^$' | spread)
      count=$(tr ' ' '\n' <<<"${samples[$set,$way]}" | grep -c -v '^$')
      [ "$count" -eq "$REPETITIONS" ] || failed=1
    done
  done
  local first part
  first=$(median <"$base/warm-up.ms")
  for part in fixed_ms dialog_ms threads_ms; do
    fixed_parts[$place,$part]=$(awk -v p="$part" '$2 == p { print $3 }' "$base/fixed.ms" | median)
  done
  rm -rf "$base"/{large,small,warm-up,to,warm-up-to,fixed.ms}
  if [ $failed = 1 ]; then
    echo "  some runs failed: ${samples[*]}"
    return 1
  fi
  # Ratios: medians of the ratios within each repetition, with their own spread.
  for set in large small; do
    for pair in ab an ac pb; do
      paired[$place,$set,$pair]=$(tr ' ' '\n' <<<"${ratios[$set,$pair]}" | grep -v '^$' | median)
      pairedSpread[$set,$pair]=$(tr ' ' '\n' <<<"${ratios[$set,$pair]}" | grep -v '^$' | spread)
    done
  done
  printf '  %-22s %15s %15s %15s %15s\n' "ms, median (spread)" "(a)" "(b)" "(b')" "(c)"
  for set in large small; do
    [ $set = large ] && label="8 files of 128 MiB" || label="2,000 files of 4 KiB"
    printf '  %-22s %8.1f (%4.2f) %8.1f (%4.2f) %8.1f (%4.2f) %8.1f (%4.2f)\n' "$label" \
      "${copy_ms[$place,$set,a]}" "${spreads[$set,a]}" "${copy_ms[$place,$set,b]}" "${spreads[$set,b]}" \
      "${copy_ms[$place,$set,n]}" "${spreads[$set,n]}" "${copy_ms[$place,$set,c]}" "${spreads[$set,c]}"
  done
  printf '  %-22s %15s %15s %15s\n' "ratio, median (spread)" "a/b" "a/b'" "a/c"
  for set in large small; do
    [ $set = large ] && label="8 files of 128 MiB" || label="2,000 files of 4 KiB"
    printf '  %-22s %8.2f (%4.2f) %8.2f (%4.2f) %8.2f (%4.2f)\n' "$label" \
      "${paired[$place,$set,ab]}" "${pairedSpread[$set,ab]}" "${paired[$place,$set,an]}" \
      "${pairedSpread[$set,an]}" "${paired[$place,$set,ac]}" "${pairedSpread[$set,ac]}"
  done
  printf '  first transfer in a process (one 4 KiB file, before each (a) run): median %.1f ms\n' "$first"
  printf '  fixed start and end of a transfer (the same again, in that process): median %.1f ms,\n' \
    "${fixed_parts[$place,fixed_ms]}"
  # Made alone, each part pays what the transfer shares between them (under Wine and Xvfb a
  # dialog destroyed as soon as it is shown waits for the display): beside the whole, not in it.
  printf '    its parts made alone in that process: a thread with the progress dialog made, shown and\n'
  printf '    destroyed %.1f ms; a second thread started and ended %.1f ms\n' \
    "${fixed_parts[$place,dialog_ms]}" "${fixed_parts[$place,threads_ms]}"
  printf '  per byte, 8 x 128 MiB: (a less its fixed start) / (b), median %.2f (spread %.2f)\n' \
    "${paired[$place,large,pb]}" "${pairedSpread[large,pb]}"
  for set in large small; do
    printf '  all runs (ms), %-5s a: %s| b: %s| b'"'"': %s| c: %s\n' "$set" "${samples[$set,a]}" \
      "${samples[$set,b]}" "${samples[$set,n]}" "${samples[$set,c]}"
  done
  printf '  a/b per repetition: large %s| small %s\n' "${ratios[large,ab]}" "${ratios[small,ab]}"
  printf "  a/b' per repetition: large %s| small %s\n" "${ratios[large,an]}" "${ratios[small,an]}"
}

# The identity check a transfer makes before it replaces a file (are target and source one
# file under two names?), against one 4 KiB file of the loop (b) in folder $2.
measure_identity() {
  local place=$1 base=$2 figures us per_file
  mkdir -p "$base/identity" && echo one >"$base/identity/a.wdtp" && echo two >"$base/identity/b.wdtp"
  figures=$(w "$build/tools/wendrift-transfer-bench.exe" identity "$(winpath "$base/identity/a.wdtp")" \
              "$(winpath "$base/identity/b.wdtp")" | tr -d '\r')
  rm -rf "$base/identity"
  us=$(awk '$1 == "identity_us" { print $2 }' <<<"$figures")
  [ -n "$us" ] || { echo "  the identity check could not be timed${figures:+: $figures}"; return 1; }
  per_file=$(awk -v b="${copy_ms[$place,small,b]}" 'BEGIN { printf "%.1f", b * 1000 / 2000 }')
  printf '  identity check before a replace (made only when the target exists): %.1f us a file,\n' "$us"
  printf '  against %s us for one 4 KiB file of the loop (b) here\n' "$per_file"
}

# The same two workloads on the disk and on the RAM drive; the aims judge the RAM drive, where
# the disk's swings (0.3x to 2.2x between repetitions here) cannot hide the engine's cost.
bench_throughput() {
  local dll="$build/shellext/Wendrift.dll" place
  if [ ! -f "$dll" ] || [ ! -f "$build/tools/wendrift-transfer-bench.exe" ] ||
     ! w regsvr32 /s "$(winepath -w "$dll")" >/dev/null; then
    echo "The throughput benchmark could not run: library or benchmark program missing"
    unmeasured transfer-fixed-start lt 100 ms
    unmeasured throughput-8x128MiB-per-byte-vs-copyfileex le 1.05 x
    unmeasured throughput-2000x4KiB-vs-copyfileex le 1.15 x
    return 1
  fi
  echo "Throughput: the same files into an empty folder, $REPETITIONS repetitions of four ways in rotating order,"
  echo "each run started after dirty pages were written back and writeback was idle:"
  echo "  (a)  InvokeCommand \"Cop&y To\" with the progress dialog, until the transfer lets go of the"
  echo "       host's process reference, its last act"
  echo "       (in a process that has already run one transfer, as the shell's has shown windows)"
  echo "  (b)  a plain CopyFileExW loop, no progress routine, one process"
  echo "  (b') the same loop with COPY_FILE_FAIL_IF_EXISTS, as (a) copies to a new name: under Wine"
  echo "       (b) opens each target with truncation, and ext4 then writes a truncated file back"
  echo "       when it is closed, which (a) and (b') do not pay"
  echo "  (c)  Linux cp (the floor)"
  echo "  (spread = slowest / fastest run, or largest / smallest ratio)"
  local status=0 measured=""
  echo
  echo "On the build folder's disk ($(df -T "$build" | awk 'NR == 2 { print $2 }')):"
  mkdir -p "$data"
  if measure_throughput disk "$data"; then measured=disk; else status=1; fi
  echo
  if ! ram_drive_up; then
    ram_drive_down
    echo "On a RAM drive: skipped (it needs root to mount a tmpfs as a Wine drive)"
  else
    echo "On a RAM drive (a tmpfs as drive ${ram_drive^^}:):"
    if measure_throughput ram "$ram"; then measured=ram; else status=1; fi
  fi
  if [ -n "$measured" ]; then
    measure_identity "$measured" "$([ "$measured" = ram ] && echo "$ram" || echo "$data")"
  fi
  ram_drive_down
  if [ -n "${paired[ram,large,ab]:-}" ]; then
    echo
    printf '  a/b, RAM drive against disk: 8 x 128 MiB %s against %s; 2,000 x 4 KiB %s against %s\n' \
      "${paired[ram,large,ab]}" "${paired[disk,large,ab]:-?}" "${paired[ram,small,ab]}" "${paired[disk,small,ab]:-?}"
    aim transfer-fixed-start "${fixed_parts[ram,fixed_ms]}" lt 100 ms
    aim throughput-8x128MiB-per-byte-vs-copyfileex "${paired[ram,large,pb]}" le 1.05 x
    aim throughput-2000x4KiB-vs-copyfileex "${paired[ram,small,ab]}" le 1.15 x
  else
    unmeasured transfer-fixed-start lt 100 ms
    unmeasured throughput-8x128MiB-per-byte-vs-copyfileex le 1.05 x
    unmeasured throughput-2000x4KiB-vs-copyfileex le 1.15 x
  fi
  return $status
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
  gib_ms=${copy_ms[disk,large,b]:-}
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
  # The classic handler stays away only on sightings: GetState records each shown entry's
  # selection in a slot of shared memory, and the classic handler compares its own with both.
  printf '  sighting slots: mapped once per process %.1f us; recorded by each GetState %.3f us;\n' \
    "$(get sighting_first_use_us)" "$(get sighting_write_us)"
  printf '    asked by the classic handler: last seen another selection %.3f us, this one (override read) %.2f us\n' \
    "$(get sighting_read_other_us)" "$(get sighting_read_same_us)"
  printf '  another folder, against the registry open: %.2f x (of which the bind %.2f x)\n' \
    "$(awk -v g="$(get getstate_newfolder_us)" -v r="$(get registry_open_us)" 'BEGIN { printf "%.2f", g / r }')" \
    "$(awk -v b="$(get bind_folder_us)" -v r="$(get registry_open_us)" 'BEGIN { printf "%.2f", b / r }')"
  ratio=$(awk -v g="$(get getstate_1_us)" -v r="$(get registry_open_us)" 'BEGIN { printf "%.2f", g / r }')
  aim getstate-vs-registry-open "$ratio" le 2 x
}

# Wine first, so nothing holds a file on the RAM drive when it is unmounted.
trap '"$root/tools/wine-session.sh" stop "$build" >/dev/null 2>&1; ram_drive_down; rm -rf "$data"' EXIT
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
