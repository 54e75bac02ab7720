#!/usr/bin/env bash
# The test runner starts a program once, whatever happens, and a run that fails says why: the
# command, its exit status, and what Wine wrote to standard error.
set -uo pipefail
runner=$1
scratch=$(mktemp -d) || exit 1
trap 'rm -rf "$scratch"' EXIT
fail=0

# A stand-in for Wine: counts its starts and ends as asked.
cat > "$scratch/wine" <<'STUB'
#!/bin/sh
echo x >> "$STARTS"
case $1 in
  silent) echo "wine: could not load kernel32.dll, status c0000135" >&2; exit 5 ;;
  fails) echo "[  FAILED  ] one"; exit 1 ;;
esac
echo "[  PASSED  ] all"
STUB
chmod +x "$scratch/wine"

check() { # ARGUMENT EXPECTED_STATUS EXPECTED_TEXT...
  local argument=$1 expected=$2 starts status text
  shift 2
  export STARTS="$scratch/starts.$argument"
  TMPDIR=$scratch "$runner" "$scratch/wine" "$argument" >"$scratch/out" 2>&1
  status=$?
  starts=$(wc -l < "$STARTS")
  if [ "$status" -ne "$expected" ] || [ "$starts" -ne 1 ]; then
    echo "FAIL: '$argument' ended with $status after $starts starts (expected $expected after 1)"
    fail=1
  fi
  for text in "$@"; do
    grep -qF -- "$text" "$scratch/out" || { echo "FAIL: '$argument' did not say '$text':"; cat "$scratch/out"; fail=1; }
  done
}
check silent 5 "wine: $scratch/wine silent" "ended with exit code 5 after" "could not load kernel32.dll"
check fails 1 "[  FAILED  ] one" "ended with exit code 1 after" "it wrote nothing to standard error"
check passes 0 "[  PASSED  ] all"
grep -q "ended with exit code" "$scratch/out" && { echo "FAIL: a passing run was reported as failing"; fail=1; }
exit $fail
