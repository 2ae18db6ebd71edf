#!/usr/bin/env bash
# Installs what is missing, builds and runs every test through CTest.
# With CI set, the engine and document tests run again under
# AddressSanitizer and UndefinedBehaviorSanitizer.
set -euo pipefail
cd "$(dirname "$0")"
export QT_QPA_PLATFORM=offscreen
./scripts/setup.sh
ctest --test-dir build --output-on-failure -j "$(nproc)" --timeout 600

if [ -n "${CI:-}" ]; then
    echo "== Pasada con sanitizadores =="
    BUILD_DIR=build-asan ./scripts/setup.sh -DKALNOR_SANITIZE=ON -DKALNOR_GUI=OFF \
        -DKALNOR_BENCH=OFF -DCMAKE_BUILD_TYPE=Debug
    ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 \
        ctest --test-dir build-asan --output-on-failure -j "$(nproc)" --timeout 900
fi
