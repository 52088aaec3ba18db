#!/usr/bin/env bash
# Installs the Debian 12 packages the build, the tests and the program need, only those that are missing.
#   scripts/ensure-deps.sh [--with-xvfb]   install (--with-xvfb: also xauth, for xvfb-run)
#   scripts/ensure-deps.sh --list          print the package names, one a line
# Installs go without recommended packages, so everything needed is named here: a package that
# only arrives as a recommendation (libqt6opengl6-dev for the Qt Charts CMake package) would be
# missing on a fresh machine. scripts/check-deps.sh verifies the list against a finished build.
set -euo pipefail

packages=(
    cmake ninja-build g++ ccache
    clang libclang-rt-14-dev clang-format clang-tidy
    qt6-base-dev qt6-charts-dev libqt6opengl6-dev
    libqt6sql6-sqlite libqt6sql6-psql postgresql-15
    qt6-svg-dev libqt6svg6 qt6-translations-l10n
    desktop-file-utils shared-mime-info libxml2-utils
    libgtest-dev libgmock-dev libbenchmark-dev
    python3-jsonschema python3-openpyxl
    libxlsxwriter-dev pkg-config
    fonts-texgyre fonts-urw-base35 poppler-utils
    xvfb x11-utils
    libcups2-dev cups-daemon cups-client
    librsvg2-bin dpkg-dev file lintian appstream man-db bash-completion
)
case "${1:-}" in
--with-xvfb) packages+=(xauth) ;;
--list)
    printf '%s\n' "${packages[@]}"
    exit 0
    ;;
esac

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
