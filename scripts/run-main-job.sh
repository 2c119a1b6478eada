#!/usr/bin/env bash
# The program's main job for `make run`. With a display: the ACT! stand-in's
# window (started when it is not running) and then the Ordalis window. Without
# one: the sample address becomes a new contact in the stand-in (started
# headless when needed), and the stand-in's contacts are shown afterwards.
set -euo pipefail
build_dir=${1:-build/default}
cd "$(dirname "$0")/.."

cli="$build_dir/cli/ordalis-cli"
standin="$build_dir/standin/act-standin"
ordalis="$build_dir/app/ordalis"
for program in "$cli" "$standin" "$ordalis"; do
    if [[ ! -x "$program" ]]; then
        echo "Nothing to run yet: $program is not built. 'make test' runs the tests." >&2
        exit 1
    fi
done

# The stand-in's folder, found as the stand-in finds it.
data_dir=${ACT_STANDIN_HOME:-${XDG_DATA_HOME:-$HOME/.local/share}/act-standin}
lock_file="$data_dir/act-standin.lock"

# ACT! runs exactly while someone holds the stand-in's lock.
standin_running() {
    [[ -e "$lock_file" ]] && ! flock --nonblock --shared "$lock_file" true 2>/dev/null
}

have_display() {
    [[ -n "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ]]
}

standin_args=()
have_display || standin_args=(--headless)

if standin_running; then
    echo "act-standin is running ($data_dir)."
else
    mkdir -p "$data_dir"
    log="$data_dir/act-standin.log"
    setsid "$standin" "${standin_args[@]}" >"$log" 2>&1 </dev/null &
    pid=$!
    for _ in $(seq 1 100); do
        standin_running && break
        if ! kill -0 "$pid" 2>/dev/null; then
            echo "act-standin did not start:" >&2
            cat "$log" >&2
            exit 1
        fi
        sleep 0.1
    done
    if ! standin_running; then
        echo "act-standin did not come up within 10 seconds (see $log)." >&2
        exit 1
    fi
    echo "Started act-standin ${standin_args[*]} (pid $pid, $data_dir); stop it with: kill $pid"
fi

if have_display; then
    echo "Starting Ordalis: copy an address, then press \"Hole aus Zwischenablage\"."
    exec "$ordalis"
fi

echo
echo "No display: running the main job without windows instead."
echo
echo "Writing examples/address.txt as a new contact:"
echo
status=0
"$cli" new-contact --settings examples/ordalis.ini examples/address.txt || status=$?

echo
echo "The contacts of act-standin:"
echo
"$standin" contacts
exit "$status"
