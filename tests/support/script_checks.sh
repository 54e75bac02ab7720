# Sourced by the test scripts that CTest runs: . script_checks.sh "NAME"
#   fail TEXT...          says NAME: TEXT on standard error and ends the script with code 1
#   checks_reached_end    the script's last line: it got through all its checks
# On its way out, whatever happens, the script runs its function cleanup when it has one. A script
# that ends with code 0 before its last line (an early exit, a stray `exit 0`) passed none of the
# checks it skipped: it fails, saying so.
checks_name=$1
checks_done=
fail() { echo "$checks_name: $*" >&2; exit 1; }
checks_reached_end() { checks_done=yes; }
checks_ended() {
  local status=$?
  trap - EXIT
  declare -F cleanup >/dev/null && cleanup
  if [ "$status" -eq 0 ] && [ -z "$checks_done" ]; then
    echo "$checks_name: ended with code 0 before it reached the end of its checks" >&2
    exit 1
  fi
  exit "$status"
}
trap checks_ended EXIT
