#!/usr/bin/env bash
# Builds the Windows side of the ACT! boundary with mingw-w64 and tests it under
# Wine against the fake automation server: installs what is missing, prepares a
# fresh Wine prefix, registers the server, runs the tests, ends Wine.
set -euo pipefail
cd "$(dirname "$0")/.."

build_dir=${1:-build/windows}
jobs=${JOBS:-2}

scripts/install-deps.sh g++-mingw-w64-x86-64-posix gcc-mingw-w64-x86-64-posix wine wine64

test -f "$build_dir/build.ninja" ||
    cmake -S tests/windows -B "$build_dir" -G Ninja \
        --toolchain "$PWD/cmake/mingw-w64-x86_64.cmake" -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build "$build_dir" -j "$jobs"

wine_home=$(mktemp -d)
export WINEPREFIX="$wine_home/prefix" WINEARCH=win64 WINEDEBUG=-all
# No prompts to download Wine's .NET and browser engine: nothing here needs them.
export WINEDLLOVERRIDES="mscoree,mshtml="
end_wine() {
    wineserver -k 2>/dev/null || true
    rm -rf "$wine_home"
}
trap end_wine EXIT

started=$(date +%s)
timeout 300 wineboot -i >/dev/null 2>&1
# The prefix is complete only when its first wineserver has finished.
timeout 120 wineserver -w

dll=$(find "$build_dir" -name fakeact.dll | head -n 1)
dll_path=$(winepath -w "$dll")
server_path=$(winepath -w "$(find "$build_dir" -name fakeact_server.exe | head -n 1)")
tests="$build_dir/windows_backend_tests.exe"

# Our client against the fake server in this process (registered as a DLL), then
# in a process of its own (registered as a local server), as ACT!'s objects may
# be either.
timeout 60 wine regsvr32 /s "$dll_path"
echo "== COM client against the server in process"
FAKEACT_MODE=inproc timeout 300 wine "$tests"
timeout 60 wine "$server_path" /RegServer
echo "== COM client against the server in a process of its own"
FAKEACT_MODE=local timeout 300 wine "$tests" --gtest_filter='ComClientTest.*'
echo "Windows backend tests under Wine: $(($(date +%s) - started)) s after the build"
end_wine
trap - EXIT

scripts/check-windows-sources.sh
