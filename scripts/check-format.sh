#!/usr/bin/env bash
# Checks that every C++ file git tracks is formatted with the project's .clang-format.
#   scripts/check-format.sh          report the files that differ (exit 1 when any does)
#   scripts/check-format.sh --fix    format them in place
set -euo pipefail
cd "$(dirname "$0")/.."

mapfile -t files < <(git ls-files -- '*.cpp' '*.h')
if [[ "${1:-}" == "--fix" ]]; then
    clang-format -i "${files[@]}"
    exit 0
fi
unformatted=()
for file in "${files[@]}"; do
    if ! clang-format --dry-run --Werror "$file" >/dev/null 2>&1; then
        unformatted+=("$file")
    fi
done
if ((${#unformatted[@]} > 0)); then
    echo "Not formatted with .clang-format (scripts/check-format.sh --fix formats them):" >&2
    printf '  %s\n' "${unformatted[@]}" >&2
    exit 1
fi
echo "All ${#files[@]} C++ files are formatted."
