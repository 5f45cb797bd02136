#!/usr/bin/env bash
# Installs what is missing, builds and starts Quorvane. An optional folder argument replaces the settings base folder.
set -eu
cd "$(dirname "$0")/.."
scripts/deps.sh
scripts/build.sh
exec build/bin/quorvane "$@"
