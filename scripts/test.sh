#!/usr/bin/env bash
# Installs what is missing, builds and runs every test on Qt's offscreen platform.
set -eu
cd "$(dirname "$0")/.."
scripts/deps.sh
scripts/build.sh
export QT_QPA_PLATFORM=offscreen
# The same fonts on every machine: only DejaVu and Liberation, "Arial" being Liberation Sans.
export FONTCONFIG_FILE="$PWD/tests/fonts.conf"
ctest --test-dir build --output-on-failure -j"$(nproc)"
