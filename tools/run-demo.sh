#!/usr/bin/env bash
# Shows Wendrift doing its job on this Linux machine, under Wine:
#   builds everything, installs Wendrift with its Windows installer into a Wine prefix of its
#   own, makes a few sample files, associates their extension with two folders, prints the
#   context menu the shell would show for them, picks "Cop&y To" and the first folder, lets
#   the transfer run with its progress dialog, and prints the files that arrived.
#
#   tools/run-demo.sh            the demonstration (progress dialog on Xvfb, or on $DISPLAY)
#   tools/run-demo.sh --config   opens the configuration program on your display
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build="${WENDRIFT_BUILD_DIR:-$root/build}"
mode="${1:-demo}"

"$root/tools/install-deps.sh"
cmake -S "$root" -B "$build" -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-w64-x86_64.cmake" \
      -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build "$build" -j "$(nproc)" >/dev/null
echo "Built:"
for f in "$build"/shellext/Wendrift.dll "$build"/config/WendriftConfig.exe "$build"/Wendrift-*-setup.exe; do
  [ -e "$f" ] && echo "  ${f#$root/}"
done

demo="$build/demo"
mkdir -p "$demo"
user_display="${DISPLAY:-}"
trap '"$root/tools/wine-session.sh" stop "$demo"' EXIT
"$root/tools/wine-session.sh" start "$demo" >/dev/null
export WINEPREFIX="$demo/wineprefix" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
if [ -n "$user_display" ]; then
  export DISPLAY="$user_display"
else
  export DISPLAY=":$(head -n1 "$demo/xvfb.display")"
fi
# Through the same runner as the tests: Wine's output goes to a file first, since Wine's
# helper processes would otherwise hold a pipe open long after the program ended.
w() { WENDRIFT_WINE_TIMEOUT=300 "$root/tools/wine-run.sh" "$@"; }

echo
echo "Installing Wendrift (silent installer) into $WINEPREFIX ..."
setup=$(ls "$build"/Wendrift-*-setup.exe | head -n1)
w "$setup" /S

program_files="$WINEPREFIX/drive_c/Program Files/Wendrift"
ls "$program_files"

if [ "$mode" = "--config" ]; then
  [ -n "$user_display" ] || { echo "No display is set (DISPLAY): nothing to show the program on."; exit 1; }
  echo "Opening the configuration program; close it to end."
  WENDRIFT_WINE_TIMEOUT=0 "$root/tools/wine-run.sh" "$program_files/WendriftConfig.exe"
  exit 0
fi

samples="$WINEPREFIX/drive_c/users/Public/Wendrift demo"
rm -rf "$samples"
mkdir -p "$samples/photos" "$samples/Archive A" "$samples/Archive B"
for i in 1 2 3; do
  head -c $((i * 300000)) /dev/urandom >"$samples/photos/holiday $i.wdphoto"
done
win_samples='C:\users\Public\Wendrift demo'

echo
echo "Associating .wdphoto with two folders ..."
cp "$build/tools/wendrift-store.exe" "$program_files/"
w "$program_files/wendrift-store.exe" add .wdphoto "$win_samples\\Archive A" "$win_samples\\Archive B"
rm -f "$program_files/wendrift-store.exe"
w "$build/tools/wendrift-store.exe" list

files=()
for i in 1 2 3; do files+=("$win_samples\\photos\\holiday $i.wdphoto"); done
echo
echo "The context menu the shell shows for the three files:"
w "$build/tools/wendrift-shellhost.exe" "${files[@]}"

echo
echo "Picking \"Cop&y To\" -> first folder ..."
w "$build/tools/wendrift-shellhost.exe" --invoke "Cop&y To/&1." "${files[@]}"

echo
echo "Files in \"Archive A\" now:"
ls -l "$samples/Archive A"
cmp "$samples/photos/holiday 2.wdphoto" "$samples/Archive A/holiday 2.wdphoto" && echo "(byte for byte equal to their sources)"
