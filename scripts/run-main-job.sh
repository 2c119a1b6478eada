#!/usr/bin/env bash
# The program's main job for `make run`, with what the build has so far.
set -euo pipefail
build_dir=${1:-build/default}
cd "$(dirname "$0")/.."

cli="$build_dir/cli/ordalis-cli"
if [[ -x "$cli" ]]; then
    echo "The window is not built yet; recognising the sample address with ordalis-cli instead:"
    echo
    exec "$cli" recognize --settings examples/ordalis.ini examples/address.txt
fi
echo "Nothing to run yet: the recognition (ordalis-cli) is not built. 'make test' runs the tests."
