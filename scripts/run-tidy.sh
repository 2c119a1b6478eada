#!/usr/bin/env bash
# clang-tidy with the checks of .clang-tidy over the product sources, JOBS at a
# time; any finding fails. Needs a configured and built tree: the compilation
# database and the generated sources (moc, the program version).
set -euo pipefail
cd "$(dirname "$0")/.."
build_dir=${1:-build/default}
if [[ ! -f "$build_dir/compile_commands.json" ]]; then
    echo "run-tidy: no $build_dir/compile_commands.json; configure and build first" >&2
    exit 2
fi
# act/com and support/win build only for Windows; tests, benchmarks and fuzzers are not product code.
run-clang-tidy -quiet -j "${JOBS:-2}" -p "$build_dir" \
    "^$PWD/(?!act/com/|support/win/)(act|app|carddav|cards|cli|destinations|installer|recognition|standin|support)/"
