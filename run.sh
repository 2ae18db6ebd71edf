#!/usr/bin/env bash
# Installs what is missing, builds and starts Kalnor.
set -euo pipefail
cd "$(dirname "$0")"
./scripts/setup.sh
BUILD_DIR=${BUILD_DIR:-build}
if [ -x "$BUILD_DIR/kalnor" ]; then
    exec "$BUILD_DIR/kalnor" "$@"
fi
exec "$BUILD_DIR/kalnor-cli" "$@"
