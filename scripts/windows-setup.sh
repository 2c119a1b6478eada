#!/usr/bin/env bash
# The Windows setup from the files of the zip (scripts/package-windows.sh makes
# both from one folder): build/windows-package/Ordalis-Setup-<version>.exe.
#   --no-package  takes the folder as the last package build left it
set -euo pipefail
cd "$(dirname "$0")/.."

out=build/windows-package
stage=$out/Ordalis
[[ ${1:-} == --no-package ]] || scripts/package-windows.sh
scripts/install-deps.sh nsis librsvg2-bin imagemagick

version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' build/windows-app/CMakeCache.txt)
work=build/windows-setup
rm -rf "$work"
mkdir -p "$work"

# What the uninstaller removes: the files, then the folders deepest first.
win_path() {
    local path=${1#./}
    printf '%s' "${path//\//\\}"
}
{
    (cd "$stage" && find . -type f | LC_ALL=C sort) | while read -r file; do
        echo "Delete \"\$INSTDIR\\$(win_path "$file")\""
    done
    (cd "$stage" && find . -mindepth 1 -type d | LC_ALL=C sort -r) | while read -r folder; do
        echo "RMDir \"\$INSTDIR\\$(win_path "$folder")\""
    done
} >"$work/files.nsh"

# The picture beside the first and the last page: the icon on its own blue.
rsvg-convert -w 120 -h 120 packaging/org.example.Ordalis.svg -o "$work/icon.png"
convert -size 164x314 xc:'#2f6f9f' "$work/icon.png" -gravity north -geometry +0+40 -composite \
    -type TrueColor BMP3:"$work/welcome.bmp"

setup=$out/Ordalis-Setup-$version.exe
makensis -V2 -INPUTCHARSET UTF8 -DVERSION="$version" -DSTAGE="$PWD/$stage" \
    -DFILES="$PWD/$work/files.nsh" -DPICTURE="$PWD/$work/welcome.bmp" -DOUTFILE="$PWD/$setup" \
    packaging/windows/ordalis.nsi
echo "$setup: $(du -k "$setup" | cut -f1) KiB"
