#!/usr/bin/env bash
# Installs, with apt-get, only the Debian packages the build, tests and installer need that are missing.
# Idempotent and quiet when everything is already there.
set -euo pipefail

packages=(g++-mingw-w64-x86-64-posix wine64 wine xvfb xauth cmake googletest nsis imagemagick
          librsvg2-bin icoutils python3 openssl osslsigncode fonts-wqy-microhei)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q '^install ok installed$' || missing+=("$p")
done
if [ ${#missing[@]} -ne 0 ]; then
  sudo=""
  [ "$(id -u)" -ne 0 ] && sudo="sudo"
  echo "Installing: ${missing[*]}"
  export DEBIAN_FRONTEND=noninteractive
  $sudo apt-get update -qq
  $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
fi

# The Windows 11 package is signed with osslsigncode, which signs MSIX packages from 2.7 on.
version=$(osslsigncode --version 2>/dev/null | sed -n -E '1s/^osslsigncode ([0-9]+)\.([0-9]+).*/\1 \2/p')
read -r major minor <<<"${version:-0 0}"
if [ "$major" -lt 2 ] || { [ "$major" -eq 2 ] && [ "$minor" -lt 7 ]; }; then
  cat >&2 <<'MESSAGE'
osslsigncode 2.7 or later is needed to sign the Windows 11 package; this one is older
(Debian 12 itself ships 2.5). Add Debian's bookworm-backports suite to APT's sources (a line
like your bookworm one, with the suite bookworm-backports), then install it from there and
build again:

  sudo apt-get update && sudo apt-get install -t bookworm-backports osslsigncode
MESSAGE
  exit 1
fi
