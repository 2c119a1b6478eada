#!/usr/bin/env bash
# Peak memory of `act-standin import` for two 30 MB files: one card of six
# million lines, and 210,000 small cards. Prints the file size and the peak
# resident set of each import.
set -euo pipefail
build_dir=${1:-build/default}
standin=$(realpath "$build_dir/standin/act-standin")
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export ACT_STANDIN_HOME=$work/home

python3 - "$work" <<'EOF'
import sys
work = sys.argv[1]
with open(f'{work}/one-card.vcf', 'wb') as f:
    f.write(b'BEGIN:VCARD\r\nVERSION:3.0\r\nFN:Viele Zeilen\r\n')
    f.write(b'N:a\r\n' * 6_000_000)
    f.write(b'END:VCARD\r\n')
card = (b'BEGIN:VCARD\r\nVERSION:3.0\r\nFN:Person %06d\r\nN:Person;%06d;;;\r\n'
        b'ORG:Firma %06d GmbH\r\nTEL;TYPE=WORK:030 %06d\r\nEMAIL:p%06d@example.org\r\nEND:VCARD\r\n')
with open(f'{work}/many-cards.vcf', 'wb') as f:
    for i in range(210_000):
        f.write(card % (i, i, i, i, i))
EOF

# A new database: the stand-in creates it when it starts.
"$standin" --headless >/dev/null 2>&1 &
pid=$!
for _ in $(seq 50); do [[ -f $ACT_STANDIN_HOME/contacts.sqlite ]] && break; sleep 0.1; done
sleep 0.5
kill "$pid"
wait "$pid" || true

for file in one-card many-cards; do
    size=$(stat -c %s "$work/$file.vcf")
    /usr/bin/time -f %M -o "$work/peak" "$standin" import "$work/$file.vcf" >/dev/null || true
    echo "$file.vcf: $((size / 1000000)) MB, peak $(($(tail -1 "$work/peak") / 1024)) MiB"
done
