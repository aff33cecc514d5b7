#!/usr/bin/env bash
# Installs what is missing, builds the editor and starts it.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/install-deps.sh
cmake --preset default
cmake --build --preset default -j "$(nproc)" --target plodderz-editor
exec ./build/src/plodderz-editor "$@"
