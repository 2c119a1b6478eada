#!/usr/bin/env bash
# Parses every Qt source of the Windows build with the Windows compiler
# (mingw-w64, -fsyntax-only) against this machine's Qt headers. No Qt for
# Windows exists here, so nothing is linked: this catches platform code that
# would not compile there (POSIX headers, Linux-only calls), not more.
set -euo pipefail
cd "$(dirname "$0")/.."

qt=$(dirname "$(find /usr/include -maxdepth 3 -type d -name QtCore -path '*qt6*' | head -n 1)")
sources=$(ls support/*.cpp recognition/*.cpp act/*.cpp act/boundary/ComBoundary.cpp \
    carddav/*.cpp destinations/*.cpp \
    act/com/ComActObject.cpp installer/*.cpp cli/*.cpp app/*.cpp)

# -Wno-attributes: Linux's Qt headers lack the DLL import marks of a Windows Qt.
printf '%s\n' $sources | xargs -P "${JOBS:-2}" -I{} \
    x86_64-w64-mingw32-g++-posix -std=c++20 -fsyntax-only -Wall -Wextra -Werror -Wno-attributes \
    -DQT_NO_CAST_FROM_ASCII -DQT_NO_CAST_TO_ASCII \
    -I. -I"$qt" -I"$qt/QtCore" -I"$qt/QtGui" -I"$qt/QtWidgets" -I"$qt/QtNetwork" {}
echo "Windows build: $(printf '%s\n' $sources | wc -l) Qt sources parse with mingw-w64"
