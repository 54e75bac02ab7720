# Sourced by scripts/package.sh: which NSIS may build the installer. The uninstaller runs from a
# copy of itself in a temporary folder; before NSIS 3.09 another user could put their own program
# in place of that copy, which then ran as administrator. Debian 12 carries the fix in its build
# 3.08-3+deb12u1 without raising the version, so for 3.08 the Debian 12 update number (deb12uN,
# N from 1) is what shows it; later Debian 12 updates keep it.
NSIS_NEEDED="3.09 (or Debian 12's 3.08-3+deb12u1)"

# nsis_is_fixed VERSION: VERSION as makensis -VERSION prints it ("v3.08-3+deb12u1", "v3.10").
nsis_is_fixed() {
  local version=${1#v} major minor
  [[ $version =~ ^([0-9]+)\.([0-9]+) ]] || return 1
  major=$((10#${BASH_REMATCH[1]})) minor=$((10#${BASH_REMATCH[2]}))
  ((major > 3 || (major == 3 && minor >= 9))) && return 0
  ((major == 3 && minor == 8)) && [[ $version =~ ^3\.08-[0-9.]+\+deb12u([1-9][0-9]*)$ ]]
}
