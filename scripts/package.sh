#!/usr/bin/env bash
# Builds the two downloads from a finished build: the portable zip (the program, README, LICENSE)
# and the installer, as dist/Kelvane-<version>-win64.zip and dist/Kelvane-<version>-setup.exe.
# KELVANE_BUILD_DIR names the build (default build), KELVANE_DIST_DIR the output (default dist).
set -euo pipefail
cd "$(dirname "$0")/.."
build=${KELVANE_BUILD_DIR:-build}
dist=${KELVANE_DIST_DIR:-dist}

# The version is the project's own, major.minor, as users see it.
version=$(sed -n 's/^project(Kelvane VERSION \([0-9]\+\)\.\([0-9]\+\)\.\([0-9]\+\).*/\1.\2/p' CMakeLists.txt)
version_quad=$(sed -n 's/^project(Kelvane VERSION \([0-9]\+\.[0-9]\+\.[0-9]\+\).*/\1.0/p' CMakeLists.txt)
if [ -z "$version" ] || [ -z "$version_quad" ]; then
  echo "package: no project version in CMakeLists.txt" >&2
  exit 1
fi

program="$build/Kelvane.exe"
for file in "$program" README.md LICENSE resources/Kelvane.ico packaging/Kelvane.nsi; do
  [ -f "$file" ] || { echo "package: $file is missing" >&2; exit 1; }
done
for tool in zip makensis; do
  command -v "$tool" >/dev/null || { echo "package: $tool is not installed (scripts/setup.sh installs it)" >&2; exit 1; }
done

mkdir -p "$dist"
zip_file="$dist/Kelvane-$version-win64.zip"
setup_file="$dist/Kelvane-$version-setup.exe"

# The zip holds the three files at its top level, with no folder and no Unix extras.
rm -f "$zip_file"
zip -q -X -j -9 "$zip_file" "$program" README.md LICENSE

makensis -V2 -NOCD \
  "-DVERSION=$version" "-DVERSION_QUAD=$version_quad" \
  "-DPROGRAM_FILE=$(realpath "$program")" "-DREADME_FILE=$(realpath README.md)" \
  "-DLICENSE_FILE=$(realpath LICENSE)" "-DICON_FILE=$(realpath resources/Kelvane.ico)" \
  "-DOUTPUT_FILE=$(realpath -m "$setup_file")" \
  packaging/Kelvane.nsi

for file in "$zip_file" "$setup_file"; do
  echo "package: $file ($(( ($(stat -c %s "$file") + 1023) / 1024 )) KiB)"
done
