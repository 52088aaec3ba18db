#!/usr/bin/env bash
# Installs what is missing, builds, and starts the program.
set -euo pipefail
cd "$(dirname "$0")"

./scripts/ensure-deps.sh

cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build build -j "$(nproc)"

if [[ -x build/app/velomyra ]]; then
    exec build/app/velomyra "$@"
fi

# Until the main window exists, the headless tool calculates the example run.
echo "The desktop program is not built yet; calculating the example run with velomyra-cli:"
echo
exec build/cli/velomyra-cli calc examples/run-8point.vdf "$@"
