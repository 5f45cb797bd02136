#!/usr/bin/env bash
# Installs what is missing, builds and runs every test on Qt's offscreen platform.
set -eu
cd "$(dirname "$0")/.."
scripts/deps.sh
scripts/build.sh
export QT_QPA_PLATFORM=offscreen
ctest --test-dir build --output-on-failure -j"$(nproc)"
