#!/usr/bin/env bash
# Installs what is missing, builds, and starts the program. Arguments go to the program
# (a run data file to open: ./run.sh examples/run-8point.vdf).
set -euo pipefail
cd "$(dirname "$0")"

./scripts/ensure-deps.sh

cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build build -j "$(nproc)" --target velomyra velomyra-cli

exec build/app/velomyra "$@"
