#!/usr/bin/env bash
# Checks the desktop entry and the file types with the desktop's own tools, and that an
# install puts them where desktops look for them.
#   check-desktop-files.sh SOURCE_DIR BUILD_DIR
set -euo pipefail
source_dir=$1
build_dir=$2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

desktop-file-validate "$source_dir/desktop/com.parvenox.Velomyra.desktop"
xmllint --noout "$source_dir/desktop/velomyra-mime.xml"

prefix="$work/prefix"
DESTDIR= cmake --install "$build_dir" --prefix "$prefix" --component desktop >/dev/null
share="$prefix/share"
for file in applications/com.parvenox.Velomyra.desktop mime/packages/velomyra.xml icons/hicolor/scalable/apps/velomyra.svg \
    icons/hicolor/scalable/mimetypes/application-x-velomyra-rundata.svg \
    icons/hicolor/scalable/mimetypes/application-x-velomyra-format.svg \
    icons/hicolor/48x48/apps/velomyra.png icons/hicolor/256x256/mimetypes/application-x-velomyra-format.png \
    metainfo/com.parvenox.Velomyra.metainfo.xml man/man1/velomyra.1.gz man/man1/velomyra-cli.1.gz \
    bash-completion/completions/velomyra-cli; do
    [[ -f "$share/$file" ]] || { echo "not installed: $file"; exit 1; }
done
desktop-file-validate "$share/applications/com.parvenox.Velomyra.desktop"
# The icons drawn from the logo have the sizes their folders promise.
file "$share/icons/hicolor/128x128/apps/velomyra.png" | grep -q "PNG image data, 128 x 128"
# The install refreshed the caches of the prefix.
[[ -f "$share/mime/mime.cache" ]] || { echo "no MIME cache after the install"; exit 1; }
grep -qx "application/x-velomyra-rundata" "$share/mime/types"
grep -qx "application/x-velomyra-format" "$share/mime/types"
grep -q "application/x-velomyra-rundata=com.parvenox.Velomyra.desktop" "$share/applications/mimeinfo.cache"

# The package alone in a fresh database: update-mime-database reports a bad package on its
# output and still exits with 0; a good one makes it say nothing.
fresh="$work/fresh"
mkdir -p "$fresh/mime/packages"
cp "$source_dir/desktop/velomyra-mime.xml" "$fresh/mime/packages/velomyra.xml"
errors=$(XDG_DATA_HOME="$fresh" update-mime-database "$fresh/mime" 2>&1 || true)
if [[ -n "$errors" ]]; then
    echo "$errors"
    exit 1
fi
echo "desktop entry, icons and file types are valid"
