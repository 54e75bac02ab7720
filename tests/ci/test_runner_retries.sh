#!/usr/bin/env bash
# The test runner starts a program once more only when Wine ended it before it wrote anything;
# a test program that fails, or fails after writing, is never run twice.
set -uo pipefail
runner=$1
scratch=$(mktemp -d) || exit 1
trap 'rm -rf "$scratch"' EXIT
fail=0

# A stand-in for Wine: counts its starts; the first of them fails silently when asked to.
cat > "$scratch/wine" <<'STUB'
#!/bin/sh
echo x >> "$STARTS"
if [ "$1" = silent-once ] && [ "$(wc -l < "$STARTS")" -eq 1 ]; then exit 5; fi
[ "$1" = fails ] && { echo "[  FAILED  ] one"; exit 1; }
echo "[  PASSED  ] all"
STUB
chmod +x "$scratch/wine"

check() { # ARGUMENT EXPECTED_STATUS EXPECTED_STARTS
  export STARTS="$scratch/starts.$1"
  "$runner" "$scratch/wine" "$1" >/dev/null 2>&1
  local status=$? starts
  starts=$(wc -l < "$STARTS")
  if [ "$status" -ne "$2" ] || [ "$starts" -ne "$3" ]; then
    echo "FAIL: '$1' ended with $status after $starts starts (expected $2 after $3)"
    fail=1
  fi
}
check silent-once 0 2
check fails 1 1
check passes 0 1
exit $fail
