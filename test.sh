#!/usr/bin/env bash
# Installs what is missing, checks the formatting, builds everything (warnings are errors) and runs every test:
#  1. build/       the whole program with GCC: unit, window and tool tests (ctest); benchmarks built, not run;
#                  the archive tests also run against a throw-away PostgreSQL server (scripts/test-postgres.sh);
#                  clang-tidy (.clang-tidy) over src/, app/ and cli/ with its compile database;
#                  every package file the build used must come from scripts/ensure-deps.sh;
#                  the Debian package made from it (scripts/package.sh) checked by scripts/check-package.sh
#  2. build-asan/  the model libraries, their tests and the fuzz targets with Clang, AddressSanitizer and
#                  UndefinedBehaviorSanitizer; the fuzz seed corpora are replayed as tests
set -euo pipefail
cd "$(dirname "$0")"

./scripts/ensure-deps.sh

jobs=$(nproc)
export QT_QPA_PLATFORM=offscreen
# Compiler cache entries that do not depend on the clone's folder, so a fresh clone builds from the cache.
export CCACHE_BASEDIR="${CCACHE_BASEDIR:-$PWD}"
export CCACHE_NOHASHDIR="${CCACHE_NOHASHDIR:-true}"
export ASAN_OPTIONS="${ASAN_OPTIONS:-detect_leaks=1:abort_on_error=1}"
export UBSAN_OPTIONS="${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}"

echo "== Formatting =="
scripts/check-format.sh

echo "== Build (GCC) =="
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVELOMYRA_WERROR=ON
cmake --build build -j "$jobs"

echo "== Static analysis (clang-tidy) =="
scripts/run-clang-tidy.sh build

echo "== Packages =="
scripts/check-deps.sh build

# A PostgreSQL server of its own for the archive tests, stopped however the script ends.
echo "== PostgreSQL for the archive tests =="
eval "$(scripts/test-postgres.sh start)"
trap 'scripts/test-postgres.sh stop "$VELOMYRA_TEST_POSTGRES_FOLDER"' EXIT

echo "== Tests (GCC) =="
ctest --test-dir build --output-on-failure -j "$jobs"

echo "== Debian package =="
package=$(scripts/package.sh | tail -n 1)
scripts/check-package.sh "$package"

# The second build is model-only on purpose: besides the sanitizers it proves that the model
# libraries, their tests and the headless tool build without Qt Gui and Widgets.
echo "== Build (Clang, AddressSanitizer + UndefinedBehaviorSanitizer, fuzz targets) =="
CC=clang CXX=clang++ cmake -S . -B build-asan -G Ninja -DCMAKE_BUILD_TYPE=Debug -DVELOMYRA_WERROR=ON \
    -DVELOMYRA_MODEL_ONLY=ON -DVELOMYRA_SANITIZE=ON -DVELOMYRA_FUZZ=ON -DVELOMYRA_BUILD_BENCH=OFF
cmake --build build-asan -j "$jobs"

echo "== Tests (sanitizers) =="
ctest --test-dir build-asan --output-on-failure -j "$jobs"
