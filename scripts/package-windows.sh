#!/usr/bin/env bash
# Cross-builds Ordalis.exe, Tastor.exe and ordalis-cli.exe against the Qt that
# scripts/build-qt-windows.sh made, and zips them with the DLLs, plugins and
# translations they need: build/windows-package/Ordalis-<version>-win64.zip.
set -euo pipefail
cd "$(dirname "$0")/.."
repo=$PWD

qt=${ORDALIS_QT_WINDOWS:-$HOME/.cache/ordalis/qt6-mingw-6.4.2}
out=build/windows-package
build=build/windows-app
jobs=${JOBS:-2}

scripts/build-qt-windows.sh
scripts/install-deps.sh qt6-translations-l10n zip binutils-mingw-w64-x86-64 librsvg2-bin \
    imagemagick

started=$(date +%s)
test -f "$build/build.ninja" ||
    "$qt/bin/qt-cmake" -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release \
        -DQT_CHAINLOAD_TOOLCHAIN_FILE="$repo/cmake/mingw-w64-x86_64.cmake" >/dev/null
nice -n 19 cmake --build "$build" -j "$jobs" --target ordalis tastor ordalis-cli
echo "Programs built in $(($(date +%s) - started)) s"

version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$build/CMakeCache.txt")
stage=$out/Ordalis
rm -rf "$out"
mkdir -p "$stage/platforms" "$stage/styles" "$stage/translations"
cp "$build/app/ordalis.exe" "$stage/Ordalis.exe"
cp "$build/installer/tastor.exe" "$stage/Tastor.exe"
cp "$build/cli/ordalis-cli.exe" "$stage/ordalis-cli.exe"
cp "$qt/plugins/platforms/qwindows.dll" "$stage/platforms/"
cp "$qt/plugins/styles/qwindowsvistastyle.dll" "$stage/styles/"
cp /usr/share/qt6/translations/qtbase_de.qm "$stage/translations/"

# Every DLL the programs and plugins load, found among Qt's and the compiler's;
# the rest (kernel32, user32, ...) is Windows' own.
gcc_dir=$(dirname "$(x86_64-w64-mingw32-g++-posix -print-libgcc-file-name)")
search=("$qt/bin" "$gcc_dir" /usr/x86_64-w64-mingw32/lib)
pending=("$stage"/*.exe "$stage"/platforms/*.dll "$stage"/styles/*.dll)
while ((${#pending[@]})); do
    file=${pending[0]}
    pending=("${pending[@]:1}")
    for dll in $(x86_64-w64-mingw32-objdump -p "$file" | sed -n 's/^\s*DLL Name: //p'); do
        [[ -f $stage/$dll ]] && continue
        for dir in "${search[@]}"; do
            if [[ -f $dir/$dll ]]; then
                cp "$dir/$dll" "$stage/"
                pending+=("$stage/$dll")
                break
            fi
        done
    done
done
x86_64-w64-mingw32-strip "$stage"/*.exe "$stage"/*.dll "$stage"/*/*.dll

# Plugins and translations beside the programs, wherever they are unpacked.
printf '[Paths]\r\nPrefix=.\r\nPlugins=.\r\nTranslations=translations\r\n' >"$stage/qt.conf"
sed 's/\r*$/\r/' examples/ordalis.ini >"$stage/ordalis.ini"
sed 's/\r*$/\r/' packaging/windows/LIESMICH.txt >"$stage/LIESMICH.txt"

# The toolbar button for an unpacked folder: bare names are taken from Tastor's
# own folder. The setup writes its own with the installed paths.
printf '%s\r\n' '[BUTTON]' 'INSTALL=1' 'NAME=Ordalis' 'FILENAME=Ordalis.exe' \
    'DESCRIPTION=Adresse aus der Zwischenablage als Kontakt übernehmen' \
    'TOOLTIP=Ordalis: Adresse aus der Zwischenablage' 'ICONL=ordalis-gross.bmp' \
    'ICONS=ordalis-klein.bmp' 'CONTACT=1' 'GROUP=1' |
    iconv -f UTF-8 -t CP1252 >"$stage/Schaltfläche.ini"

# The program's icon for shortcuts and Windows' list of programs, and the
# toolbar button's pictures for ACT! (bitmaps on the toolbar's grey).
icons=build/windows-icons
mkdir -p "$icons"
for size in 16 24 32 48 256; do
    rsvg-convert -w $size -h $size packaging/org.example.Ordalis.svg -o "$icons/$size.png"
done
convert "$icons"/{16,24,32,48,256}.png "$stage/ordalis.ico"
convert "$icons/16.png" -background '#c0c0c0' -flatten BMP3:"$stage/ordalis-klein.bmp"
convert "$icons/32.png" -background '#c0c0c0' -flatten BMP3:"$stage/ordalis-gross.bmp"

zip_name=Ordalis-$version-win64.zip
(cd "$out" && zip -qr9 "$zip_name" Ordalis)
echo "$out/$zip_name: $(du -k "$out/$zip_name" | cut -f1) KiB"
