#!/usr/bin/env bash
# Checks the Debian package scripts/package.sh made: lintian finds no errors, the metainfo, the
# desktop entry and the manual pages pass their tools, the package holds exactly the files listed
# in desktop/package-files.txt, the completion completes, and the programs unpacked into a
# temporary root calculate the example run and write its report.
#   scripts/check-package.sh build/velomyra_VERSION_ARCH.deb
set -euo pipefail
cd "$(dirname "$0")/.."
deb="${1:?usage: scripts/check-package.sh PACKAGE.deb}"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail() {
    echo "$deb: $*" >&2
    exit 1
}

echo "-- lintian"
# Neither errors nor warnings; the README ("Install for a lab") says why the infos (-I) stay.
lintian --fail-on error,warning "$deb" 2> >(grep -v "running with root privileges" >&2)

echo "-- contents"
dpkg-deb -c "$deb" | awk '$1 !~ /^d/ { sub(/^\.\//, "/", $6); print $6 }' | sort >"$work/files"
if ! diff -u desktop/package-files.txt "$work/files"; then
    fail "holds other files than desktop/package-files.txt lists"
fi
depends=$(dpkg-deb -f "$deb" Depends)
for needed in libqt6widgets6 libqt6core6 fonts-texgyre fonts-urw-base35 qt6-translations-l10n \
    libqt6sql6-sqlite libqt6sql6-psql; do
    grep -qE "(^|, )$needed( |,|$)" <<<"$depends" || fail "Depends lacks $needed: $depends"
done

root="$work/root"
dpkg-deb -x "$deb" "$root"
share="$root/usr/share"

echo "-- desktop entry and metainfo"
desktop-file-validate "$share"/applications/*.desktop
appstreamcli validate --no-net "$share"/metainfo/*.metainfo.xml >/dev/null ||
    appstreamcli validate --no-net "$share"/metainfo/*.metainfo.xml

echo "-- manual pages"
for page in "$share"/man/man1/*.1.gz; do
    # man reports troff's warnings on standard error and still renders the page.
    warnings=$(MANWIDTH=80 man --warnings -l "$page" 2>&1 >/dev/null)
    [[ -z "$warnings" ]] || fail "$(basename "$page"): $warnings"
done

echo "-- completion"
# shellcheck disable=SC2016 # expanded by the inner shell
complete_words='source /usr/share/bash-completion/bash_completion
source "$1"
cd "$2"
COMP_WORDS=("${@:3}")
COMP_CWORD=$((${#COMP_WORDS[@]} - 1))
COMPREPLY=()
_velomyra_cli
echo "${COMPREPLY[*]}"'
runs="$work/runs"
mkdir "$runs"
cp examples/run-8point.vdf examples/layout-8point.vff "$runs"
while IFS='|' read -r line expected; do
    # shellcheck disable=SC2086 # the words of the command line
    got=$(bash -c "$complete_words" bash "$share/bash-completion/completions/velomyra-cli" "$runs" $line '')
    [[ "$got" == "$expected" ]] || fail "completion of '$line': '$got', not '$expected'"
done <<'CASES'
velomyra-cli|calc archive summary --help --version
velomyra-cli archive|add list trends verify
velomyra-cli calc|run-8point.vdf
velomyra-cli calc --plate plate.txt --format|layout-8point.vff
velomyra-cli summary run-8point.vdf --language|en de fr es it el pt pl
CASES

echo "-- the unpacked programs"
export QT_QPA_PLATFORM=offscreen HOME="$work/home" XDG_CONFIG_HOME="$work/home/.config"
export XDG_RUNTIME_DIR="$work/runtime"
mkdir -p "$HOME"
mkdir -m 700 "$XDG_RUNTIME_DIR"
# The programs say version 5.3.0.8 as "5.3.0 Build 08".
IFS=. read -r major minor release build <<<"$(dpkg-deb -f "$deb" Version)"
version="$major.$minor.$release Build $(printf '%02d' "$build")"
for program in velomyra velomyra-cli; do
    "$root/usr/bin/$program" --version | grep -qF "$version" || fail "$program --version does not say $version"
done
"$root/usr/bin/velomyra-cli" calc "$runs/run-8point.vdf" --json >"$work/run.json" ||
    fail "velomyra-cli calc failed on the example run"
python3 -c 'import json, sys; json.load(open(sys.argv[1]))' "$work/run.json" ||
    fail "velomyra-cli calc wrote no JSON"
"$root/usr/bin/velomyra" report "$runs/run-8point.vdf" --pdf "$work/run.pdf" --curve-page ||
    fail "velomyra report failed on the example run"
[[ $(head -c 5 "$work/run.pdf") == "%PDF-" ]] || fail "velomyra report wrote no PDF"
echo "$deb: the package is complete and its programs run"
