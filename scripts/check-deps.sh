#!/usr/bin/env bash
# Checks that every package a finished build used is installed by scripts/ensure-deps.sh itself
# (directly or as a hard dependency), not by chance: the CMake package files the configure step
# found and every header a compile read must belong to the dependency closure of its list.
#   scripts/check-deps.sh BUILD_DIR
set -euo pipefail
cd "$(dirname "$0")/.."
build="${1:?usage: scripts/check-deps.sh BUILD_DIR}"

# Hard dependencies (Depends, Pre-Depends) of the listed packages, recursively, as installed.
declare -A closure=()
queue=($(scripts/ensure-deps.sh --list))
while ((${#queue[@]} > 0)); do
    package="${queue[0]%%:*}"
    queue=("${queue[@]:1}")
    [[ -n "$package" && -z "${closure[$package]:-}" ]] || continue
    closure[$package]=1
    depends=$(dpkg-query -W -f='${Depends}, ${Pre-Depends}' "$package" 2>/dev/null) || continue
    while IFS= read -r alternatives; do
        # "a | b": the first alternative that is installed.
        IFS='|' read -ra choices <<<"$alternatives"
        for choice in "${choices[@]}"; do
            name=$(sed -E 's/\(.*\)//; s/[[:space:]]//g; s/:any$//' <<<"$choice")
            [[ -n "$name" ]] || continue
            if dpkg-query -W -f='${Status}' "$name" 2>/dev/null | grep -q "install ok installed"; then
                queue+=("$name")
                break
            fi
            # A virtual package: whatever installed package provides it.
            provider=$(dpkg-query -W -f='${Package} ${Provides}\n' 2>/dev/null |
                awk -v want="$name" '{ for (i = 2; i <= NF; i++) { p = $i; sub(/,$/, "", p); if (p == want && !found) { print $1; found = 1 } } }')
            if [[ -n "$provider" ]]; then
                queue+=("$provider")
                break
            fi
        done
    done < <(tr ',' '\n' <<<"$depends")
done

# Files the build used: the package configuration files CMake found, and every header a compile read.
used_files=$(
    {
        sed -nE 's/^([A-Za-z0-9_]+)_DIR:PATH=(\/usr\/lib\/.*)$/\1 \2/p' "$build/CMakeCache.txt" |
            while read -r name dir; do
                ls "$dir/${name}Config.cmake" "$dir/${name,,}-config.cmake" 2>/dev/null || true
            done
        ninja -C "$build" -t deps 2>/dev/null | sed -nE 's/^[[:space:]]+(\/usr\/[^[:space:]]+)$/\1/p'
    } | xargs -r realpath -e 2>/dev/null | sort -u
)
# A file may belong to several packages ("a, b: path"); one of them in the closure is enough.
missing=()
while IFS= read -r line; do
    owners="${line%%: /*}"
    ok=""
    IFS=',' read -ra names <<<"$owners"
    for name in "${names[@]}"; do
        name=$(sed -E 's/[[:space:]]//g; s/:[a-z0-9]+$//' <<<"$name")
        [[ -n "${closure[$name]:-}" ]] && ok=1
    done
    [[ -n "$ok" ]] || missing+=("${line#*: }")
done < <(xargs -r dpkg-query -S <<<"$used_files" 2>/dev/null || true)

if ((${#missing[@]} > 0)); then
    echo "The build used files of packages that scripts/ensure-deps.sh does not install:" >&2
    printf '  %s\n' "${missing[@]}" >&2
    exit 1
fi
echo "Every package file the build used comes from scripts/ensure-deps.sh's list or its dependencies."
