#!/usr/bin/env bash
# The Windows setup under Wine and Xvfb, in a fresh prefix, as an administrator
# rolls it out: silently. Without ACT! it installs into a folder given with /D=
# and reports no error; with the fake ACT! server registered it installs the
# files, the Start-menu entries, the Uninstall key and Ordalis's command on
# toolbars 1 and 3; the installed Ordalis writes a contact with its settings in
# %APPDATA%\Ordalis; the setup stops while Ordalis runs; a second run (an
# update) leaves one command; the silent uninstaller takes away command,
# buttons, folder, entries and key, and leaves the settings.
#   --screenshots  also saves the setup's first page and the installed Ordalis
#                  to docs/tried/
# Needs the Linux build (build/default) for the expected contact.
set -euo pipefail
cd "$(dirname "$0")/.."
repo=$PWD
jobs=${JOBS:-2}
linux_cli=build/default/cli/ordalis-cli

scripts/install-deps.sh wine wine64 xvfb xauth xdotool xclip imagemagick python3 \
    g++-mingw-w64-x86-64-posix gcc-mingw-w64-x86-64-posix
JOBS=$jobs scripts/windows-setup.sh
version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' build/windows-app/CMakeCache.txt)
setup=$repo/build/windows-package/Ordalis-Setup-$version.exe
source scripts/wine-session.sh
build_fake_act
started=$(date +%s)
start_wine

folder="$WINEPREFIX/drive_c/Program Files/Ordalis"
win_folder='C:\Program Files\Ordalis'
menu="$WINEPREFIX/drive_c/ProgramData/Microsoft/Windows/Start Menu/Programs/Ordalis"
key='HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\Ordalis'
settings="$(winepath -u "$(wine cmd /c echo %APPDATA% | tr -d '\r')")/Ordalis"

# /D= takes the rest of the command line, blanks included, unquoted: through
# cmd, as wine would quote it as one argument.
install_silently() {
    timeout 300 wine cmd /c "$(winepath -w "$setup") /S${1:+ /D=$1}" ||
        fail "the setup ended with $?"
}
# The uninstaller runs from a copy of itself in %TEMP% and returns at once.
uninstall_silently() {
    local installed=${1:-$folder}
    timeout 60 wine "$installed/Deinstallieren.exe" /S || fail "the uninstaller ended with $?"
    for _ in $(seq 120); do
        [[ -e $installed ]] || wine reg query "$key" >/dev/null 2>&1 || return 0
        sleep 0.5
    done
    fail "the uninstaller left $installed or the key behind"
}
key_value() {
    wine reg query "$key" /v "$1" 2>/dev/null | tr -d '\r' |
        sed -n "s/^ *$1 *REG_[A-Z_]* *//p"
}
fake_act_counts() { wine "$probe" count | tr -d '\r'; }

if [[ ${1:-} == --screenshots ]]; then
    echo "== the setup's first page"
    wine "$setup" >/dev/null 2>&1 &
    background+=("$!")
    page=$(timeout 60 xdotool search --sync --onlyvisible \
        --name "^Installation von Ordalis $version\$" | tail -n 1) || fail "no setup window"
    sleep 2
    mkdir -p docs/tried
    import -window "$page" docs/tried/windows-setup-welcome.png
    # Cancelled before anything is installed: Wine ends with the setup.
    wineserver -k
fi

echo "== without ACT!, into a folder of one's own: the setup installs and reports no error"
own_folder="$WINEPREFIX/drive_c/Ordalis Büro"
install_silently 'C:\Ordalis Büro'
[[ -f $own_folder/Ordalis.exe && $(key_value DisplayName) == Ordalis ]] ||
    fail "not installed into C:\Ordalis Büro without ACT!"
grep -Fqx 'FILENAME=C:\Ordalis Büro\Ordalis.exe' \
    <(iconv -f CP1252 -t UTF-8 "$own_folder/Schaltfläche.ini" | tr -d '\r') ||
    fail "the button file does not name the installed Ordalis.exe"
uninstall_silently "$own_folder"

echo "== with the fake ACT! server"
start_fake_act
install_silently
for file in Ordalis.exe Tastor.exe ordalis-cli.exe Deinstallieren.exe LIESMICH.txt ordalis.ico \
    qt.conf platforms/qwindows.dll; do
    [[ -f $folder/$file ]] || fail "$file not installed"
done
[[ -f $menu/Ordalis.lnk && -f "$menu/Ordalis deinstallieren.lnk" ]] ||
    fail "no Start-menu entries in $menu"
for pair in "DisplayName=Ordalis" "DisplayVersion=$version" "Publisher=Ordalis-Team" \
    "DisplayIcon=$win_folder\\ordalis.ico" "UninstallString=\"$win_folder\\Deinstallieren.exe\"" \
    "QuietUninstallString=\"$win_folder\\Deinstallieren.exe\" /S"; do
    got=$(key_value "${pair%%=*}")
    [[ $got == "${pair#*=}" ]] || fail "Uninstall key ${pair%%=*}: \"$got\", not \"${pair#*=}\""
done
size_kib=$(($(key_value EstimatedSize)))
((size_kib > 10000)) || fail "EstimatedSize $size_kib KiB is not the program's"
command_line="Ordalis 1 1 1 $win_folder\\Ordalis.exe"
got=$(wine "$probe" command Ordalis | tr -d '\r')
[[ $got == "$command_line" ]] || fail "command after setup: \"$got\", not \"$command_line\""
[[ $(fake_act_counts) == "commands=1 toolbar1=1 toolbar3=1" ]] ||
    fail "after setup: $(fake_act_counts)"
echo "installed: files, Start menu, Uninstall key ($size_kib KiB), command on toolbars 1 and 3"

echo "== the installed Ordalis"
shot=
[[ ${1:-} != --screenshots ]] || shot=$repo/docs/tried/windows-installed-ordalis.png
write_contact_with_ordalis "$folder" examples/ordalis.ini "$shot"
[[ -f $settings/ordalis.ini ]] || fail "no settings in $settings"
[[ ! -e $folder/logfile.txt ]] || fail "the installed Ordalis logs into its program folder"
cmp -s "$folder/ordalis.ini" build/windows-package/Ordalis/ordalis.ini ||
    fail "the installed Ordalis changed the example in its program folder"

echo "== the setup while the installed Ordalis runs: it stops, changing nothing"
(cd "$folder" && exec wine Ordalis.exe) >/dev/null 2>&1 &
running=$!
background+=("$running")
timeout 120 xdotool search --sync --onlyvisible --name '^Ordalis v\.1\.18$' >/dev/null ||
    fail "the installed Ordalis did not start again"
status=0
timeout 300 wine cmd /c "$(winepath -w "$setup") /S" || status=$?
[[ $status == 2 ]] || fail "the setup over a running Ordalis ended with $status, not 2"
kill "$running"
timeout 60 tail --pid="$running" -f /dev/null || fail "Ordalis did not end"

echo "== the setup again, as an update"
install_silently
got=$(wine "$probe" command Ordalis | tr -d '\r')
[[ $got == "$command_line" ]] || fail "command after the update: \"$got\""
[[ $(fake_act_counts) == "commands=1 toolbar1=1 toolbar3=1" ]] ||
    fail "after the update: $(fake_act_counts)"

echo "== silent uninstallation"
uninstall_silently
[[ $(wine "$probe" command Ordalis | tr -d '\r') == "Ordalis 0" ]] || fail "the command stayed"
[[ $(fake_act_counts) == "commands=0 toolbar1=0 toolbar3=0" ]] ||
    fail "after uninstalling: $(fake_act_counts)"
[[ ! -e $folder && ! -e $menu ]] || fail "folder or Start-menu entries left"
[[ -f $settings/ordalis.ini ]] || fail "the settings went with the program"

echo "Windows setup under Wine: passed, $(($(date +%s) - started)) s after the build"
