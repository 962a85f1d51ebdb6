#!/usr/bin/env bash
# Installs what Ledge needs on Debian 12 (only what is missing), then builds it.
# Sourced by tools/run and tools/test; BUILD_DIR and CMAKE_ARGS may be set first.
set -euo pipefail

LEDGE_ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
BUILD_DIR="${BUILD_DIR:-$LEDGE_ROOT/build}"

LEDGE_PACKAGES=(
  build-essential cmake pkg-config git
  qtbase5-dev qtscript5-dev libsfml-dev
  libgtest-dev libgmock-dev libbenchmark-dev
  xvfb xauth libgl1-mesa-dri xdotool libx11-dev libxfixes-dev x11-utils
  imagemagick
  libpng-dev libjpeg62-turbo-dev libgif-dev libstb-dev libfreetype-dev libsndfile1-dev
)

install_missing() {
  local missing=()
  for p in "${LEDGE_PACKAGES[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
      missing+=("$p")
    fi
  done
  if ((${#missing[@]})); then
    echo "Installing: ${missing[*]}"
    local sudo=""
    if [[ $(id -u) -ne 0 ]]; then sudo="sudo"; fi
    $sudo apt-get update -qq
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq "${missing[@]}"
  fi
}

build_ledge() {
  cmake -S "$LEDGE_ROOT" -B "$BUILD_DIR" ${CMAKE_ARGS:-}
  cmake --build "$BUILD_DIR" -j "$(nproc)"
}

install_missing
build_ledge
