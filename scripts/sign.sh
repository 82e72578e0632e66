#!/usr/bin/env bash
# Signs a release file with Authenticode (osslsigncode), with a certificate
# and key the user supplies; nothing secret lives in the repository.
#
#   scripts/sign.sh [--cert FILE] [--key FILE] IN.exe OUT.exe
#
# The certificate (chain) and its private key, PEM or DER, come from --cert and
# --key or else from the environment:
#   TOLMO_SIGN_CERT            the code-signing certificate, with its chain
#   TOLMO_SIGN_KEY             its private key
#   TOLMO_SIGN_PASS_FILE       a file holding the key's password (optional)
#   TOLMO_SIGN_TIMESTAMP_URL   an RFC 3161 time-stamping service (optional;
#                              without one the signature is valid only while
#                              the certificate is)
# The signature uses SHA-256 and names the product.
set -euo pipefail

cert="${TOLMO_SIGN_CERT:-}"
key="${TOLMO_SIGN_KEY:-}"
while (($# > 2)); do
  case "$1" in
    --cert) cert="$2"; shift 2 ;;
    --key) key="$2"; shift 2 ;;
    *) break ;;
  esac
done
if (($# != 2)); then
  echo "usage: scripts/sign.sh [--cert FILE] [--key FILE] IN.exe OUT.exe" >&2
  exit 2
fi
in="$1"
out="$2"
if [[ -z "$cert" || -z "$key" ]]; then
  echo "sign.sh: no certificate or key: set TOLMO_SIGN_CERT and TOLMO_SIGN_KEY (or pass --cert and --key)" >&2
  exit 2
fi

options=(-certs "$cert" -key "$key" -h sha256 -n "Tolmo")
if [[ -n "${TOLMO_SIGN_PASS_FILE:-}" ]]; then
  options+=(-readpass "$TOLMO_SIGN_PASS_FILE")
fi
if [[ -n "${TOLMO_SIGN_TIMESTAMP_URL:-}" ]]; then
  options+=(-ts "$TOLMO_SIGN_TIMESTAMP_URL")
fi

mkdir -p "$(dirname "$out")"
rm -f "$out"
osslsigncode sign "${options[@]}" -in "$in" -out "$out" >/dev/null
echo "signed: $out"
