#!/usr/bin/env python3
"""How many small faults in the product does the Linux test suite catch?

Lists every site of a simple operator in the product's .cpp files, picks some
with a fixed seed, and for each one applies it, rebuilds, runs the suite and
restores the file. A mutant is caught when some test fails; one that does not
compile is not viable and is replaced by the next site in the seeded order.

  scripts/mutation-check.py --list                 # the chosen mutants, no build
  scripts/mutation-check.py --results out.tsv      # run them
  scripts/mutation-check.py --mutants out.tsv      # run a given list (same format)
  scripts/mutation-check.py --mutants old.tsv --anchor COMMIT   # a list of COMMIT's sites,
                                                   # found again on today's source

The build dir is configured on first use like the default preset (so ccache
already holds every unmutated object) without benchmarks, linked with lld: one
mutant costs one compile, a few links and the suite.
"""

import argparse
import difflib
import os
import random
import re
import signal
import subprocess
import sys
import time
from dataclasses import dataclass
from pathlib import Path

PRODUCT_FOLDERS = ("act", "app", "cards", "cli", "installer", "recognition", "standin", "support")
EXCLUDED_FOLDERS = ("act/com", "support/win")
DEFAULT_SEED = 20261207
DEFAULT_COUNT = 60

SWAPS = {
    "==": "!=", "!=": "==",
    "<": "<=", "<=": "<",
    ">": ">=", ">=": ">",
    "&&": "||", "||": "&&",
    "true": "false", "false": "true",
    "+": "-", "-": "+",
    "!": "",
}

# Longest first, so that the tokenizer never splits a multi-character operator.
PUNCTUATORS = sorted(
    """<=> <<= >>= ... ->* :: -> ++ -- << >> <= >= == != && || += -= *= /= %= &= |= ^= ##
    { } [ ] ( ) ; : , . ? ~ ! + - * / % ^ & | = < > #""".split(),
    key=len, reverse=True)

TOKEN_RE = re.compile(
    r"""(?P<space>[ \t\f\v]+)
      | (?P<newline>\r?\n)
      | (?P<line_comment>//[^\n]*)
      | (?P<block_comment>/\*.*?\*/)
      | (?P<raw_string>(?:u8|u|U|L)?R"(?P<delim>[^(\s]*)\(.*?\)(?P=delim)")
      | (?P<string>(?:u8|u|U|L)?"(?:\\.|[^"\\\n])*")
      | (?P<char>(?:u8|u|U|L)?'(?:\\.|[^'\\\n])+')
      | (?P<number>\.?[0-9](?:[eEpP][+-]|['0-9a-zA-Z_.])*)
      | (?P<ident>[A-Za-z_][A-Za-z_0-9]*)
      | (?P<punct>""" + "|".join(re.escape(p) for p in PUNCTUATORS) + r""")
      | (?P<other>\\\n|.)""",
    re.VERBOSE | re.DOTALL)


@dataclass
class Token:
    kind: str
    text: str
    offset: int


@dataclass(frozen=True)
class Mutant:
    path: str  # relative to the source dir
    line: int
    col: int
    old: str
    new: str

    def __str__(self):
        return f"{self.path}:{self.line}:{self.col} {self.old}->{self.new}"


def tokenize(text):
    """Code tokens only: comments, whitespace and preprocessor lines are dropped."""
    tokens = []
    at_line_start = True
    in_directive = False
    for match in TOKEN_RE.finditer(text):
        kind = match.lastgroup
        if kind in ("delim",):
            kind = "raw_string"
        if kind == "newline":
            at_line_start, in_directive = True, False
            continue
        if kind in ("space", "line_comment", "block_comment") or (kind == "other" and match.group() == "\\\n"):
            continue
        if at_line_start and match.group() == "#":
            in_directive = True
        at_line_start = False
        if not in_directive:
            tokens.append(Token(kind, match.group(), match.start()))
    return tokens


TEMPLATE_ARGUMENT_TOKENS = {"::", ",", "*", "&", "&&", "(", ")", "[", "]", "...", "<", ">", ">>"}
VALUE_END = {"ident", "number", "string", "raw_string", "char"}
KEYWORDS_BEFORE_UNARY = {"return", "case", "co_return", "co_yield", "throw", "and", "or", "not"}


def template_brackets(tokens):
    """Offsets of the '<' and '>' that open and close template argument lists.

    A '<' after a name opens one when a matching '>' follows with nothing but
    type-like tokens in between; anything else is a comparison. A miss either
    way only costs a mutant that does not compile or a site not listed.
    """
    brackets = set()
    for i, token in enumerate(tokens):
        if token.text != "<" or i == 0:
            continue
        before = tokens[i - 1]
        if before.kind != "ident" and before.text != "template":
            continue
        if before.text == "operator":
            continue
        closing = matching_angle(tokens, i)
        if closing:
            brackets.add(token.offset)
            brackets.update(closing)
    return brackets


def matching_angle(tokens, start):
    depth, parens, inner = 0, 0, []
    for token in tokens[start:]:
        if token.kind not in ("ident", "number") and token.text not in TEMPLATE_ARGUMENT_TOKENS:
            return None
        if token.text == "(":
            parens += 1
        elif token.text == ")":
            parens -= 1
            if parens < 0:
                return None
        elif token.text == "<":
            depth += 1
            inner.append(token.offset)
        elif token.text in (">", ">>"):
            depth -= len(token.text)
            inner.append(token.offset)
            if depth <= 0:
                return inner
    return None


def is_binary_context(tokens, i):
    """True when the operator at i follows an operand (so it is binary)."""
    if i == 0:
        return False
    before = tokens[i - 1]
    if before.kind in VALUE_END:
        return before.text not in KEYWORDS_BEFORE_UNARY
    return before.text in (")", "]", "++", "--")


def sites_in(path, rel):
    text = path.read_text(encoding="utf-8", errors="surrogateescape")
    return [site for site, _ in sites_with_context(text, rel)]


CONTEXT_TOKENS = 8


def sites_with_context(text, rel):
    """Each site with the code tokens around it, which find it again after edits."""
    tokens = tokenize(text)
    templates = template_brackets(tokens)
    line_starts = [0] + [m.end() for m in re.finditer(r"\n", text)]
    sites = []
    for i, token in enumerate(tokens):
        new = mutation_for(tokens, i, templates)
        if new is None:
            continue
        line = bisect_right(line_starts, token.offset)
        col = token.offset - line_starts[line - 1] + 1
        context = ([t.text for t in tokens[max(0, i - CONTEXT_TOKENS):i]],
                   [t.text for t in tokens[i + 1:i + 1 + CONTEXT_TOKENS]])
        sites.append((Mutant(rel, line, col, token.text, new), context))
    return sites


def similarity(a, b):
    before = difflib.SequenceMatcher(None, a[0], b[0]).ratio()
    after = difflib.SequenceMatcher(None, a[1], b[1]).ratio()
    return (before + after) / 2


def anchor(mutants, source, commit, threshold):
    """Each mutant of `commit` on today's source: the site of the same change whose
    surrounding tokens match best, or None when the code is gone (nothing matches
    well enough). Returns (mutant, anchored or None, similarity) triples."""
    anchored = []
    for mutant in mutants:
        old_text = subprocess.run(["git", "-C", str(source), "show", f"{commit}:{mutant.path}"],
                                  stdout=subprocess.PIPE, stderr=subprocess.DEVNULL, text=True,
                                  errors="surrogateescape").stdout
        path = source / mutant.path
        old = [c for m, c in sites_with_context(old_text, mutant.path) if m == mutant]
        if not old or not path.exists():
            anchored.append((mutant, None, 0.0))
            continue
        today = [(m, c) for m, c in sites_with_context(
            path.read_text(encoding="utf-8", errors="surrogateescape"), mutant.path)
            if m.old == mutant.old]
        scored = [(similarity(old[0], c), -abs(m.line - mutant.line), m) for m, c in today]
        best = max(scored, default=None, key=lambda s: s[:2])
        if best is None or best[0] < threshold:
            anchored.append((mutant, None, best[0] if best else 0.0))
        else:
            anchored.append((mutant, best[2], best[0]))
    return anchored


def mutation_for(tokens, i, templates):
    token = tokens[i]
    text = token.text
    if token.kind == "ident":
        return SWAPS[text] if text in ("true", "false") else None
    if token.kind != "punct" or text not in SWAPS:
        return None
    if i > 0 and tokens[i - 1].text == "operator":
        return None
    if text in ("<", ">") and token.offset in templates:
        return None
    if text in ("+", "-"):
        following = tokens[i + 1] if i + 1 < len(tokens) else None
        if not (following and following.text == "1" and is_binary_context(tokens, i)):
            return None
    if text == "!" and is_binary_context(tokens, i):
        return None
    if text == "&&" and not is_logical_and(tokens, i):
        return None
    return SWAPS[text]


def is_logical_and(tokens, i):
    """'&&' after a type name declares a forwarding or rvalue reference."""
    if not is_binary_context(tokens, i):
        return False
    before = tokens[i - 1].text
    after = tokens[i + 1].text if i + 1 < len(tokens) else ""
    return before not in ("auto", "const") and after not in (")", ",", "...", ">")


def bisect_right(values, x):
    lo, hi = 0, len(values)
    while lo < hi:
        mid = (lo + hi) // 2
        if x < values[mid]:
            hi = mid
        else:
            lo = mid + 1
    return lo


def product_files(source):
    files = []
    for folder in PRODUCT_FOLDERS:
        for path in sorted((source / folder).rglob("*.cpp")):
            rel = path.relative_to(source).as_posix()
            if any(rel.startswith(excluded + "/") for excluded in EXCLUDED_FOLDERS):
                continue
            if "/build/" in "/" + rel:
                continue
            files.append((path, rel))
    return files


def all_sites(source):
    sites = []
    for path, rel in product_files(source):
        sites.extend(sites_in(path, rel))
    return sites


def seeded_order(sites, seed):
    order = list(sites)
    random.Random(seed).shuffle(order)
    return order


MUTANT_RE = re.compile(r"^(?P<path>[^\s:]+):(?P<line>\d+):(?P<col>\d+) (?P<change>\S+)")


def parse_mutant(line):
    match = MUTANT_RE.match(line.strip())
    if not match:
        return None
    change = match.group("change")
    for old in sorted(SWAPS, key=len, reverse=True):
        if change.startswith(old + "->") and change[len(old) + 2:] == SWAPS[old]:
            return Mutant(match.group("path"), int(match.group("line")), int(match.group("col")), old, SWAPS[old])
    raise ValueError(f"not a known mutation: {line.strip()}")


def read_mutants(path):
    mutants = []
    for line in Path(path).read_text(encoding="utf-8").splitlines():
        if line.startswith("#") or not line.strip() or "\tnot-viable" in line:
            continue
        mutant = parse_mutant(line)
        if mutant:
            mutants.append(mutant)
    return mutants


def mutated_text(original, mutant):
    lines = original.split("\n")
    line = lines[mutant.line - 1]
    col = mutant.col - 1
    if line[col:col + len(mutant.old)] != mutant.old:
        raise ValueError(f"{mutant}: the source no longer has '{mutant.old}' there")
    lines[mutant.line - 1] = line[:col] + mutant.new + line[col + len(mutant.old):]
    return "\n".join(lines)


class Runner:
    def __init__(self, source, build, log):
        self.source = source
        self.build = build
        self.log = log

    def run(self, args, timeout=None):
        with open(self.log, "a", encoding="utf-8") as log:
            log.write(f"\n$ {' '.join(args)}\n")
            log.flush()
            result = subprocess.run(["nice", "-n", "5", *args], cwd=self.source, stdout=subprocess.PIPE,
                                    stderr=subprocess.STDOUT, text=True, errors="replace", timeout=timeout)
            log.write(result.stdout)
        return result

    def configure_if_needed(self):
        if (self.build / "build.ninja").exists():
            return
        linker = "-fuse-ld=lld" if shutil_which("ld.lld") else "-fuse-ld=gold"
        result = self.run(["cmake", "--preset", "default", "-B", str(self.build),
                           "-DORDALIS_BUILD_BENCHMARKS=OFF",
                           "-DCMAKE_CXX_COMPILER_LAUNCHER=ccache", "-DCMAKE_C_COMPILER_LAUNCHER=ccache",
                           f"-DCMAKE_EXE_LINKER_FLAGS={linker}", f"-DCMAKE_SHARED_LINKER_FLAGS={linker}"])
        if result.returncode != 0:
            sys.exit(f"configuring {self.build} failed; see {self.log}")

    def build_all(self):
        return self.run(["cmake", "--build", str(self.build), "-j2"]).returncode == 0

    def suite_fails(self):
        """The first failing test's name, or None when the whole suite passes."""
        # Without the timings of earlier runs ctest starts the tests in the order
        # they are declared (quick ones first), not the slowest first: a caught
        # mutant is found sooner.
        (self.build / "Testing" / "Temporary" / "CTestCostData.txt").unlink(missing_ok=True)
        result = self.run(["ctest", "--test-dir", str(self.build), "-j2", "--timeout", "60",
                           "--stop-on-failure"])
        if result.returncode == 0:
            return None
        failed = re.findall(r"\d+ - (\S+) \((?:Failed|Timeout|SEGFAULT|Subprocess aborted|Exception|"
                            r"Child aborted|Not Run|[^)]*)\)", result.stdout)
        return failed[0] if failed else "(ctest failed)"

    def try_mutant(self, mutant):
        """'caught', 'survived' or 'not-viable', and the failing test."""
        path = self.source / mutant.path
        original = path.read_bytes()
        text = original.decode("utf-8", errors="surrogateescape")
        try:
            path.write_bytes(mutated_text(text, mutant).encode("utf-8", errors="surrogateescape"))
            if not self.build_all():
                return "not-viable", ""
            failing = self.suite_fails()
            return ("caught", failing) if failing else ("survived", "")
        finally:
            # A fresh mtime, so that the next build compiles the restored file again
            # (ccache still has its object).
            path.write_bytes(original)


def shutil_which(name):
    return any((Path(p) / name).exists() for p in os.environ.get("PATH", "").split(os.pathsep))


def stop_on_term(_signum, _frame):
    raise KeyboardInterrupt


def read_results(path):
    """Outcomes already measured, from an earlier results file."""
    done = {}
    if path and Path(path).exists():
        for line in Path(path).read_text(encoding="utf-8").splitlines():
            fields = line.split("\t")
            if len(fields) >= 3 and not line.startswith("#"):
                done[str(parse_mutant(fields[0]))] = fields[1:]
    return done


def run_mutants(runner, candidates, count, results_path, earlier):
    signal.signal(signal.SIGTERM, stop_on_term)
    runner.configure_if_needed()
    if not runner.build_all():
        sys.exit(f"the unmutated tree does not build; see {runner.log}")
    started = time.monotonic()
    if not earlier and runner.suite_fails():
        sys.exit(f"the suite fails without a mutant; see {runner.log}")
    print(f"the unmutated suite passes in {time.monotonic() - started:.0f}s", flush=True)
    tried = caught = gone = 0
    with open(results_path, "w", encoding="utf-8") as results:
        results.write("# mutant\tresult\tseconds\tfirst failing test\tsite today\n")
        try:
            for label, mutant in candidates:
                if tried == count:
                    break
                started = time.monotonic()
                if mutant is None:
                    outcome, seconds, failing = "gone", 0.0, ""
                elif str(label) in earlier:
                    outcome, seconds, failing = earlier[str(label)][:3]
                    seconds = float(seconds)
                else:
                    outcome, failing = runner.try_mutant(mutant)
                    seconds = time.monotonic() - started
                results.write(f"{label}\t{outcome}\t{seconds:.0f}\t{failing}\t{mutant or ''}\n")
                results.flush()
                print(f"{label}  {outcome}  {seconds:.0f}s  {failing}", flush=True)
                gone += outcome == "gone"
                if outcome not in ("not-viable", "gone"):
                    tried += 1
                    caught += outcome == "caught"
        finally:
            runner.build_all()
    print(f"caught {caught} of {tried} mutants" + (f" ({100 * caught / tried:.0f} %)" if tried else "") +
          (f"; {gone} gone from today's source" if gone else ""))
    return caught, tried


def main():
    here = Path(__file__).resolve().parent.parent
    parser = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    parser.add_argument("--source", type=Path, default=here, help="the source tree to mutate (default: this one)")
    parser.add_argument("--build", type=Path, help="its build dir (default: SOURCE/build/mutation)")
    parser.add_argument("--seed", type=int, default=DEFAULT_SEED)
    parser.add_argument("--count", type=int, default=DEFAULT_COUNT, help="viable mutants to try")
    parser.add_argument("--list", action="store_true", help="print the first COUNT mutants of the seeded order")
    parser.add_argument("--sites", action="store_true", help="print every mutation site")
    parser.add_argument("--mutants", type=Path, help="try the mutants listed in this file instead")
    parser.add_argument("--results", type=Path, default=Path("mutation-results.tsv"))
    parser.add_argument("--log", type=Path, default=Path("mutation-check.log"))
    parser.add_argument("--resume", type=Path, help="take the outcomes this results file already has")
    parser.add_argument("--anchor", metavar="COMMIT",
                        help="the --mutants list names sites of COMMIT: find each on today's source by "
                             "the code around it (gone when nothing matches well enough)")
    parser.add_argument("--similarity", type=float, default=0.6,
                        help="how alike the code around a site must be to count as the same (0..1)")
    args = parser.parse_args()

    source = args.source.resolve()
    sites = all_sites(source)
    if args.sites:
        for site in sites:
            print(site)
        return 0
    candidates = read_mutants(args.mutants) if args.mutants else seeded_order(sites, args.seed)
    if args.anchor:
        anchored = anchor(candidates, source, args.anchor, args.similarity)
        candidates = [(label, today) for label, today, _ in anchored]
        if args.list:
            for label, today, alike in anchored:
                print(f"{label}\t{today or 'gone'}\t{alike:.2f}")
            return 0
    else:
        candidates = [(mutant, mutant) for mutant in candidates]
    if args.list:
        for label, today in candidates[:args.count]:
            print(label if label == today else f"{label}\t{today or 'gone'}")
        print(f"# {len(sites)} sites in all", file=sys.stderr)
        return 0
    build = (args.build or source / "build" / "mutation").resolve()
    args.log.unlink(missing_ok=True)
    runner = Runner(source, build, args.log.resolve())
    earlier = read_results(args.resume)
    run_mutants(runner, candidates, args.count if not args.mutants else len(candidates), args.results, earlier)
    return 0


if __name__ == "__main__":
    sys.exit(main())
