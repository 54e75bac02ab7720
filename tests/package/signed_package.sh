#!/usr/bin/env bash
# Signing with a throwaway certificate, run by CTest on the test display, in a throwaway prefix of
# its own (a copy of the suite's booted one when there is one), removed whatever happens:
#   signed_package.sh UNSIGNED-PACKAGE-DIR SIGNED-PACKAGE-DIR VERSION BUILD-DIR kelvane_installer_check.exe
# Makes a self-signed code-signing certificate with openssl, builds the packages signed with it,
# verifies every signed file against that certificate (the folder helper inside the setup program
# by the signing's report), checks that removing the program's signature gives back the unsigned
# program, and installs and uninstalls the signed setup.
set -uo pipefail
unsigned_dir=$1 signed_dir=$2 version=$3 build_dir=$4 check_tool=$5
source_dir=$(cd "$(dirname "$0")/../.." && pwd)
. "$source_dir/tests/support/script_checks.sh" "signed package"
. "$source_dir/scripts/wine-env.sh"

step() { echo "signed package: $*"; }
check() { wine_run "$WINE64" "$check_tool" "$@"; }

work=$(mktemp -d /tmp/kelvane-signed.XXXXXX) || fail "cannot make a temporary folder"
use_throwaway_wine_env
export WINEPREFIX="$work/prefix"
cleanup() { prefix_remove; rm -rf "$work"; }
step "making a throwaway certificate"
openssl req -x509 -newkey rsa:2048 -nodes -keyout "$work/key.pem" -out "$work/cert.pem" -days 2 \
  -subj "/CN=Kelvane test signing" -addext "extendedKeyUsage=codeSigning" \
  -addext "keyUsage=digitalSignature" 2>"$work/openssl.log" || { cat "$work/openssl.log" >&2; fail "openssl req failed"; }
openssl pkcs12 -export -inkey "$work/key.pem" -in "$work/cert.pem" -out "$work/cert.pfx" \
  -passout pass:throwaway-secret || fail "openssl pkcs12 failed"
leaf=$(openssl x509 -in "$work/cert.pem" -outform DER | sha256sum | cut -d' ' -f1)

step "building the signed packages"
rm -rf "$signed_dir"
output=$(KELVANE_SIGN_PFX="$work/cert.pfx" KELVANE_SIGN_PASSWORD=throwaway-secret KELVANE_SIGN_TIMESTAMP= \
  KELVANE_BUILD_DIR="$build_dir" KELVANE_DIST_DIR="$signed_dir" bash "$source_dir/scripts/package.sh" 2>&1) ||
  { echo "$output" >&2; fail "scripts/package.sh failed"; }
echo "$output"
grep -q "NOT SIGNED" <<<"$output" && fail "scripts/package.sh did not sign"
# The folder helper travels inside the setup program; its signing is seen here only.
grep -q "^sign: signed FolderGuard.exe$" <<<"$output" || fail "scripts/package.sh did not sign the folder helper"
(cd "$signed_dir" && sha256sum --quiet -c SHA256SUMS) || fail "SHA256SUMS does not match the signed downloads"

# Signed by exactly this certificate, with SHA-256.
verify() {
  osslsigncode verify -CAfile "$work/cert.pem" -require-leaf-hash "sha256:$leaf" -in "$1" >"$work/verify.log" 2>&1 &&
    grep -q "Message digest algorithm  : SHA256" "$work/verify.log" ||
    { cat "$work/verify.log" >&2; fail "$1 does not verify"; }
  echo "signed package: $(basename "$1") verifies"
}
unzip -p "$signed_dir/Kelvane-$version-win64.zip" Kelvane.exe >"$work/Kelvane.exe"
unzip -p "$unsigned_dir/Kelvane-$version-win64.zip" Kelvane.exe >"$work/Kelvane-unsigned.exe"
verify "$work/Kelvane.exe"
verify "$signed_dir/Kelvane-$version-setup.exe"
osslsigncode remove-signature -in "$work/Kelvane.exe" -out "$work/Kelvane-removed.exe" >/dev/null ||
  fail "the signature cannot be removed"
cmp -s "$work/Kelvane-removed.exe" "$work/Kelvane-unsigned.exe" ||
  fail "Kelvane.exe without its signature is not the unsigned Kelvane.exe"

step "installing and uninstalling the signed setup"
prefix_make || fail "the prefix was not made"
folder="$WINEPREFIX/drive_c/Program Files/Kelvane"
check removed || fail "the prefix already has a Kelvane installation"
wine_run "$WINE64" "$signed_dir/Kelvane-$version-setup.exe" /S || fail "the signed installer failed"
cmp -s "$folder/Kelvane.exe" "$work/Kelvane.exe" || fail "the installed Kelvane.exe is not the signed one"
verify "$folder/Uninstall.exe"
check registered 'C:\Program Files\Kelvane' "$version" || fail "the uninstall entry is wrong"
check run succeeds - uninstall || fail "the signed uninstaller failed"
[ ! -e "$folder" ] || fail "left behind: $folder"
check removed || fail "the signed uninstaller left its traces"
step "signed, verified, installed and removed"
checks_reached_end
