#!/usr/bin/env python3
"""How much does a recognizer leave the user to correct?

Runs `ordalis-cli recognize --jsonl` over every labelled block (NAME.txt beside
NAME.truth, see tests/recognition/data/labelled/README.md) and compares the
filled rows with the truth. A row counts when a field is chosen and its value is
not blank; values are compared without their outer blanks.

Per block, every truth field is right, wrong (its field is filled with another
value) or missing; every filled row that matches no truth field (another field,
or a second row of the same field) is extra. Rows to fix = wrong + missing +
extra; a block needs no correction when that is 0.

  scripts/recognition-quality.py                          # classic, the default
  scripts/recognition-quality.py --recognizer improved
  scripts/recognition-quality.py --show signature-017     # one block, row by row
  scripts/recognition-quality.py --list                   # every block with fixes
  scripts/recognition-quality.py --fail-below 0.8         # exit 1 under 80 % clean
"""

import argparse
import json
import os
import re
import subprocess
import sys
import tempfile
from collections import Counter
from pathlib import Path

ROOT = Path(__file__).resolve().parent.parent
DEFAULT_SET = ROOT / "tests" / "recognition" / "data" / "labelled"

# The standard catalogue, in the order the tables list the fields.
FIELD_NAMES = {
    40: "Anrede", 46: "Titel", 26: "Kontakt", 78: "Vorname", 79: "Nachname",
    25: "Firma", 88: "Abteilung", 27: "Adresse", 28: "Adresse 2", 29: "Adresse 3",
    32: "PLZ", 30: "Ort", 33: "Land", 35: "Telefon", 74: "Telefon 2", 77: "Telefon 3",
    36: "Fax", 38: "Mobil", 200: "eMail", 94: "Website",
}
PHONE_FIELDS = (35, 74, 77, 36, 38)
KINDS = ("signature", "imprint", "letterhead", "oneline")
ROW_COUNT = 16


def field_name(number):
    return FIELD_NAMES.get(number, str(number))


def read_truth(path):
    """{field: value} from lines "FIELD VALUE"; '#' starts a comment line."""
    truth = {}
    for number, line in enumerate(path.read_text(encoding="utf-8").splitlines(), 1):
        if not line.strip() or line.lstrip().startswith("#"):
            continue
        match = re.fullmatch(r"(\d+) (.*\S)\s*", line)
        if not match:
            sys.exit(f"{path}:{number}: expected 'FIELD VALUE', got {line!r}")
        field, value = int(match.group(1)), match.group(2)
        if field not in FIELD_NAMES:
            sys.exit(f"{path}:{number}: {field} is no field of the catalogue")
        if field in truth:
            sys.exit(f"{path}:{number}: field {field} given twice")
        truth[field] = value
    if len(truth) > ROW_COUNT:
        sys.exit(f"{path}: {len(truth)} fields, more than the {ROW_COUNT} rows")
    return truth


def load_set(folder):
    blocks = []
    for text_path in sorted(folder.glob("*.txt")):
        name = text_path.stem
        truth_path = text_path.with_suffix(".truth")
        if not truth_path.exists():
            sys.exit(f"{text_path}: no {truth_path.name} beside it")
        kind = name.split("-", 1)[0]
        if kind not in KINDS:
            sys.exit(f"{text_path}: the name must start with one of {', '.join(KINDS)}")
        text = text_path.read_bytes().decode("utf-8")
        blocks.append({"name": name, "kind": kind, "text": text, "truth": read_truth(truth_path)})
    if not blocks:
        sys.exit(f"no blocks in {folder}")
    return blocks


def default_cli():
    for candidate in (ROOT / "build" / "default" / "cli" / "ordalis-cli",
                      ROOT / "build" / "default" / "ordalis-cli"):
        if candidate.exists():
            return str(candidate)
    return "ordalis-cli"


def recognize(blocks, args):
    command = [args.cli, "recognize", "--jsonl", "--no-progress"]
    if args.recognizer:
        command += ["--recognizer", args.recognizer]
    if args.jobs:
        command += ["--jobs", str(args.jobs)]
    if args.settings:
        command += ["--settings", args.settings]
    requests = "".join(json.dumps({"text": b["text"]}, ensure_ascii=False) + "\n" for b in blocks)
    with tempfile.TemporaryDirectory(prefix="recognition-quality-") as home:
        # A settings folder of its own: no user's ordalis.ini changes the figures.
        env = dict(os.environ, ORDALIS_HOME=home)
        try:
            done = subprocess.run(command, input=requests.encode("utf-8"), capture_output=True,
                                  env=env, check=False)
        except OSError as error:
            sys.exit(f"cannot run {args.cli}: {error} (build it or give --cli)")
    answers = done.stdout.decode("utf-8").splitlines()
    if done.returncode not in (0, 1) or len(answers) != len(blocks):
        sys.stderr.write(done.stderr.decode("utf-8", "replace"))
        sys.exit(f"{' '.join(command)} exited {done.returncode} with {len(answers)} answers "
                 f"for {len(blocks)} blocks")
    for block, answer in zip(blocks, answers):
        result = json.loads(answer)
        block["status"] = result.get("status")
        block["rows"] = [(r["row"], r["field"], r["value"]) for r in result.get("rows", [])]


def compare(block):
    """Sorts the block's filled rows and truth fields into right, wrong, missing, extra."""
    truth = block["truth"]
    filled = [(row, field, value.strip()) for row, field, value in block["rows"]
              if field is not None and value.strip()]
    used = set()
    outcome = {"right": [], "wrong": [], "missing": [], "extra": []}
    for field, expected in truth.items():
        exact = [r for r in filled if r[1] == field and r[2] == expected and r[0] not in used]
        if exact:
            used.add(exact[0][0])
            outcome["right"].append(field)
    for field, expected in truth.items():
        if field in outcome["right"]:
            continue
        same_field = [r for r in filled if r[1] == field and r[0] not in used]
        # the row nearest the truth is the one to correct, the others are extra
        same_field.sort(key=lambda r: not (expected in r[2] or r[2] in expected))
        if same_field:
            used.add(same_field[0][0])
            outcome["wrong"].append((field, expected, same_field[0][2]))
        else:
            outcome["missing"].append((field, expected))
    outcome["extra"] = [(field, value) for row, field, value in filled if row not in used]
    outcome["filled"] = filled
    block["outcome"] = outcome
    block["fixes"] = len(outcome["wrong"]) + len(outcome["missing"]) + len(outcome["extra"])


# Only to group the report: a rough guess at what an unstored line was.
LINE_SORTS = [
    ("rule", re.compile(r"^[\W_]+$")),
    ("greeting", re.compile(r"gr[üu](ß|ss)|\bmfg\b|\blg\b|regards", re.I)),
    ("register, tax or legal", re.compile(
        r"\b(HR[AB]|FN|USt|UID|Amtsgericht|Register|Firmenbuch|Handelsregister|Steuer|Sitz|IBAN|"
        r"BIC|Bank|Gesch[äa]ftsf[üu]hr|Vorstand|Verwaltungsrat|Kammer|MWST|ATU|CHE-|Aufsicht)", re.I)),
    ("opening hours", re.compile(r"\b(Uhr|Mo|Di|Fr|Sa)\b|zeiten", re.I)),
    ("heading", re.compile(r":$|^(Impressum|Kontakt|Angaben|Anbieter|Offenlegung|Information|Vertreten)",
                           re.I)),
]


def line_sort(text):
    for sort, pattern in LINE_SORTS:
        if pattern.search(text):
            return sort
    return "other"


def mask(text):
    return re.sub(r"\d+", "#", text)


def where_else(value, truth, filled, own_field):
    """Which other truth field equals value, or which truth values it holds."""
    for field, expected in truth.items():
        if field != own_field and expected == value:
            return f"the {field_name(field)} value"
    # A line counts as holding truth values when they make up much of it, so
    # that "Sitz: Stuttgart" is not a city line but "Am Markt 3 · 70173 Stuttgart" is.
    covered = [False] * len(value)
    held = []
    for field, expected in truth.items():
        at = value.find(expected) if field != own_field and len(expected) > 1 else -1
        if at >= 0:
            held.append(field_name(field))
            covered[at:at + len(expected)] = [True] * len(expected)
    if held and sum(covered) >= 0.4 * len(value):
        return "a line holding " + " + ".join(held)
    return None


def error_kinds(block):
    """(kind, concrete) pairs: kind groups errors across blocks, concrete shows one."""
    truth, outcome = block["truth"], block["outcome"]
    filled = outcome["filled"]
    errors = []
    for field, expected, got in outcome["wrong"]:
        name = field_name(field)
        if expected in got:
            kind = f"{name}: the value with more text around it"
        elif got in expected:
            kind = f"{name}: the value cut short"
        else:
            other = where_else(got, truth, filled, field)
            kind = f"{name}: {other} instead" if other else f"{name}: another value"
        errors.append((kind, f"{name}: expected '{expected}' got '{got}'"))
    for field, expected in outcome["missing"]:
        name = field_name(field)
        elsewhere = [f for _, f, v in filled if v == expected]
        inside = [f for _, f, v in filled if expected in v and v != expected]
        if elsewhere:
            kind = f"{name}: missing, given as {field_name(elsewhere[0])}"
        elif inside:
            kind = f"{name}: missing, inside the {field_name(inside[0])} row"
        else:
            kind = f"{name}: missing"
        errors.append((kind, f"{name}: expected '{expected}' got ''"))
    for field, got in outcome["extra"]:
        name = field_name(field)
        if truth.get(field) == got:
            kind = f"{name}: a second row with the right value"
        else:
            other = where_else(got, truth, filled, None)
            if other:
                kind = f"{name}: {other} stored as {name}"
            elif field in PHONE_FIELDS:
                kind = f"{name}: a number from an unstored line"
            else:
                kind = f"{name}: an unstored line ({line_sort(got)})"
        errors.append((kind, f"{name}: expected '' got '{got}'"))
    return errors


def share(part, whole):
    return f"{100.0 * part / whole:5.1f} %" if whole else "    - "


def print_fields(blocks):
    truth_count, filled_count, right_count = Counter(), Counter(), Counter()
    for block in blocks:
        outcome = block["outcome"]
        truth_count.update(block["truth"].keys())
        filled_count.update(field for _, field, _ in outcome["filled"])
        right_count.update(outcome["right"])
    print(f"{'Field':<12} {'truth':>6} {'filled':>6} {'right':>6} {'precision':>9} {'recall':>8}")
    fields = [f for f in FIELD_NAMES if truth_count[f] or filled_count[f]]
    fields += sorted(f for f in filled_count if f not in FIELD_NAMES)
    for field in fields:
        print(f"{field_name(field) + ' (' + str(field) + ')':<12} {truth_count[field]:>6} "
              f"{filled_count[field]:>6} {right_count[field]:>6} "
              f"{share(right_count[field], filled_count[field]):>9} "
              f"{share(right_count[field], truth_count[field]):>8}")
    total_truth = sum(truth_count.values())
    total_filled = sum(filled_count.values())
    total_right = sum(right_count.values())
    print(f"{'all fields':<12} {total_truth:>6} {total_filled:>6} {total_right:>6} "
          f"{share(total_right, total_filled):>9} {share(total_right, total_truth):>8}")
    low = [field_name(f) for f in fields
           if filled_count[f] and right_count[f] / filled_count[f] < 0.9]
    return total_right / total_filled if total_filled else 0.0, \
        total_right / total_truth if total_truth else 0.0, low


def print_kinds(blocks):
    print(f"{'Kind':<12} {'blocks':>6} {'no fix':>8} {'rows to fix':>12} {'precision':>9} {'recall':>8}")
    groups = [(kind, [b for b in blocks if b["kind"] == kind]) for kind in KINDS]
    groups.append(("all", blocks))
    for kind, members in groups:
        if not members:
            continue
        clean = sum(1 for b in members if b["fixes"] == 0)
        fixes = sum(b["fixes"] for b in members)
        right = sum(len(b["outcome"]["right"]) for b in members)
        filled = sum(len(b["outcome"]["filled"]) for b in members)
        truth = sum(len(b["truth"]) for b in members)
        print(f"{kind:<12} {len(members):>6} {share(clean, len(members)):>8} "
              f"{fixes / len(members):>12.2f} {share(right, filled):>9} {share(right, truth):>8}")


def print_errors(blocks, count):
    kinds, concrete, examples = Counter(), Counter(), {}
    for block in blocks:
        for kind, text in error_kinds(block):
            kinds[kind] += 1
            examples.setdefault(kind, (block["name"], text))
            concrete[mask(text)] += 1
    print("Most frequent error kinds (rows, first example):")
    for kind, number in kinds.most_common(count):
        name, text = examples[kind]
        print(f"{number:>5}  {kind}\n         {name}: {text}")
    print("\nMost frequent errors (digits as #):")
    for text, number in concrete.most_common(count):
        print(f"{number:>5}  {text}")


def print_block(block):
    print(f"== {block['name']} ({block['kind']}, status {block['status']}, "
          f"{block['fixes']} rows to fix)")
    for line in block["text"].splitlines():
        print(f"   | {line}")
    outcome = block["outcome"]
    marks = {}
    for field, expected, got in outcome["wrong"]:
        marks[field] = f"expected '{expected}'"
    for row, field, value in block["rows"]:
        if field is None and not value.strip():
            continue
        label = field_name(field) if field is not None else "(no field)"
        note = ""
        if field is not None and value.strip():
            if (field, value.strip()) in outcome["extra"]:
                note = "  <- extra"
            elif field in marks:
                note = "  <- wrong, " + marks[field]
        print(f"   {row:>2} {label:<10} {value}{note}")
    for field, expected in outcome["missing"]:
        print(f"      {field_name(field):<10} {expected}  <- missing")


def parse_share(text):
    value = float(text.rstrip("%").strip())
    return value / 100.0 if text.endswith("%") or value > 1 else value


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n")[0])
    parser.add_argument("--cli", default=os.environ.get("ORDALIS_CLI") or default_cli(),
                        help="the ordalis-cli to run (default: build/default's)")
    parser.add_argument("--set", type=Path, default=DEFAULT_SET, help="folder of the labelled set")
    parser.add_argument("--recognizer", help="passed on to ordalis-cli recognize")
    parser.add_argument("--jobs", type=int, help="passed on to ordalis-cli recognize")
    parser.add_argument("--settings", help="passed on to ordalis-cli recognize")
    parser.add_argument("--skip-fields", default="", metavar="N,N",
                        help="leave these field numbers out of truth and rows (e.g. 78,79)")
    parser.add_argument("--errors", type=int, default=15, metavar="N",
                        help="how many error kinds to list (default 15)")
    parser.add_argument("--show", nargs="+", metavar="NAME",
                        help="print these blocks (a name or its beginning) row by row")
    parser.add_argument("--list", action="store_true",
                        help="list every block that needs correction, with its count")
    parser.add_argument("--fail-below", type=parse_share, metavar="SHARE",
                        help="exit 1 when fewer blocks need no correction (0.8 or 80%%)")
    args = parser.parse_args()

    blocks = load_set(args.set)
    recognize(blocks, args)
    skipped = {int(f) for f in args.skip_fields.split(",") if f.strip()}
    for block in blocks:
        block["truth"] = {f: v for f, v in block["truth"].items() if f not in skipped}
        block["rows"] = [r for r in block["rows"] if r[1] not in skipped]
    for block in blocks:
        compare(block)

    if args.show:
        for block in blocks:
            if any(block["name"] == s or block["name"].startswith(s) for s in args.show):
                print_block(block)
        return 0

    clean = sum(1 for b in blocks if b["fixes"] == 0)
    statuses = Counter(b["status"] for b in blocks)
    print(f"Recognizer: {args.recognizer or 'default'}; {len(blocks)} blocks from {args.set}"
          + (f"; without fields {args.skip_fields}" if skipped else ""))
    if set(statuses) != {"ok"}:
        print("Status: " + ", ".join(f"{s} {n}" for s, n in statuses.most_common()))
    print()
    precision, recall, low = print_fields(blocks)
    print()
    print_kinds(blocks)
    print()
    print(f"Blocks needing no correction: {clean} of {len(blocks)} ({share(clean, len(blocks)).strip()}); "
          f"rows to fix per block: {sum(b['fixes'] for b in blocks) / len(blocks):.2f}; "
          f"precision {100 * precision:.1f} %, recall {100 * recall:.1f} %"
          + (f"; under 90 % precision: {', '.join(low)}" if low else ""))
    parts = {k: sum(len(b["outcome"][k]) for b in blocks) for k in ("wrong", "missing", "extra")}
    print(f"Rows to fix: {parts['wrong']} wrong, {parts['missing']} missing, {parts['extra']} extra")
    print()
    print_errors(blocks, args.errors)
    if args.list:
        print("\nBlocks to correct (rows to fix):")
        for block in sorted(blocks, key=lambda b: (-b["fixes"], b["name"])):
            if block["fixes"]:
                print(f"{block['fixes']:>4}  {block['name']}")
    if args.fail_below is not None and clean < args.fail_below * len(blocks):
        print(f"\nFAIL: {clean / len(blocks):.3f} of the blocks need no correction, "
              f"the floor is {args.fail_below:.3f}", file=sys.stderr)
        return 1
    return 0


if __name__ == "__main__":
    sys.exit(main())
