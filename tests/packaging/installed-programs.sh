#!/usr/bin/env bash
# Installs the build into a temporary prefix (and unpacks the Debian package
# when the build made one) and runs the programs from there, each with a fresh
# home folder and nothing borrowed from the build tree.
#   installed-programs.sh BUILD_DIR PROJECT_VERSION
set -euo pipefail
build=$1
version=$2

work=$(mktemp -d)
failures=0

fail() {
    echo "FAIL: $*" >&2
    failures=$((failures + 1))
}

# A clean environment: no LD_LIBRARY_PATH, no ORDALIS_HOME, HOME as given;
# only a sanitizer build's options are passed on.
# Ordalis's hand-over socket goes to the runtime folder: one of our own, so the
# socket that stopping the window leaves behind goes with $work.
mkdir -m 700 "$work/runtime"
clean_env=(PATH=/usr/bin:/bin LANG=C.UTF-8 QT_QPA_PLATFORM=offscreen XDG_RUNTIME_DIR="$work/runtime")
for name in ASAN_OPTIONS LSAN_OPTIONS UBSAN_OPTIONS; do
    [[ -z "${!name:-}" ]] || clean_env+=("$name=${!name}")
done
run_clean() {
    local home=$1
    shift
    env -i "${clean_env[@]}" HOME="$home" "$@"
}

# The same for a program started in the background (exec_clean ... &): the job
# becomes the program itself, so killing the job stops the program.
exec_clean() {
    local home=$1
    shift
    exec env -i "${clean_env[@]}" HOME="$home" "$@"
}

standin_pid=
stop_standin() {
    if [[ -n "$standin_pid" ]]; then
        kill "$standin_pid" 2>/dev/null || true
        wait "$standin_pid" 2>/dev/null || true
        standin_pid=
    fi
}
stop_window() {
    if [[ -n "$window_pid" ]]; then
        kill "$window_pid" 2>/dev/null || true
        wait "$window_pid" 2>/dev/null || true
        window_pid=
    fi
}
window_pid=
trap 'stop_window; stop_standin; rm -rf "$work"' EXIT
trap 'exit 1' INT TERM

check_prefix() {
    local prefix=$1 label=$2
    for program in ordalis ordalis-cli tastor act-standin; do
        [[ -x "$prefix/bin/$program" ]] || fail "$label: bin/$program missing"
        if readelf -d "$prefix/bin/$program" 2>/dev/null | grep -E 'R(UN)?PATH' | grep -qF "$build"; then
            fail "$label: bin/$program still looks for libraries in the build tree"
        fi
    done
    for file in share/applications/org.example.Ordalis.desktop \
        share/applications/org.example.ActStandin.desktop \
        share/icons/hicolor/scalable/apps/org.example.Ordalis.svg \
        share/icons/hicolor/scalable/apps/org.example.ActStandin.svg \
        share/metainfo/org.example.Ordalis.metainfo.xml \
        share/doc/ordalis/copyright share/doc/ordalis/changelog.gz; do
        [[ -f "$prefix/$file" ]] || fail "$label: $file missing"
    done
    grep -q "<release version=\"$version\"" "$prefix/share/metainfo/org.example.Ordalis.metainfo.xml" ||
        fail "$label: the metainfo's newest release is not $version"
    local page
    for program in ordalis ordalis-cli tastor act-standin; do
        page=$(zcat "$prefix/share/man/man1/$program.1.gz" 2>/dev/null || true)
        grep -q "^\.TH .*\"Ordalis $version\"" <<<"$page" ||
            fail "$label: no manual page $program(1) for version $version"
    done

    local home out
    home=$(mktemp -d "$work/home.XXXX")
    out=$(run_clean "$home" "$prefix/bin/ordalis-cli" --help 2>&1) && grep -q '^Usage: ordalis-cli' <<<"$out" ||
        fail "$label: ordalis-cli --help: $out"
    out=$(run_clean "$home" "$prefix/bin/tastor" --help 2>&1) && grep -q '^Aufruf: tastor' <<<"$out" ||
        fail "$label: tastor --help: $out"

    # The stand-in's first start from a fresh home makes its folder and database.
    exec_clean "$home" "$prefix/bin/act-standin" --headless >"$work/standin.log" 2>&1 &
    standin_pid=$!
    for _ in $(seq 1 100); do
        grep -q 'act-standin läuft' "$work/standin.log" && break
        kill -0 "$standin_pid" 2>/dev/null || break
        sleep 0.1
    done
    grep -q 'act-standin läuft' "$work/standin.log" ||
        fail "$label: act-standin --headless did not come up: $(cat "$work/standin.log")"
    out=$(run_clean "$home" "$prefix/bin/act-standin" contacts 2>&1) ||
        fail "$label: act-standin contacts: $out"
    out=$(run_clean "$home" "$prefix/bin/ordalis-cli" fields --json 2>&1) &&
        grep -q '^{"loaded":true' <<<"$out" || fail "$label: ordalis-cli fields: $out"

    if out=$(run_clean "$home" "$prefix/bin/ordalis-cli" recognize --json \
        "$prefix/share/doc/ordalis/examples/address.txt" 2>&1); then
        for value in '"Hauptstraße 12"' '"Berlin"' '"max.beispiel@mustermann-soehne.de"'; do
            grep -qF "$value" <<<"$out" || fail "$label: ordalis-cli recognize lost $value: $out"
        done
    else
        fail "$label: ordalis-cli recognize failed: $out"
    fi

    # The window waits for the user (an empty clipboard is reported in a message
    # box), so it counts as started when it is still there after a while; by
    # then it has Qt's German translation loaded, from where Qt keeps it.
    exec_clean "$home" "$prefix/bin/ordalis" >"$work/ordalis.log" 2>&1 &
    window_pid=$!
    sleep 3
    if kill -0 "$window_pid" 2>/dev/null; then
        grep -q '/qtbase_de\.qm$' "/proc/$window_pid/maps" ||
            fail "$label: ordalis runs without Qt's German translation"
        stop_window
    else
        fail "$label: ordalis ended at once: $(cat "$work/ordalis.log")"
    fi
    stop_standin
}

cmake --install "$build" --prefix "$work/prefix" >/dev/null
check_prefix "$work/prefix" "cmake --install"

package=$(ls -t "$build"/ordalis_*.deb 2>/dev/null | head -1 || true)
if [[ -z "$package" ]]; then
    echo "No package in $build ('make package' builds one): checked the installed tree only."
elif [[ "$package" -ot "$build/cli/ordalis-cli" ]]; then
    echo "$package is older than the build: checked the installed tree only."
else
    dpkg-deb -x "$package" "$work/root"
    check_prefix "$work/root/usr" "$(basename "$package")"
    depends=$(dpkg-deb -f "$package" Depends)
    for needed in qt6-qpa-plugins qt6-translations-l10n libqt6core6 libsqlite3-0 libc6; do
        grep -qw "$needed" <<<"$depends" || fail "package Depends lacks $needed: $depends"
    done
    [[ $(dpkg-deb -f "$package" Version) == "$version"* ]] || fail "package version is not $version"
fi

if ((failures)); then
    echo "$failures check(s) failed" >&2
    exit 1
fi
echo "Installed programs run."
