#!/usr/bin/env bash
# The keys behind every signature. The development key: two builds that start at once on a new
# machine make one key between them, in its own folder, readable by its owner only; the build
# folder gets the public certificate alone, and the installer is told to trust it (it is
# self-signed). A release key from an authority: its certificate is not for trusting, and a
# wrong password fails the signature without leaving the password or a signed file behind.
# Usage: signing-test.sh PACKAGE_FOLDER   (the build's, for an unsigned package to sign)
set -u
tools=$(cd "$(dirname "$0")/../../tools/package" && pwd)
unsigned=${1:?package folder of the build}/Wendrift.CopyTo-unsigned.msix
work=$(mktemp -d "${TMPDIR:-/tmp}/wendrift-signing.XXXXXX")
trap 'rm -rf "$work"' EXIT
failures=0
check() {  # description, command...
  local what=$1; shift
  if "$@"; then echo "ok:   $what"; else echo "FAIL: $what"; failures=$((failures + 1)); fi
}
identity() {  # certificate.pem -> the installer's defines
  python3 "$tools/pack.py" identity --certificate "$1" --name Wendrift.CopyTo \
      --nsis "$work/identity.nsh" && cat "$work/identity.nsh"
}
unset WENDRIFT_SIGNING_PFX WENDRIFT_SIGNING_PASSWORD WENDRIFT_TIMESTAMP_URL
export TMPDIR="$work/tmp" WENDRIFT_DEV_SIGNING_DIR="$work/home/wendrift/development-signing"
mkdir -p "$TMPDIR"

public_only() {  # each folder holds the public certificate alone, as PEM and as DER
  local d; for d; do
    [ "$(LC_ALL=C ls -A "$d" | tr '\n' ' ')" = "Wendrift.cer certificate.pem " ] &&
      ! grep -q 'PRIVATE KEY' "$d/certificate.pem" &&
      openssl x509 -inform der -in "$d/Wendrift.cer" -noout || return 1; done
}
# What the old design kept in a build folder: the key as PKCS#12 and its password.
mkdir -p "$work/build1" && echo 9f3c >"$work/build1/signing.pass" &&
  openssl rand -out "$work/build1/signing.pfx" 2400
"$tools/signing.sh" certificate "$work/build1" & "$tools/signing.sh" certificate "$work/build2"
wait
check "two builds at once: one certificate" cmp -s "$work/build1/certificate.pem" "$work/build2/certificate.pem"
check "the key's folder and files are the owner's alone" \
  test "$(stat -c %a "$WENDRIFT_DEV_SIGNING_DIR" "$WENDRIFT_DEV_SIGNING_DIR"/*.pem | sort -u | tr '\n' ' ')" = "600 700 "
check "no key in the build folder" public_only "$work/build1" "$work/build2"
check "no staging folder left" test "$(ls -A "$work/home/wendrift")" = development-signing
check "the installer trusts the development certificate" grep -q CERTIFICATE_SELF_SIGNED <(identity "$work/build1/certificate.pem")

# A release certificate issued by an authority, in a PKCS#12 file with a password.
openssl req -x509 -newkey rsa:2048 -nodes -subj "/CN=Test Authority" -days 2 \
    -addext "basicConstraints=critical,CA:TRUE" -keyout "$work/ca.key" -out "$work/ca.pem" 2>/dev/null
openssl req -newkey rsa:2048 -nodes -subj "/O=Release/CN=Wendrift Release" \
    -keyout "$work/release.key" -out "$work/release.csr" 2>/dev/null
printf 'basicConstraints=critical,CA:FALSE\nkeyUsage=critical,digitalSignature\nextendedKeyUsage=codeSigning\n' >"$work/ext"
openssl x509 -req -in "$work/release.csr" -CA "$work/ca.pem" -CAkey "$work/ca.key" -CAcreateserial \
    -days 2 -extfile "$work/ext" -out "$work/release.pem" 2>/dev/null
password="release-password-$$"
openssl pkcs12 -export -inkey "$work/release.key" -in "$work/release.pem" -passout "pass:$password" \
    -out "$work/release.pfx"
export WENDRIFT_SIGNING_PFX="$work/release.pfx" WENDRIFT_SIGNING_PASSWORD="$password"
"$tools/signing.sh" certificate "$work/release"
check "the release certificate is the one in the file" cmp -s "$work/release/certificate.pem" <(openssl x509 -in "$work/release.pem")
check "and its key file stays where it is" public_only "$work/release"
defines=$(identity "$work/release/certificate.pem")
check "the installer trusts no certificate an authority issued" \
  test -n "$defines" -a "${defines/CERTIFICATE_SELF_SIGNED/}" = "$defines"
"$tools/signing.sh" sign "$unsigned" "$work/release.msix"
check "signed with it" bash -c "osslsigncode verify -in '$work/release.msix' -CAfile '$work/ca.pem' >/dev/null"
WENDRIFT_SIGNING_PASSWORD=wrong "$tools/signing.sh" sign "$unsigned" "$work/signed.msix" 2>/dev/null
check "a wrong password fails" test $? -ne 0
check "and leaves no signed file" bash -c "! ls '$work'/signed.msix* 2>/dev/null"
check "no file holds the password" bash -c "! grep -rlq '$password' '$work' --exclude=release.pfx"

exit $((failures != 0))
