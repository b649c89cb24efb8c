#!/usr/bin/env bash
# Runs one Windows program under Wine in the build tree's private prefix, on the build tree's
# own Xvfb display. Wine's output goes to a file first: Wine's helper processes inherit the
# output pipe, and ctest would otherwise wait seconds for them to let go of it.
set -u
: "${WINEPREFIX:?WINEPREFIX must name the prefix of the build folder}"
export WINEPREFIX WINEDEBUG="${WINEDEBUG:--all}" WINEDLLOVERRIDES="${WINEDLLOVERRIDES:-mscoree,mshtml=}"
if [ -n "${WENDRIFT_DISPLAY_FILE:-}" ] && [ -s "$WENDRIFT_DISPLAY_FILE" ]; then
  export DISPLAY=":$(head -n1 "$WENDRIFT_DISPLAY_FILE")"
fi
out=$(mktemp "${TMPDIR:-/tmp}/wendrift-wine.XXXXXX")
timeout --kill-after=5 "${WENDRIFT_WINE_TIMEOUT:-280}" wine "$@" >"$out" 2>&1 </dev/null
rc=$?
grep -v -E '^(it looks like wine32 is missing|multiarch needs to be enabled|execute "dpkg --add-architecture|apt-get install wine32)' "$out"
# A GoogleTest run that passed with cases skipped answers the code ctest takes for a skip
# (WENDRIFT_SKIP_CODE, set for each test), so that it is never counted as passed.
if [ "$rc" -eq 0 ] && [ -n "${WENDRIFT_SKIP_CODE:-}" ] && grep -q '^\[  SKIPPED \]' "$out"; then
  rc=$WENDRIFT_SKIP_CODE
fi
rm -f "$out"
exit $rc
