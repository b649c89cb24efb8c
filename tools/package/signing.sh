#!/usr/bin/env bash
# The package's signing certificate and signature.
#
#   signing.sh certificate DIR
#       DIR/signing.pfx (the key), DIR/certificate.pem and DIR/Wendrift.cer (the public
#       certificate, PEM for the checks and DER for the installer). With WENDRIFT_SIGNING_PFX
#       naming a PKCS#12 file (and WENDRIFT_SIGNING_PASSWORD holding its password) that release
#       certificate is used; otherwise a self-signed one is made once and kept in DIR, its
#       random password in DIR/signing.pass.
#   signing.sh sign DIR IN OUT
#       OUT = IN signed with DIR/signing.pfx (SHA-256, as the block map's hashes).
set -euo pipefail
action=${1:?certificate or sign}
dir=${2:?folder of the signing files}
mkdir -p "$dir"
umask 077

# The password goes to the tools through a file or the environment, never a command line.
password_file() {
  if [ -n "${WENDRIFT_SIGNING_PFX:-}" ]; then
    [ -n "${WENDRIFT_SIGNING_PASSWORD+set}" ] ||
      { echo "signing.sh: WENDRIFT_SIGNING_PFX is set but WENDRIFT_SIGNING_PASSWORD is not" >&2; exit 1; }
    local file; file=$(mktemp)
    printf '%s' "$WENDRIFT_SIGNING_PASSWORD" >"$file"
    echo "$file"
  else
    echo "$dir/signing.pass"
  fi
}

certificate() {
  if [ -n "${WENDRIFT_SIGNING_PFX:-}" ]; then
    local pass; pass=$(password_file)
    cp "$WENDRIFT_SIGNING_PFX" "$dir/signing.pfx"
    # Older release files use ciphers OpenSSL 3 reads only with -legacy.
    openssl pkcs12 -in "$dir/signing.pfx" -passin "file:$pass" -clcerts -nokeys \
        -out "$dir/certificate.pem" 2>/dev/null ||
      openssl pkcs12 -legacy -in "$dir/signing.pfx" -passin "file:$pass" -clcerts -nokeys \
        -out "$dir/certificate.pem"
    rm -f "$pass"
  elif [ ! -s "$dir/signing.pfx" ] || [ ! -s "$dir/signing.pass" ] || [ ! -s "$dir/certificate.pem" ]; then
    # A code-signing certificate Windows accepts for a package once it is trusted.
    openssl rand -hex 24 >"$dir/signing.pass"
    openssl req -x509 -newkey rsa:3072 -sha256 -days 3650 -nodes \
        -subj "/O=The Wendrift authors/CN=Wendrift" \
        -addext "basicConstraints=critical,CA:FALSE" \
        -addext "keyUsage=critical,digitalSignature" \
        -addext "extendedKeyUsage=codeSigning,1.3.6.1.4.1.311.10.3.13" \
        -keyout "$dir/signing.key" -out "$dir/certificate.pem" 2>/dev/null
    openssl pkcs12 -export -inkey "$dir/signing.key" -in "$dir/certificate.pem" \
        -passout "file:$dir/signing.pass" -out "$dir/signing.pfx"
    rm -f "$dir/signing.key"
  fi
  openssl x509 -in "$dir/certificate.pem" -outform der -out "$dir/Wendrift.cer"
}

sign() {
  local in=${3:?unsigned package} out=${4:?signed package} pass
  pass=$(password_file)
  rm -f "$out"  # osslsigncode never overwrites its output
  osslsigncode sign -pkcs12 "$dir/signing.pfx" -readpass "$pass" -h sha256 \
      -in "$in" -out "$out" >/dev/null
  [ "$pass" = "$dir/signing.pass" ] || rm -f "$pass"
}

"$action" "$@"
