#!/usr/bin/env bash
# sign.sh FILE
# Signs one Windows program in place with Authenticode (SHA-256) through osslsigncode, with the
# certificate and key of the PKCS#12 file KELVANE_SIGN_PFX and its password KELVANE_SIGN_PASSWORD,
# timestamped by the RFC 3161 server KELVANE_SIGN_TIMESTAMP when one is named. scripts/package.sh
# calls it for the program, and the installer build for the uninstaller and the setup program.
# The file is first brought into the form a signature leaves around it (pe-checksum.pl), and the
# signature is checked to add nothing else: removing it must give back exactly those bytes.
set -euo pipefail
file=${1:?usage: sign.sh FILE}
here=$(dirname "$0")

[ -n "${KELVANE_SIGN_PFX:-}" ] || { echo "sign: KELVANE_SIGN_PFX names no certificate" >&2; exit 1; }
[ -f "$KELVANE_SIGN_PFX" ] || { echo "sign: $KELVANE_SIGN_PFX is missing" >&2; exit 1; }
command -v osslsigncode >/dev/null || { echo "sign: osslsigncode is not installed (scripts/setup.sh installs it)" >&2; exit 1; }

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
# The password goes through a file only this user can read, never on a command line.
(umask 077; printf '%s' "${KELVANE_SIGN_PASSWORD:-}" >"$work/password")

perl "$here/pe-checksum.pl" "$file"
timestamp=()
[ -n "${KELVANE_SIGN_TIMESTAMP:-}" ] && timestamp=(-ts "$KELVANE_SIGN_TIMESTAMP")
# The description is ASCII: osslsigncode stores it as an ASCII string, which Windows would show
# garbled for Chinese text.
osslsigncode sign -pkcs12 "$KELVANE_SIGN_PFX" -readpass "$work/password" -h sha256 \
  -n Kelvane -i https://www.kelvane.example/ "${timestamp[@]}" \
  -in "$file" -out "$work/signed" >"$work/log" 2>&1 || { cat "$work/log" >&2; echo "sign: $file was not signed" >&2; exit 1; }

osslsigncode remove-signature -in "$work/signed" -out "$work/unsigned" >"$work/log" 2>&1 || { cat "$work/log" >&2; exit 1; }
cmp -s "$work/unsigned" "$file" || { echo "sign: the signature of $file changed more than the signature" >&2; exit 1; }
cat "$work/signed" >"$file"
echo "sign: signed $(basename "$file")"
