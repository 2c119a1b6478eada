# shellcheck shell=bash disable=SC2154
# (repo and linux_cli come from the script that sources this one)
# Sourced by the Wine tests of the Windows package: a fresh Wine prefix on its
# own Xvfb display, the fake ACT! server in it, and Ordalis driven as a user
# drives it. Expects repo (the source tree) and linux_cli (the Linux build's
# ordalis-cli); sets work, WINEPREFIX, DISPLAY and probe.

work=$(mktemp -d)
export WINEPREFIX="$work/prefix" WINEARCH=win64 WINEDEBUG=-all
# No prompts to download Wine's .NET and browser engine: nothing here needs them.
export WINEDLLOVERRIDES="mscoree,mshtml="
background=()
finish() {
    for pid in "${background[@]}"; do kill "$pid" 2>/dev/null || true; done
    wineserver -k 2>/dev/null || true
    rm -rf "$work"
}
trap finish EXIT
fail() {
    echo "FAIL: $*" >&2
    echo "windows: $(xdotool search --name . getwindowname %@ 2>/dev/null | sort -u | tr '\n' '|')" >&2
    # What the screen showed, kept beyond the work folder.
    local shot=${TMPDIR:-/tmp}/ordalis-wine-failure.png
    import -window root "$shot" 2>/dev/null && echo "screen at the failure: $shot" >&2
    exit 1
}

# The fake server and the probe that reads its state, built with mingw-w64.
build_fake_act() {
    test -f build/windows/build.ninja ||
        cmake -S tests/windows -B build/windows -G Ninja \
            --toolchain "$repo/cmake/mingw-w64-x86_64.cmake" -DCMAKE_BUILD_TYPE=RelWithDebInfo
    nice -n 19 cmake --build build/windows -j "${JOBS:-2}" --target fake_act_server fakeact_probe
    probe=$repo/build/windows/fakeact_probe.exe
}

start_wine() {
    Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$work/display" 2>/dev/null &
    background+=("$!")
    for _ in $(seq 50); do [[ -s $work/display ]] && break; sleep 0.1; done
    DISPLAY=:$(cat "$work/display")
    export DISPLAY
    timeout 300 wineboot -i >/dev/null 2>&1
    # The prefix is complete only when its first wineserver has finished.
    timeout 120 wineserver -w
}

# Registered as a local server, held by the probe: its state outlives the programs.
start_fake_act() {
    timeout 60 wine "$repo/build/windows/fake_act/fakeact_server.exe" /RegServer
    wine "$probe" hold 900 >"$work/hold" &
    background+=("$!")
    for _ in $(seq 100); do grep -q holding "$work/hold" 2>/dev/null && break; sleep 0.2; done
    grep -q holding "$work/hold" || fail "the fake ACT! server did not start"
}

# Ordalis.exe from FOLDER takes an address from the clipboard and writes it as
# a new contact; every row the Linux build recognises with SETTINGS (postcode,
# city and country included) must reach the fake server, as the contact writer
# sends them. With a third argument, the window after the capture is saved there.
write_contact_with_ordalis() {
    local folder=$1 settings=$2 screenshot=${3:-}
    local address=$work/address.txt
    printf '%s\n' 'Köhler & Partner GmbH' 'Frau Dr. Jana Köhler' 'Lindenstraße 5' \
        '80331 München' >"$address"
    xclip -quiet -selection clipboard -i "$address" >/dev/null 2>&1 &
    background+=("$!")
    (cd "$folder" && exec wine Ordalis.exe) >/dev/null 2>&1 &
    local ordalis=$!
    background+=("$ordalis")
    local window dialog
    window=$(timeout 120 xdotool search --sync --onlyvisible --name '^Ordalis v\.1\.18$' |
        tail -n 1) || fail "no window titled \"Ordalis v.1.18\""
    sleep 3
    click_from_corner "$window" 85 133 # Hole aus Zwischenablage
    sleep 3
    [[ -z $screenshot ]] || import -window "$window" "$screenshot"
    click_from_corner "$window" 124 105 # Neu Anlegen
    dialog=$(timeout 60 xdotool search --sync --onlyvisible \
        --name '^Beenden oder zurück zum Ordalis$' | tail -n 1) || fail "no completion dialog"
    sleep 1
    click "$dialog" $((120 + 4575 / 2)) $((1080 + 495 / 2)) # Den Ordalis verlassen
    timeout 60 tail --pid="$ordalis" -f /dev/null || fail "Ordalis did not end"

    "$linux_cli" recognize --settings "$settings" --json "$address" >"$work/rows.json"
    python3 - "$work/rows.json" >"$work/expected" <<'PY'
import json, sys
result = json.load(open(sys.argv[1], encoding="utf-8"))
values = {}
for row in result["rows"]:
    if row["field"] is not None:
        values[row["field"]] = row["value"]
if values.get(78) and values.get(79) and not values.get(26):
    values[26] = values[78] + " " + values[79]
for hit in result["hits"]:
    if hit["id"] != -1:
        values[hit["id"]] = hit["value"]
for postcode_city_country in (32, 30, 33):
    if not values.get(postcode_city_country):
        sys.exit(f"no field {postcode_city_country} recognised: the address tests too little")
print("contacts=2")
for field, value in values.items():
    if value:
        print(f"{field}={value}")
PY
    wine "$probe" contact | tr -d '\r' >"$work/contact"
    diff -u <(sort "$work/expected") <(sort "$work/contact") ||
        fail "the new contact is not what was recognised"
    echo "contact written: $(grep -c '^[0-9]*=.' "$work/contact") fields as recognised"
}

# Positions in twips, as the completion dialog places its buttons, at Wine's 96 dpi.
click() { xdotool mousemove --window "$1" "$(($2 / 15))" "$(($3 / 15))" click 1; }
# The main window's commands keep their place in its bottom-right corner however
# the rows above them grow: pixels left of its right and above its bottom edge.
click_from_corner() {
    local WIDTH HEIGHT
    eval "$(xdotool getwindowgeometry --shell "$1" | grep -E '^(WIDTH|HEIGHT)=')"
    xdotool mousemove --window "$1" $((WIDTH - $2)) $((HEIGHT - $3)) click 1
}
