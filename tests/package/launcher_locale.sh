#!/usr/bin/env bash
# The launcher that `make run` and the desktop entry start Kelvane through, run by CTest under the
# throwaway prefix and display that scripts/test.sh provides:
#   launcher_locale.sh LAUNCHER kelvane_ansi_code_page.exe
# Whatever the user's own locale, Wine runs under code page 936, or under the code page of the
# locale KELVANE_LANG names; a locale that is not compiled is refused. The first start in a new
# prefix prints the launcher's one line and nothing else; a prefix that cannot be made is reported.
set -uo pipefail
launcher=$1 helper=$2
. "$(dirname "$0")/../support/script_checks.sh" "launcher"
. "$(dirname "$0")/../../scripts/wine-env.sh"

step() { echo "launcher: $*"; }

[ -n "${WINEPREFIX:-}" ] && [ "$(realpath -m "$WINEPREFIX")" != "$(realpath -m "$HOME/.wine")" ] ||
  fail "WINEPREFIX must name a throwaway prefix (scripts/test.sh sets one up)"
scratch=$(mktemp -d /tmp/kelvane-launcher.XXXXXX) || { echo "$0: cannot make a temporary folder" >&2; exit 1; }
new_prefix="$scratch/new prefix"
cleanup() {
  WINEPREFIX=$new_prefix prefix_remove
  rm -rf "$scratch"
}

# The helper started as the launcher starts Kelvane, under a user's locale that is not Chinese.
start() {
  env LANG=C.UTF-8 LC_ALL=C.UTF-8 KELVANE_PROGRAM="$helper" "$@" "$launcher" </dev/null \
    >"$scratch/out" 2>"$scratch/err"
}
expect_code_page() {
  local status=$1 expected=$2 what=$3
  [ "$status" -eq 0 ] || fail "$what: the launcher ended with code $status: $(cat "$scratch/err")"
  [ "$(cat "$scratch/out")" = "$expected" ] ||
    fail "$what: code page $(cat "$scratch/out"), not $expected ($(cat "$scratch/err"))"
}

start
expect_code_page $? 936 "under C.UTF-8"
step "code page 936 under the user's C.UTF-8"

start KELVANE_LANG=en_US.UTF-8
expect_code_page $? 1252 "with KELVANE_LANG=en_US.UTF-8"
step "code page 1252 with KELVANE_LANG=en_US.UTF-8"

start KELVANE_LANG=xx_XX.UTF-8 && fail "a locale that is not compiled was accepted"
grep -q "locale xx_XX.UTF-8 is not compiled" "$scratch/err" || fail "no word on the missing locale: $(cat "$scratch/err")"
[ ! -s "$scratch/out" ] || fail "the helper ran under a locale that is not compiled"
step "a locale that is not compiled is refused"

# The first start in a prefix of its own makes it, quietly, and the program runs under 936.
start WINEPREFIX="$new_prefix"
expect_code_page $? 936 "first start"
expected="kelvane: making the Wine prefix $new_prefix (first start, about half a minute)"
[ "$(cat "$scratch/err")" = "$expected" ] || fail "the first start printed: $(cat "$scratch/err")"
step "the first start in a new prefix printed its one line"

# A prefix that cannot be made stops the launcher with the reason.
touch "$scratch/file"
start WINEPREFIX="$scratch/file/prefix" && fail "a prefix inside a file was reported as made"
grep -q "^mkdir: .*$scratch/file" "$scratch/err" || fail "the reason is not shown: $(cat "$scratch/err")"
grep -q "could not be made" "$scratch/err" || fail "the launcher does not say the prefix failed: $(cat "$scratch/err")"
step "a prefix that cannot be made is reported"
checks_reached_end
