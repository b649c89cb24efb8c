#!/usr/bin/env bash
# The certificate and the Authenticode signatures of everything Wendrift ships: the package,
# the library, the configuration program, the setup and the uninstaller inside it.
#
#   signing.sh certificate DIR
#       DIR/certificate.pem (for the checks) and DIR/Wendrift.cer (DER, for the installer): the
#       public certificate of the key that signs. Each file is rewritten only when it changes,
#       so that running this on every build rebuilds nothing while the key stays the same.
#   signing.sh sign IN OUT
#       OUT = IN signed (SHA-256, as the package's block map), with an RFC 3161 timestamp from
#       WENDRIFT_TIMESTAMP_URL when that is set. OUT may be IN (makensis's !finalize and
#       !uninstfinalize sign the file they name in place).
#
# The key: WENDRIFT_SIGNING_PFX names the release certificate's PKCS#12 file, whose password
# WENDRIFT_SIGNING_PASSWORD holds (handed to the tools through the environment and a pipe,
# never a file or a command line). Without it, this machine's development key signs: a
# self-signed certificate made once, kept outside every build folder in
# WENDRIFT_DEV_SIGNING_DIR (default ~/.local/share/wendrift/development-signing), readable by
# its owner only.
set -euo pipefail
umask 077

development_dir() {
  echo "${WENDRIFT_DEV_SIGNING_DIR:-${XDG_DATA_HOME:-$HOME/.local/share}/wendrift/development-signing}"
}

release() { [ -n "${WENDRIFT_SIGNING_PFX:-}" ]; }

require_password() {
  [ -n "${WENDRIFT_SIGNING_PASSWORD+set}" ] ||
    { echo "signing.sh: WENDRIFT_SIGNING_PFX is set but WENDRIFT_SIGNING_PASSWORD is not" >&2; exit 1; }
}

# Made in a private folder beside its final place and renamed into it, so two builds that
# start at once keep one key between them.
make_development_key() {
  local dir parent staging
  dir=$(development_dir)
  [ -s "$dir/key.pem" ] && [ -s "$dir/certificate.pem" ] && return
  if [ -e "$dir" ]; then
    echo "signing.sh: $dir is incomplete; remove it to make a new development key" >&2
    exit 1
  fi
  parent=$(dirname "$dir")
  mkdir -p "$parent"
  staging=$(mktemp -d "$parent/.development-signing.XXXXXX")
  # A code-signing certificate Windows accepts for a package once it is trusted.
  if ! openssl req -x509 -newkey rsa:3072 -sha256 -days 3650 -nodes \
        -subj "/O=The Wendrift authors/CN=Wendrift" \
        -addext "basicConstraints=critical,CA:FALSE" \
        -addext "keyUsage=critical,digitalSignature" \
        -addext "extendedKeyUsage=codeSigning,1.3.6.1.4.1.311.10.3.13" \
        -keyout "$staging/key.pem" -out "$staging/certificate.pem" 2>/dev/null; then
    rm -rf "$staging"
    echo "signing.sh: openssl could not make the development key" >&2
    exit 1
  fi
  mv -T "$staging" "$dir" 2>/dev/null || rm -rf "$staging"
  [ -s "$dir/key.pem" ] || { echo "signing.sh: no development key in $dir" >&2; exit 1; }
}

# The signing certificate as PEM on stdout.
public_certificate() {
  if release; then
    require_password
    # Older release files use ciphers OpenSSL 3 reads only with -legacy.
    openssl pkcs12 -in "$WENDRIFT_SIGNING_PFX" -passin env:WENDRIFT_SIGNING_PASSWORD \
        -clcerts -nokeys 2>/dev/null ||
      openssl pkcs12 -legacy -in "$WENDRIFT_SIGNING_PFX" -passin env:WENDRIFT_SIGNING_PASSWORD \
        -clcerts -nokeys
  else
    make_development_key
    cat "$(development_dir)/certificate.pem"
  fi
}

replace_if_changed() {  # file, new contents on stdin
  local new; new=$(mktemp "$1.XXXXXX")
  cat >"$new"
  if cmp -s "$new" "$1"; then rm -f "$new"; else chmod 644 "$new"; mv -f "$new" "$1"; fi
}

certificate() {
  local dir=${1:?folder of the public certificate} pem
  mkdir -p "$dir"
  # Keys that earlier builds kept in the build folder go.
  rm -f "$dir/signing.pfx" "$dir/signing.pass" "$dir/signing.key"
  pem=$(public_certificate | openssl x509)
  replace_if_changed "$dir/certificate.pem" <<<"$pem"
  openssl x509 -outform der <<<"$pem" | replace_if_changed "$dir/Wendrift.cer"
}

# Written beside OUT and renamed into it, so that a failed signature leaves no OUT behind.
partial=""
trap 'rm -f "$partial"' EXIT

sign() {
  local in=${1:?file to sign} out=${2:?signed file} timestamp=()
  [ -n "${WENDRIFT_TIMESTAMP_URL:-}" ] && timestamp=(-ts "$WENDRIFT_TIMESTAMP_URL")
  partial="$out.partial"
  rm -f "$partial"  # osslsigncode never overwrites its output
  if release; then
    require_password
    printf '%s' "$WENDRIFT_SIGNING_PASSWORD" |
      osslsigncode sign -pkcs12 "$WENDRIFT_SIGNING_PFX" -readpass /dev/stdin -h sha256 \
          "${timestamp[@]}" -in "$in" -out "$partial" >/dev/null
  else
    make_development_key
    osslsigncode sign -certs "$(development_dir)/certificate.pem" \
        -key "$(development_dir)/key.pem" -h sha256 "${timestamp[@]}" \
        -in "$in" -out "$partial" >/dev/null
  fi
  chmod 644 "$partial"
  mv -f "$partial" "$out"
}

action=${1:?certificate or sign}
shift
"$action" "$@"
