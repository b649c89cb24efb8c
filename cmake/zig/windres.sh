#!/usr/bin/env bash
# A resource compiler for the Zig build, called as CMake calls windres:
#   windres.sh ZIG TARGET -O coff [-D...] [-I dir]... SOURCE OBJECT
# The script is preprocessed by zig's own C preprocessor with the target's headers (as windres
# runs the C compiler's), compiled by llvm-rc and turned into an object for the target's
# machine by llvm-cvtres.
#
# The headers a script includes (<windows.h>) hold C declarations besides their #defines,
# which llvm-rc cannot parse. Windows' own resource compiler keeps only the preprocessor's
# work from a .h or .c file and ignores its other text; so does this script, by the line
# markers of the preprocessed output.
set -euo pipefail
zig=$1 target=$2
shift 2

defines=() includes=() positional=()
while [ $# -gt 0 ]; do
  case $1 in
    -O) shift ;;                       # always COFF
    -D) defines+=("-D$2"); shift ;;
    -D*) defines+=("$1") ;;
    -I) includes+=("$2"); shift ;;
    -I*) includes+=("${1#-I}") ;;
    *) positional+=("$1") ;;
  esac
  shift
done
[ ${#positional[@]} -eq 2 ] || { echo "windres.sh: expected SOURCE OBJECT, got: ${positional[*]}" >&2; exit 2; }
source=${positional[0]} object=${positional[1]}

case $target in
  aarch64-*) machine=ARM64 ;;
  x86_64-*) machine=X64 ;;
  *) echo "windres.sh: no resource machine for $target" >&2; exit 2 ;;
esac

work=$(mktemp -d "${object}.XXXXXX")
trap 'rm -rf "$work"' EXIT
"$zig" cc -target "$target" -E -xc -DRC_INVOKED "${defines[@]}" "${includes[@]/#/-I}" \
    "$source" -o "$work/preprocessed.rc"
awk '
  /^# [0-9]+ "/ { header = ($3 ~ /\.(h|hh|hpp|c)"$/); next }
  !header
' "$work/preprocessed.rc" >"$work/script.rc"
# Files the script names ("Wendrift.ico") are looked up beside the script, then on the
# include path, as windres does.
rc_includes=(/I "$(dirname "$source")")
for dir in "${includes[@]}"; do rc_includes+=(/I "$dir"); done
# The texts are UTF-8: llvm-rc takes the code page from /C only, not from the scripts' pragma.
llvm-rc /no-preprocess /C 65001 "${rc_includes[@]}" /FO "$work/script.res" "$work/script.rc" >/dev/null
llvm-cvtres /MACHINE:"$machine" /OUT:"$object" "$work/script.res" >/dev/null
