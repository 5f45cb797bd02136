#!/usr/bin/env bash
# Installs what the build needs on Debian 12: apt when root, else names the packages. The fonts are the ones
# the program expects: DejaVu (the desktop's default) and Liberation Sans, which stands in for the stored "Arial".
set -eu
pkgs=(cmake g++ make pkg-config qt6-base-dev libgl-dev libsqlite3-dev libgtest-dev libgmock-dev
    fontconfig fonts-dejavu-core fonts-liberation2)
missing=()
for p in "${pkgs[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "ok installed" || missing+=("$p")
done
if ((${#missing[@]})); then
    if [[ $(id -u) == 0 ]]; then
        export DEBIAN_FRONTEND=noninteractive
        apt-get update -qq
        apt-get install -y -qq "${missing[@]}"
    else
        echo "Please install: sudo apt-get install ${missing[*]}" >&2
        exit 1
    fi
fi
