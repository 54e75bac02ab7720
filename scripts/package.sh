#!/usr/bin/env bash
# Builds the two downloads from a finished build: the portable zip (the program, README.txt,
# LICENSE) and the installer, as dist/Kelvane-<version>-win64.zip and
# dist/Kelvane-<version>-setup.exe, and their SHA-256 in dist/SHA256SUMS. The installer also
# carries the folder helper FolderGuard.exe, which it runs elevated.
# KELVANE_BUILD_DIR names the build (default build), KELVANE_DIST_DIR the output (default dist).
#
# Signing: with a PKCS#12 certificate in KELVANE_SIGN_PFX (password KELVANE_SIGN_PASSWORD,
# optional RFC 3161 timestamp server KELVANE_SIGN_TIMESTAMP) the program, the folder helper, the
# uninstaller and the setup program are signed with Authenticode (scripts/sign.sh); without one
# nothing is signed, and this script says so.
#
# Reproducible: the same sources give byte-identical unsigned downloads. Every file inside carries
# the time of the last commit (SOURCE_DATE_EPOCH, when set, wins), the zip's order and times do
# not depend on the machine, and each program is in the form a signature leaves around it, so
# removing a signature gives back the unsigned file.
set -euo pipefail
cd "$(dirname "$0")/.."
build=${KELVANE_BUILD_DIR:-build}
dist=${KELVANE_DIST_DIR:-dist}

# The project's version, from where the program's build takes it: one fact a line, its kind first.
full_version=$(awk '$1 == "version" { print $2; exit }' resources/Facts.txt)
if ! [[ $full_version =~ ^[0-9]+\.[0-9]+\.[0-9]+$ ]]; then
  echo "package: resources/Facts.txt holds no version" >&2
  exit 1
fi
# major.minor as users see it, and the four numbers of the version resource.
version=${full_version%.*}
version_quad=$full_version.0
program="$build/Kelvane.exe"
folder_guard="$build/packaging/FolderGuard.exe"
# The exit codes FolderGuard and the installer share, as the build wrote them (packaging/CMakeLists.txt).
exit_codes="$build/generated/packaging/ExitCodes.nsh"
for file in "$program" "$folder_guard" "$exit_codes" packaging/README.txt LICENSE resources/Kelvane.ico \
            packaging/Kelvane.nsi; do
  [ -f "$file" ] || { echo "package: $file is missing" >&2; exit 1; }
done
for tool in zip makensis perl sha256sum; do
  command -v "$tool" >/dev/null || { echo "package: $tool is not installed (scripts/setup.sh installs it)" >&2; exit 1; }
done
. scripts/nsis-version.sh
nsis_version=$(makensis -VERSION)
nsis_is_fixed "$nsis_version" ||
  { echo "package: NSIS $nsis_version is too old: the installer needs NSIS $NSIS_NEEDED" >&2; exit 1; }

if [ -z "${SOURCE_DATE_EPOCH:-}" ]; then
  SOURCE_DATE_EPOCH=$(git log -1 --format=%ct 2>/dev/null || true)
  if [ -z "$SOURCE_DATE_EPOCH" ]; then
    SOURCE_DATE_EPOCH=315532800  # 1980-01-01, the earliest time a zip can hold
    echo "package: not a git checkout and no SOURCE_DATE_EPOCH: the files carry 1980-01-01"
  fi
fi
export SOURCE_DATE_EPOCH

signing=
if [ -n "${KELVANE_SIGN_PFX:-}" ]; then
  signing=yes
  command -v osslsigncode >/dev/null ||
    { echo "package: osslsigncode is not installed (scripts/setup.sh installs it)" >&2; exit 1; }
fi

stage=$(mktemp -d)
trap 'rm -rf "$stage"' EXIT
# makensis is a Windows program under MSYS2: it gets Windows paths there.
native_path() {
  if command -v cygpath >/dev/null; then cygpath -m "$1"; else realpath -m "$1"; fi
}

# What the downloads hold, with fixed times and permissions. README.txt is a Windows text file
# (UTF-8 with a byte order mark, CRLF), so that every Notepad shows it.
cp "$program" "$stage/Kelvane.exe"
{ printf '\357\273\277'; sed -e "s/@VERSION@/$version/g" -e 's/$/\r/' packaging/README.txt; } >"$stage/README.txt"
cp LICENSE "$stage/LICENSE"
cp "$folder_guard" "$stage/FolderGuard.exe"
chmod 644 "$stage"/*
if [ -n "$signing" ]; then
  for exe in Kelvane.exe FolderGuard.exe; do bash scripts/sign.sh "$stage/$exe"; done
  finalize="bash \"$(native_path scripts/sign.sh)\""
else
  for exe in Kelvane.exe FolderGuard.exe; do perl scripts/pe-checksum.pl "$stage/$exe"; done
  finalize="perl \"$(native_path scripts/pe-checksum.pl)\""
fi
touch -d "@$SOURCE_DATE_EPOCH" "$stage"/*

mkdir -p "$dist"
zip_file="$dist/Kelvane-$version-win64.zip"
setup_file="$dist/Kelvane-$version-setup.exe"

# The zip holds the three files at its top level in this order, with no folder and no Unix
# extras; its times are local times, so they are taken in UTC.
rm -f "$zip_file" "$setup_file" "$dist/SHA256SUMS"
zip_path=$(realpath -m "$zip_file")
(cd "$stage" && TZ=UTC zip -q -X -D -9 "$zip_path" Kelvane.exe README.txt LICENSE)

# makensis runs the finalize command on the uninstaller and on the setup program it writes: it
# signs them, or brings them into the same form unsigned. A warning of makensis is an error.
makensis -V2 -WX -NOCD \
  "-DVERSION=$version" "-DVERSION_QUAD=$version_quad" "-DEXIT_CODES=$(native_path "$exit_codes")" \
  "-DPROGRAM_FILE=$(native_path "$stage/Kelvane.exe")" "-DFOLDER_GUARD_FILE=$(native_path "$stage/FolderGuard.exe")" \
  "-DREADME_FILE=$(native_path "$stage/README.txt")" \
  "-DLICENSE_FILE=$(native_path "$stage/LICENSE")" "-DICON_FILE=$(native_path resources/Kelvane.ico)" \
  "-DFINALIZE_COMMAND=$finalize" "-DOUTPUT_FILE=$(native_path "$setup_file")" \
  packaging/Kelvane.nsi

(cd "$dist" && sha256sum "$(basename "$zip_file")" "$(basename "$setup_file")" >SHA256SUMS)
for file in "$zip_file" "$setup_file"; do
  echo "package: $file ($(( ($(stat -c %s "$file") + 1023) / 1024 )) KiB)"
done
if [ -n "$signing" ]; then
  echo "package: Kelvane.exe, the folder helper, the uninstaller and the setup program are signed"
else
  echo "package: NOT SIGNED: no certificate given (KELVANE_SIGN_PFX, KELVANE_SIGN_PASSWORD)"
fi
