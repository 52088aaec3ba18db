#!/usr/bin/env bash
# Runs clang-tidy (checks in .clang-tidy) on every project source under src/, app/ and cli/ that the
# build compiles, in parallel; fails with a short summary on any finding.
#   scripts/run-clang-tidy.sh [BUILD_DIR]   (default: build; needs its compile_commands.json)
set -euo pipefail
cd "$(dirname "$0")/.."
build="${1:-build}"
db="$build/compile_commands.json"
[[ -f "$db" ]] || { echo "run-clang-tidy: $db is missing; configure the build first" >&2; exit 2; }

root=$(pwd)
# Generated moc/autogen units are Qt's code, not ours.
mapfile -t files < <(python3 -c '
import json, sys
seen = set()
for entry in json.load(open(sys.argv[1])):
    path = entry["file"]
    if "_autogen" in path or "/moc_" in path or path in seen:
        continue
    for top in ("src/", "app/", "cli/"):
        if path.startswith(sys.argv[2] + "/" + top) and path.endswith(".cpp"):
            seen.add(path)
            print(path)
' "$db" "$root")
((${#files[@]} > 0)) || { echo "run-clang-tidy: no sources found in $db" >&2; exit 2; }

log=$(mktemp)
trap 'rm -f "$log"' EXIT
status=0
finding=':[0-9]+:[0-9]+: (warning|error): '
# Only this checkout's own headers: not the autogen ones under the build directory, not the tests'.
headers="^$(sed 's/[.[\\*^$+?(){}|]/\\&/g' <<<"$root")/(src|app|cli)/.*\\.h\$"
# GCC-only warning flags in the database would otherwise be errors for clang.
printf '%s\0' "${files[@]}" |
    xargs -0 -n 1 -P "$(nproc)" clang-tidy -p "$build" --quiet --header-filter="$headers" \
        --extra-arg=-Wno-unknown-warning-option --extra-arg=-Wno-ignored-optimization-argument \
        >"$log" 2>&1 || status=$?
if ((status != 0)) || grep -qE "$finding" "$log"; then
    grep -qE "$finding" "$log" || tail -n 20 "$log"
    grep -E "$finding" "$log" | sort -u
    count=$(grep -E "$finding" "$log" | sort -u | wc -l)
    echo "clang-tidy: $count finding(s) in ${#files[@]} files" >&2
    exit 1
fi
echo "clang-tidy: ${#files[@]} files clean"
