#!/usr/bin/env bash
# Cross-builds Debian's own Qt (the host's version) for 64-bit Windows with
# mingw-w64, only the parts the programs use, into a cache outside the tree.
# Does nothing when that cache is complete. Takes an hour or so on 2 cores.
#   ORDALIS_QT_WINDOWS  the install folder (default ~/.cache/ordalis/qt6-mingw-6.4.2)
#   JOBS                parallel compile steps (default: all cores)
#   --print-sources [LIST PARTS]  only prints the source entries it would use,
#                   derived from LIST and PARTS (default: apt's own), and exits
set -euo pipefail
cd "$(dirname "$0")/.."
repo=$PWD

# The machine's own binary sources, as source entries, into OUT: one-line "deb"
# lines of LIST and PARTS/*.list into OUT/own.list, deb822 stanzas whose Types
# hold "deb" (and that are not "Enabled: no") from PARTS/*.sources into
# OUT/own.sources. Options such as signed-by stay; so mirrors, proxies and local
# snapshots the machine uses serve the sources too.
derive_source_entries() {
    local list=$1 parts=$2 out=$3
    local lists=() stanzas=()
    [[ -f $list ]] && lists+=("$list")
    for file in "$parts"/*.list; do [[ -f $file ]] && lists+=("$file"); done
    for file in "$parts"/*.sources; do [[ -f $file ]] && stanzas+=("$file"); done
    : >"$out/own.list"
    : >"$out/own.sources"
    ((${#lists[@]} == 0)) ||
        sed -n 's/^[[:space:]]*deb\([[:space:]]\)/deb-src\1/p' "${lists[@]}" >"$out/own.list"
    ((${#stanzas[@]} == 0)) || awk '
        function flush() {
            if (types ~ /(^|[ \t])deb([ \t]|$)/ && tolower(enabled) != "no")
                printf "%sTypes: deb-src\n%s\n", (count++ ? "\n" : ""), body
            types = ""; enabled = ""; body = ""
        }
        FNR == 1 { flush() }
        /^#/ { next }
        /^[ \t]*$/ { flush(); next }
        /^[Tt]ypes:/ { types = $0; sub(/^[^:]*:/, "", types); next }
        /^[Ee]nabled:/ { enabled = $2 }
        { body = body (body == "" ? "" : "\n") $0 }
        END { flush() }
    ' "${stanzas[@]}" >"$out/own.sources"
}

apt_list=/etc/apt/sources.list
apt_parts=/etc/apt/sources.list.d
if command -v apt-config >/dev/null; then
    eval "$(apt-config shell apt_list Dir::Etc::SourceList/f apt_parts Dir::Etc::SourceParts/d)"
fi
if [[ ${1:-} == --print-sources ]]; then
    out=$(mktemp -d)
    trap 'rm -rf "$out"' EXIT
    derive_source_entries "${2:-$apt_list}" "${3:-$apt_parts}" "$out"
    cat "$out/own.list"
    echo "--"
    cat "$out/own.sources"
    exit 0
fi

qt_version=6.4.2
prefix=${ORDALIS_QT_WINDOWS:-$HOME/.cache/ordalis/qt6-mingw-$qt_version}
stamp=$prefix/.ordalis-complete
# A cache from before Qt Network was needed is built on, not used.
if [[ -f $stamp && -d $prefix/lib/cmake/Qt6Network ]]; then
    echo "Qt for Windows already in $prefix"
    exit 0
fi
rm -f "$stamp"
# Source and build tree sit next to the install, so a broken-off build resumes.
work=$prefix.work
jobs=${JOBS:-$(nproc)}

scripts/install-deps.sh g++-mingw-w64-x86-64-posix gcc-mingw-w64-x86-64-posix \
    dpkg-dev qt6-base-dev-tools

sudo_cmd=()
[[ $(id -u) -eq 0 ]] || sudo_cmd=(sudo)

mkdir -p "$work"
src=$(find "$work" -maxdepth 1 -type d -name "qt6-base-$qt_version*" | head -n 1)
if [[ -z $src || ! -f $src/.ordalis-unpacked ]]; then
    # Source indices in a private apt state: the machine's own lists stay as
    # they are, whether it has deb-src entries or not.
    apt_dir=$(mktemp -d)
    trap 'rm -rf "$apt_dir"' EXIT
    mkdir -p "$apt_dir/lists/partial" "$apt_dir/cache/archives/partial"
    mkdir -p "$apt_dir/parts"
    derive_source_entries "$apt_list" "$apt_parts" "$apt_dir/parts"
    if [[ ! -s $apt_dir/parts/own.list && ! -s $apt_dir/parts/own.sources ]]; then
        echo "No \"deb\" entries in $apt_list or $apt_parts to take the Qt sources from" >&2
        exit 1
    fi
    apt_opts=(-o "Dir::Etc::SourceList=$apt_dir/none"
        -o "Dir::Etc::SourceParts=$apt_dir/parts"
        -o "Dir::State::Lists=$apt_dir/lists"
        -o "Dir::Cache=$apt_dir/cache"
        -o "APT::Sandbox::User=root")
    "${sudo_cmd[@]}" apt-get "${apt_opts[@]}" update -qq
    # The host's exact version, so moc and rcc match the libraries.
    version=$(dpkg-query -W -f='${Version}' libqt6core6 2>/dev/null || true)
    rm -rf "$work"/qt6-base*
    (cd "$work" && "${sudo_cmd[@]}" apt-get "${apt_opts[@]}" source -qq \
        "qt6-base${version:+=$version}")
    ((${#sudo_cmd[@]} == 0)) || sudo chown -R "$(id -u):$(id -g)" "$work"
    src=$(find "$work" -maxdepth 1 -type d -name "qt6-base-$qt_version*" | head -n 1)
    touch "$src/.ordalis-unpacked"
fi

# This version builds DirectWrite, which the platform plugin uses, only together
# with Direct2D, which nothing here uses: both are decoupled in its build and fonts.
sed -i 's/CONDITION QT_FEATURE_direct2d AND QT_FEATURE_directwrite/CONDITION QT_FEATURE_directwrite/' \
    "$src/src/gui/CMakeLists.txt"
sed -i 's/QT_CONFIG(directwrite) && QT_CONFIG(direct2d)/QT_CONFIG(directwrite)/; s/^#if QT_CONFIG(direct2d)$/#if QT_CONFIG(directwrite)/' \
    "$src"/src/gui/text/windows/qwindowsfontdatabase{,base}.cpp

build=$work/build
started=$(date +%s)
# Bundled third-party libraries: mingw has none of Debian's. The tablet header
# is not in Debian's source; the platform plugin needs OpenGL, loaded at run time.
grep -qs '^FEATURE_network:BOOL=ON' "$build/CMakeCache.txt" ||
    cmake -S "$src" -B "$build" -G Ninja \
        --toolchain "$repo/cmake/mingw-w64-x86_64.cmake" \
        -DCMAKE_BUILD_TYPE=Release \
        -DCMAKE_INSTALL_PREFIX="$prefix" \
        -DQT_HOST_PATH=/usr \
        -DQT_HOST_PATH_CMAKE_DIR=/usr/lib/x86_64-linux-gnu/cmake \
        -DQT_BUILD_EXAMPLES=OFF -DQT_BUILD_TESTS=OFF \
        -DFEATURE_sql=OFF -DFEATURE_network=ON -DFEATURE_dbus=OFF \
        -DFEATURE_printsupport=OFF -DFEATURE_concurrent=OFF -DFEATURE_xml=OFF \
        -DFEATURE_testlib=OFF \
        -DFEATURE_system_pcre2=OFF -DFEATURE_system_zlib=OFF \
        -DFEATURE_system_png=OFF -DFEATURE_system_jpeg=OFF \
        -DFEATURE_system_freetype=OFF -DFEATURE_system_harfbuzz=OFF \
        -DFEATURE_system_doubleconversion=OFF \
        -DFEATURE_tabletevent=OFF \
        -DINPUT_opengl=dynamic \
        -DFEATURE_direct2d=OFF \
        -DFEATURE_jpeg=OFF -DFEATURE_gif=OFF -DFEATURE_ico=OFF \
        -DFEATURE_sql_sqlite=OFF \
        -DFEATURE_windows_styles=ON -DFEATURE_style_windowsvista=ON \
        -DFEATURE_directwrite=ON -DFEATURE_directwrite3=ON

# The modules and plugins we ship, then install: Qt's install wants every target
# it configured, which are few with the features above.
nice -n 19 cmake --build "$build" -j "$jobs" --target \
    Core Gui Widgets Network QWindowsIntegrationPlugin QWindowsVistaStylePlugin
nice -n 19 cmake --build "$build" -j "$jobs"
cmake --install "$build" >/dev/null
touch "$stamp"
echo "Qt $qt_version for Windows in $prefix: built in $(($(date +%s) - started)) s"
