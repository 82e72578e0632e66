#!/usr/bin/env bash
# Checks the signing step end to end with a throwaway certificate: makes a
# self-signed code-signing certificate in a temporary folder, signs a copy of
# SETUP with scripts/sign.sh, verifies the signature trusting that
# certificate (and that it fails against another certificate and on a
# tampered copy), and runs the signed file under Wine: with the WinMgmt
# service stopped it must end with 1062 (ERROR_SERVICE_NOT_ACTIVE), which
# Wine reports modulo 256 as 38.
#
#   scripts/check_signing.sh SETUP WORK_FOLDER
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
setup="$(realpath "$1")"
work="$(realpath -m "$2")"

secrets="$(mktemp -d)"
source "$root/scripts/lib/wine.sh"
trap 'wine_down; rm -rf "$secrets"' EXIT

# make_certificate NAME: NAME.pem and NAME.key in the temporary folder.
make_certificate() {
  openssl req -x509 -newkey rsa:2048 -nodes -days 2 -subj "/CN=Tolmo signing test $1" \
    -addext "keyUsage=critical,digitalSignature" -addext "extendedKeyUsage=codeSigning" \
    -keyout "$secrets/$1.key" -out "$secrets/$1.pem" 2>/dev/null
}
make_certificate signer
make_certificate stranger

rm -rf "$work/signed" "$work/tampered"
signed="$work/signed/Setup.exe"
TOLMO_SIGN_CERT="$secrets/signer.pem" TOLMO_SIGN_KEY="$secrets/signer.key" \
  "$root/scripts/sign.sh" "$setup" "$signed" >/dev/null

verify() {  # verify FILE CERTIFICATE_NAME
  osslsigncode verify -CAfile "$secrets/$2.pem" -in "$1" >"$work/verify.log" 2>&1
}
if ! verify "$signed" signer; then
  cat "$work/verify.log" >&2
  echo "FAILED: the signed file does not verify against its certificate" >&2
  exit 1
fi
if verify "$signed" stranger; then
  echo "FAILED: the signed file verifies against a certificate that did not sign it" >&2
  exit 1
fi
# One byte of the code changed after signing: the digest no longer matches.
mkdir -p "$work/tampered"
cp "$signed" "$work/tampered/Setup.exe"
printf '\xCC' | dd of="$work/tampered/Setup.exe" bs=1 seek=1100 conv=notrunc status=none
if verify "$work/tampered/Setup.exe" signer; then
  echo "FAILED: a tampered copy of the signed file still verifies" >&2
  exit 1
fi
echo "signature: verifies against its certificate only, and not once tampered with"

# The signed file still runs. In a folder of its own, with WinMgmt stopped.
wine_up "$work/prefix"
wine_service winmgmt stop
status=0
(cd "$work/signed" && timeout 120 wine Setup.exe /qn </dev/null >/dev/null 2>&1) || status=$?
if ((status != 1062 % 256)); then
  echo "FAILED: the signed Setup.exe ended with status $status under Wine (want $((1062 % 256)))" >&2
  exit 1
fi
echo "signed Setup.exe runs under Wine: status $status (1062 mod 256) with WinMgmt stopped"
