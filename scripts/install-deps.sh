#!/usr/bin/env bash
# Installs the Debian packages the editor, its tests and its tools need.
# Runs `apt-get update` once, and only when something is missing.
set -euo pipefail

packages=(
  build-essential cmake pkg-config g++
  qt6-base-dev qt6-svg-dev libgl-dev
  libgtest-dev libgmock-dev googletest libbenchmark-dev
  libtifiles-dev
  clang libclang-rt-14-dev
  fonts-dejavu-core
  dpkg-dev file desktop-file-utils
  appstream xdg-utils xvfb x11-utils
)

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$p")
  fi
done

if [ ${#missing[@]} -eq 0 ]; then
  exit 0
fi

if [ "$(id -u)" -eq 0 ]; then
  sudo=()
else
  sudo=(sudo)
fi

echo "Installing: ${missing[*]}"
"${sudo[@]}" apt-get update
DEBIAN_FRONTEND=noninteractive "${sudo[@]}" apt-get install -y --no-install-recommends "${missing[@]}"
