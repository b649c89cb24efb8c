#!/usr/bin/env bash
# Installs, with apt-get, only the Debian packages the build, tests and installer need that are missing.
# Idempotent and quiet when everything is already there.
set -euo pipefail

packages=(g++-mingw-w64-x86-64-posix wine64 wine xvfb xauth cmake googletest nsis imagemagick
          librsvg2-bin icoutils)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q '^install ok installed$' || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

sudo=""
[ "$(id -u)" -ne 0 ] && sudo="sudo"
echo "Installing: ${missing[*]}"
export DEBIAN_FRONTEND=noninteractive
$sudo apt-get update -qq
$sudo apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
