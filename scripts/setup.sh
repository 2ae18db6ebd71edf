#!/usr/bin/env bash
# Installs the Debian packages Kalnor needs (when missing), then configures
# and builds. Shared by run.sh and test.sh.
set -euo pipefail

PACKAGES=(
    build-essential cmake ninja-build pkg-config
    qt6-base-dev qt6-charts-dev libqt6opengl6-dev qt6-svg-dev libqt6svg6 qt6-qpa-plugins
    libsqlite3-dev libgtest-dev libgmock-dev libbenchmark-dev
    mdbtools-dev libxcb1-dev
    clang
    fonts-dejavu-core adwaita-icon-theme
    qt6-translations-l10n desktop-file-utils appstream poppler-utils unzip
)

missing=()
for p in "${PACKAGES[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if ((${#missing[@]})); then
    echo "Instalando paquetes: ${missing[*]}"
    SUDO=""
    if [ "$(id -u)" -ne 0 ]; then SUDO="sudo"; fi
    export DEBIAN_FRONTEND=noninteractive
    $SUDO apt-get update -qq
    $SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi

BUILD_DIR=${BUILD_DIR:-build}
cmake -S . -B "$BUILD_DIR" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo "$@"
cmake --build "$BUILD_DIR" -j "$(nproc)"
