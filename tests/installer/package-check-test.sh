#!/usr/bin/env bash
# What the package check rests on: the publisher id is derived as Windows derives it (a
# published pair of Microsoft's), and a byte that differs from the block map fails the check
# even where osslsigncode verify is satisfied (the byte changed before signing).
# Usage: package-check-test.sh PACKAGE_FOLDER   (the build's package folder)
set -u
tools=$(cd "$(dirname "$0")/../../tools/package" && pwd)
dir=${1:?package folder of the build}
work=$(mktemp -d "${TMPDIR:-/tmp}/wendrift-package.XXXXXX")
trap 'rm -rf "$work"' EXIT
failures=0

microsoft="CN=Microsoft Corporation, O=Microsoft Corporation, L=Redmond, S=Washington, C=US"
id=$(PYTHONPATH="$tools" python3 -c 'import msix, sys; print(msix.publisher_id(sys.argv[1]))' "$microsoft")
if [ "$id" = 8wekyb3d8bbwe ]; then echo "ok:   publisher id"; else echo "FAIL: publisher id $id"; failures=1; fi

# One byte of the first logo flipped and its CRC mended, then signed as the build signs.
python3 - "$dir/Wendrift.CopyTo-unsigned.msix" "$work/damaged-unsigned.msix" <<'PY'
import struct, sys, zlib
data = bytearray(open(sys.argv[1], "rb").read())
name_length, extra_length = struct.unpack_from("<HH", data, 26)
start = 30 + name_length + extra_length
end = data.find(struct.pack("<I", 0x08074B50), start)
data[(start + end) // 2] ^= 0x01
crc = zlib.crc32(bytes(data[start:end]))
struct.pack_into("<I", data, end + 4, crc)
central = struct.unpack_from("<Q", data, len(data) - 42 + 8)[0]
central = struct.unpack_from("<Q", data, central + 48)[0]
struct.pack_into("<I", data, central + 16, crc)
open(sys.argv[2], "wb").write(data)
PY
"$tools/signing.sh" sign "$work/damaged-unsigned.msix" "$work/damaged.msix"
if osslsigncode verify -in "$work/damaged.msix" -CAfile "$dir/certificate.pem" | grep -q 'Signature verification: ok'; then
  echo "ok:   osslsigncode verify accepts the damaged package"
else
  echo "note: osslsigncode verify now rejects it as well"
fi
output=$(python3 "$tools/check.py" "$work/damaged.msix" --certificate "$dir/certificate.pem")
if [ $? -ne 0 ] && grep -q 'does not match its block hash' <<<"$output"; then
  echo "ok:   the check fails it: $output"
else
  echo "FAIL: the check passed a package with a flipped byte: $output"; failures=1
fi
exit $failures
