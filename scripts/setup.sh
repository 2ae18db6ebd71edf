#!/usr/bin/env bash
# Installs the Debian packages Kalnor needs (when missing), then configures
# and builds. Shared by run.sh and test.sh. With --paquete as the first
# argument it only installs, adding what building and checking the Debian
# package needs (scripts/paquete.sh).
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

# Only for the Debian package: the file types and debug symbols CPack reads,
# and lintian.
PACKAGES_PAQUETE=(dpkg-dev file binutils lintian)

if [ "${1:-}" = --paquete ]; then
    exec "$(dirname "$0")/instalar-paquetes.sh" "${PACKAGES[@]}" "${PACKAGES_PAQUETE[@]}"
fi
"$(dirname "$0")/instalar-paquetes.sh" "${PACKAGES[@]}"

BUILD_DIR=${BUILD_DIR:-build}
cmake -S . -B "$BUILD_DIR" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo "$@"
cmake --build "$BUILD_DIR" -j "$(nproc)"
