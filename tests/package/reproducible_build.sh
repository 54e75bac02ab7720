#!/usr/bin/env bash
# Builds the program and the downloads a second time from a copy of the sources in another
# folder and compares them byte for byte with the first build's:
#   reproducible_build.sh PACKAGE-DIR BUILT-Kelvane.exe VERSION
# Only the program and the installer's folder helper are built the second time (no tests), unsigned, with the same commit time.
set -uo pipefail
package_dir=$1 built_program=$2 version=$3
source_dir=$(cd "$(dirname "$0")/../.." && pwd)
. "$source_dir/tests/support/script_checks.sh" "reproducible build"

step() { echo "reproducible build: $*"; }

work=$(mktemp -d /tmp/kelvane-second-build.XXXXXX) || { echo "$0: cannot make a temporary folder" >&2; exit 1; }
cleanup() { rm -rf "$work"; }
copy="$work/a/different/checkout"
mkdir -p "$copy" "$work/dist"
step "copying the sources to $copy"
if git -C "$source_dir" rev-parse --git-dir >/dev/null 2>&1; then
  (cd "$source_dir" && git ls-files -z --cached --others --exclude-standard |
     tar --null --ignore-failed-read -T - -cf -) | tar -xf - -C "$copy" || fail "the sources cannot be copied"
  epoch=${SOURCE_DATE_EPOCH:-$(git -C "$source_dir" log -1 --format=%ct)}
else
  (cd "$source_dir" && tar --exclude=./build --exclude='./build-*' --exclude=./dist -cf - .) |
    tar -xf - -C "$copy" || fail "the sources cannot be copied"
  epoch=${SOURCE_DATE_EPOCH:-315532800}
fi

step "building the program there"
(cd "$copy" && cmake --preset mingw -DBUILD_TESTING=OFF >"$work/configure.log" 2>&1) ||
  { cat "$work/configure.log" >&2; fail "configuring the copy failed"; }
(cd "$copy" && cmake --build --preset mingw --target Kelvane FolderGuard -j2 >"$work/build.log" 2>&1) ||
  { tail -50 "$work/build.log" >&2; fail "building the copy failed"; }
(cd "$copy" && env -u KELVANE_SIGN_PFX SOURCE_DATE_EPOCH="$epoch" KELVANE_DIST_DIR="$work/dist" \
   bash scripts/package.sh) || fail "packaging the copy failed"

different=0
for name in Kelvane.exe "Kelvane-$version-win64.zip" "Kelvane-$version-setup.exe" SHA256SUMS; do
  first="$package_dir/$name" second="$work/dist/$name"
  [ "$name" = Kelvane.exe ] && first=$built_program second="$copy/build/Kelvane.exe"
  printf 'reproducible build: %-26s first %s\n' "$name" "$(sha256sum <"$first" | cut -d' ' -f1)"
  printf 'reproducible build: %-26s again %s\n' "" "$(sha256sum <"$second" | cut -d' ' -f1)"
  cmp "$first" "$second" || different=1
done
[ $different = 0 ] || fail "the second build differs"
step "both builds are byte-identical"
checks_reached_end
