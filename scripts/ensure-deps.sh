#!/usr/bin/env bash
# Installs the Debian 12 packages the build needs, only those that are missing.
set -euo pipefail

packages=(
    cmake ninja-build g++ ccache
    clang libclang-rt-14-dev
    qt6-base-dev qt6-charts-dev
    qt6-svg-dev libqt6svg6
    desktop-file-utils shared-mime-info
    libgtest-dev libgmock-dev libbenchmark-dev
)
if [[ "${1:-}" == "--with-xvfb" ]]; then
    packages+=(xvfb xauth)
fi

missing=()
for package in "${packages[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed"; then
        missing+=("$package")
    fi
done

if ((${#missing[@]} > 0)); then
    echo "Installing: ${missing[*]}"
    sudo_cmd=()
    if [[ $(id -u) -ne 0 ]]; then
        sudo_cmd=(sudo)
    fi
    export DEBIAN_FRONTEND=noninteractive
    "${sudo_cmd[@]}" apt-get update
    "${sudo_cmd[@]}" apt-get install -y --no-install-recommends "${missing[@]}"
fi
