#!/usr/bin/env bash
# Installs what is missing, builds everything with warnings as errors and runs
# every test. With --sanitize, the same under AddressSanitizer and
# UndefinedBehaviorSanitizer.
set -euo pipefail
cd "$(dirname "$0")/.."

preset=ci
if [ "${1:-}" = "--sanitize" ]; then
  preset=asan
fi

bash scripts/install-deps.sh
cmake --preset "$preset"
cmake --build --preset "$preset" -j "$(nproc)"
ctest --preset "$preset" -j "$(nproc)"
