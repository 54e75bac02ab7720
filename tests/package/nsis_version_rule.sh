#!/usr/bin/env bash
# Which NSIS may build the installer (scripts/nsis-version.sh), for versions as makensis -VERSION
# prints them, and scripts/package.sh refusing an older one, naming the version needed:
#   nsis_version_rule.sh SOURCE-DIR BUILD-DIR
set -uo pipefail
source_dir=$1 build_dir=$2
. "$source_dir/scripts/nsis-version.sh"
failed=0
while read -r version expected; do
  if nsis_is_fixed "$version"; then got=accepted; else got=refused; fi
  [ "$got" = "$expected" ] || { echo "nsis version rule: $version $got, expected $expected" >&2; failed=1; }
done <<'VERSIONS'
v3.08-3+deb12u1 accepted
v3.08-3+deb12u2 accepted
v3.08-3 refused
v3.08 refused
v3.08-3+deb11u1 refused
v3.06.1-1+deb11u1 refused
v3.09 accepted
v3.09-1 accepted
v3.10 accepted
v4.0 accepted
v2.51 refused
unknown refused
VERSIONS

# A makensis of 3.08 as upstream ships it: scripts/package.sh stops before building anything.
scratch=$(mktemp -d) || exit 1
trap 'rm -rf "$scratch"' EXIT
printf '#!/bin/sh\necho v3.08\n' >"$scratch/makensis"
chmod +x "$scratch/makensis"
output=$(PATH="$scratch:$PATH" KELVANE_BUILD_DIR="$build_dir" KELVANE_DIST_DIR="$scratch/dist" \
  bash "$source_dir/scripts/package.sh" 2>&1) && { echo "nsis version rule: package.sh took NSIS v3.08" >&2; failed=1; }
grep -q "needs NSIS 3.09" <<<"$output" || { echo "nsis version rule: package.sh said: $output" >&2; failed=1; }
[ ! -e "$scratch/dist" ] || { echo "nsis version rule: package.sh wrote $scratch/dist" >&2; failed=1; }
[ $failed = 0 ] && echo "nsis version rule: passed"
exit $failed
