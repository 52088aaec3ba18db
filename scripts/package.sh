#!/usr/bin/env bash
# Builds the Debian package build/velomyra_<version>_<arch>.deb: the desktop program, the headless
# tool and their desktop files, manual pages and completion, with the dependencies dpkg-shlibdeps
# finds. An existing build/ is reused as it is configured (./test.sh's); a fresh one builds
# without the tests and benchmarks.
#   scripts/package.sh        prints the package's path on its last line
set -euo pipefail
cd "$(dirname "$0")/.."
build=build
jobs=$(nproc)
export CCACHE_BASEDIR="${CCACHE_BASEDIR:-$PWD}"
export CCACHE_NOHASHDIR="${CCACHE_NOHASHDIR:-true}"

if [[ ! -f $build/CMakeCache.txt ]]; then
    cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVELOMYRA_BUILD_TESTS=OFF \
        -DVELOMYRA_BUILD_BENCH=OFF
fi
cmake --build "$build" -j "$jobs" --target velomyra velomyra-cli velomyra_desktop_files

# The package's name comes from the version CMake was configured with.
version=$(sed -nE 's/^CMAKE_PROJECT_VERSION:STATIC=(.*)$/\1/p' "$build/CMakeCache.txt")
package="$build/velomyra_${version}_$(dpkg --print-architecture).deb"
rm -f "$package"
(cd "$build" && cpack -G DEB >/dev/null)
[[ -f $package ]] || { echo "cpack made no $package" >&2; exit 1; }
echo "$package"
