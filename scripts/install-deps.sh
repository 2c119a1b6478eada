#!/usr/bin/env bash
# Installs the Debian packages the build, the tests and the programs need.
# Quick when everything is present: it asks dpkg first and calls apt-get only
# for what is missing. Packages given as arguments are wanted as well.
set -euo pipefail

packages=(
    cmake ninja-build g++ pkg-config clang-format clang-tidy
    qt6-base-dev qt6-translations-l10n
    libsqlite3-dev
    libgtest-dev libbenchmark-dev python3-vobject python3-radicale
    qtkeychain-qt6-dev
    xvfb xauth
    desktop-file-utils appstream dpkg-dev file lintian
    "$@"
)

missing=()
for p in "${packages[@]}"; do
    status=$(dpkg-query -W -f='${Status}' "$p" 2>/dev/null || true)
    [[ "$status" == "install ok installed" ]] || missing+=("$p")
done

if ((${#missing[@]})); then
    echo "Installing: ${missing[*]}"
    sudo_cmd=()
    [[ $(id -u) -eq 0 ]] || sudo_cmd=(sudo)
    export DEBIAN_FRONTEND=noninteractive
    "${sudo_cmd[@]}" apt-get update -qq
    "${sudo_cmd[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
