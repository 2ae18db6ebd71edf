#!/usr/bin/env bash
# Builds the Debian package kalnor_VERSION_amd64.deb (and its debug symbols,
# kalnor-dbgsym_VERSION_amd64.ddeb) from a clean Release build, then checks
# it with lintian. The files are left in build-paquete/paquete/ (another
# folder with BUILD_DIR=...).
#
# Built with CPack's DEB generator from the same CMake install rules that
# `cmake --install` uses, so the package and a source install cannot drift
# apart; dpkg-shlibdeps computes the library dependencies.
set -euo pipefail
cd "$(dirname "$0")/.."

# What the build needs, and what packaging and checking need on top.
scripts/setup.sh --paquete

BUILD_DIR=${BUILD_DIR:-build-paquete}
rm -rf "$BUILD_DIR"
# Debian's hardening flags, all of them (stack protector, fortify, relro,
# bindnow).
export DEB_BUILD_MAINT_OPTIONS=hardening=+all
CFLAGS=$(dpkg-buildflags --get CFLAGS)
CXXFLAGS=$(dpkg-buildflags --get CXXFLAGS)
CPPFLAGS=$(dpkg-buildflags --get CPPFLAGS)
LDFLAGS=$(dpkg-buildflags --get LDFLAGS)
export CFLAGS="$CFLAGS $CPPFLAGS" CXXFLAGS="$CXXFLAGS $CPPFLAGS" LDFLAGS
cmake -S . -B "$BUILD_DIR" -G Ninja -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX=/usr \
    -DBUILD_TESTING=OFF -DKALNOR_BENCH=OFF "$@"
cmake --build "$BUILD_DIR" -j "$(nproc)"
cmake --build "$BUILD_DIR" --target paquete

deb=$(ls "$BUILD_DIR"/paquete/kalnor_*.deb)
echo "== Lintian"
lintian --fail-on error --info "$deb"
echo "== Paquete: $deb ($(du -k "$deb" | cut -f1) KB)"
