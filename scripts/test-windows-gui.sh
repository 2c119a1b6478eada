#!/usr/bin/env bash
# The Windows package under Wine and Xvfb, unpacked to a folder with a blank and
# an umlaut, against the fake ACT! server (out of process, so its state outlives
# the programs): Ordalis takes an address from the clipboard and writes it as a
# new contact; Tastor adds and removes a toolbar command; ordalis-cli's JSON
# equals the Linux build's on the recognition corpus.
#   --screenshot  also saves the main window to docs/ordalis-wine.png
# Needs the Linux build (build/default) for the comparison.
set -euo pipefail
cd "$(dirname "$0")/.."
repo=$PWD
jobs=${JOBS:-2}
linux_cli=build/default/cli/ordalis-cli

scripts/install-deps.sh wine wine64 xvfb xauth xdotool xclip imagemagick unzip python3 \
    g++-mingw-w64-x86-64-posix gcc-mingw-w64-x86-64-posix
JOBS=$jobs scripts/package-windows.sh
source scripts/wine-session.sh
build_fake_act
started=$(date +%s)
start_wine

folder="$WINEPREFIX/drive_c/Program Files/Ordalis Büro"
win_folder='C:\Program Files\Ordalis Büro'
unzip -q build/windows-package/Ordalis-*-win64.zip -d "$work/zip"
mkdir -p "$folder"
cp -r "$work/zip/Ordalis/." "$folder/"

start_fake_act

# The JSON byte for byte; only the line ends in CR LF on Windows.
echo "== ordalis-cli recognize --json: Windows against Linux"
settings_win=$(winepath -w "$repo/examples/ordalis.ini")
compared=0
for block in tests/recognition/data/blocks/*.txt; do
    "$linux_cli" recognize --settings examples/ordalis.ini --json "$block" >"$work/linux.json"
    timeout 60 wine "$folder/ordalis-cli.exe" recognize --settings "$settings_win" --json \
        "$(winepath -w "$repo/$block")" | sed 's/\r$//' >"$work/windows.json"
    cmp -s "$work/linux.json" "$work/windows.json" || {
        diff "$work/linux.json" "$work/windows.json" | head -5
        fail "ordalis-cli differs on $block"
    }
    compared=$((compared + 1))
done
echo "identical on $compared blocks"

echo "== Ordalis.exe: clipboard to a new contact"
write_contact_with_ordalis "$folder" examples/ordalis.ini "$work/ordalis.png"
if [[ ${1:-} == --screenshot ]]; then
    cp "$work/ordalis.png" docs/ordalis-wine.png
fi

echo "== Tastor.exe: a toolbar command from a button file"
buttons="$folder/Schaltflächen"
mkdir -p "$buttons"
button_file() {
    printf '[BUTTON]\r\nINSTALL=%s\r\nNAME=Ordalis Büro\r\nFILENAME=Ordalis.exe\r\n' "$1"
    printf 'DESCRIPTION=Adresse übernehmen\r\nTOOLTIP=Ordalis\r\nCONTACT=1\r\nGROUP=1\r\n'
}
button_file 1 | iconv -f UTF-8 -t CP1252 >"$buttons/Knöpfe.ini"
timeout 120 wine "$folder/Tastor.exe" "$win_folder\\Schaltflächen\\Knöpfe.ini"
got=$(wine "$probe" command 'Ordalis Büro' | tr -d '\r')
want="Ordalis Büro 1 1 1 $win_folder\\Ordalis.exe"
[[ $got == "$want" ]] || fail "after adding: \"$got\", not \"$want\""
button_file 0 | iconv -f UTF-8 -t CP1252 >"$buttons/Knöpfe.ini"
timeout 120 wine "$folder/Tastor.exe" "$win_folder\\Schaltflächen\\Knöpfe.ini"
got=$(wine "$probe" command 'Ordalis Büro' | tr -d '\r')
[[ $got == "Ordalis Büro 0" ]] || fail "after removing: \"$got\""
echo "command added to both toolbars and removed again"

echo "Windows GUI test under Wine: passed, $(($(date +%s) - started)) s after the build"
