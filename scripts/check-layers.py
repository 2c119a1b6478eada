#!/usr/bin/env python3
"""Fails when a product source includes across its layer's boundary.

Every library includes from the repository root, so the compiler lets an
include run back up a layer; this check does not. Each source belongs to the
unit of its longest matching path below; a unit may include its own headers
and those of the units it stands on, directly or through others, and may use
only the Qt modules listed for it (no widget below the programs).

  scripts/check-layers.py          # the repository this script lives in
  scripts/check-layers.py ROOT     # another tree laid out the same way

Prints one line per offending include and exits 1; exits 0 when there is none.
"""

import functools
import re
import subprocess
import sys
from pathlib import Path

# The layers as ARCHITECTURE.md draws them: app, cli, installer, standin ->
# act -> recognition -> support; cards, carddav and the destinations beside
# them. The ACT! boundary (act/ActObject.h) sits below the stand-in's and COM's
# automation objects; the factory that picks one of them (act/boundary) sits
# above both, and nothing includes it: the boundary declares its one function,
# the linker finds it.
#   unit: (paths, stands on, Qt modules)
UNITS = {
    "support/win": (["support/win/"], [], []),
    "support": (["support/"], ["support/win"], ["QtCore"]),
    "cards": (["cards/"], ["support"], ["QtCore"]),
    "recognition": (["recognition/"], ["support"], ["QtCore"]),
    "carddav": (["carddav/"], [], ["QtCore", "QtNetwork"]),
    "act interface": (["act/ActObject.h"], [], ["QtCore"]),
    "act/standin": (["act/standin/"], ["act interface", "support"], ["QtCore"]),
    "act/com": (["act/com/"], ["act interface"], ["QtCore"]),
    "act/boundary": (["act/boundary/"], ["act/standin", "act/com"], ["QtCore"]),
    "act": (["act/"], ["act interface", "recognition"], ["QtCore"]),
    "destinations": (["destinations/"], ["act", "carddav", "cards"], ["QtCore", "QtNetwork"]),
    # The programs: none includes another.
    "app": (["app/"], ["destinations"], None),
    "cli": (["cli/"], ["destinations"], None),
    "installer": (["installer/"], ["act interface", "act/standin", "support"], None),
    "standin": (["standin/"], ["act/standin", "cards"], None),
}

# Not product code: they may include anything.
UNCHECKED = ("tests/", "bench/", "fuzz/")
SOURCE = re.compile(r"\.(cpp|h|cpp\.in)$")
INCLUDE = re.compile(r'^\s*#\s*include\s*([<"])([^">]+)[">]', re.M)
QT_HEADERS = Path("/usr/include/x86_64-linux-gnu/qt6")


def unit_of(path):
    """The unit of a repository path, by the longest matching prefix; None outside all."""
    best = None
    for unit, (prefixes, _, _) in UNITS.items():
        for prefix in prefixes:
            if path.startswith(prefix) and (best is None or len(prefix) > best[1]):
                best = (unit, len(prefix))
    return best[0] if best else None


def reachable(unit):
    """The units unit may include: itself and all it stands on, transitively."""
    seen, todo = set(), [unit]
    while todo:
        current = todo.pop()
        if current not in seen:
            seen.add(current)
            todo.extend(UNITS[current][1])
    return seen


@functools.lru_cache(maxsize=None)
def qt_headers():
    """{header name: Qt module} of the installed Qt, e.g. QWidget -> QtWidgets."""
    root = QT_HEADERS
    try:
        root = Path(subprocess.run(["qtpaths6", "--query", "QT_INSTALL_HEADERS"],
                                   capture_output=True, text=True, check=True).stdout.strip())
    except (OSError, subprocess.CalledProcessError):
        pass
    modules = {}
    if root.is_dir():
        for module in root.iterdir():
            if module.is_dir() and module.name.startswith("Qt"):
                for header in module.iterdir():
                    if header.name.startswith("Q") and "." not in header.name:
                        modules.setdefault(header.name, module.name)
    return modules


def tracked_sources(root):
    try:
        listed = subprocess.run(["git", "-C", str(root), "ls-files", "--cached", "--others",
                                 "--exclude-standard"], capture_output=True,
                                text=True, check=True).stdout.split()
    except (OSError, subprocess.CalledProcessError):
        listed = [str(p.relative_to(root)) for p in root.rglob("*") if p.is_file()]
    return sorted(p for p in listed if SOURCE.search(p) and not p.startswith(UNCHECKED))


def resolve(root, source, header):
    """The repository path a quoted include names: beside the source first, then from the root."""
    beside = (root / source).parent / header
    if beside.exists():
        return beside.resolve().relative_to(root.resolve()).as_posix()
    return header


def check(root):
    root = Path(root)
    modules = qt_headers()
    problems = []
    for source in tracked_sources(root):
        unit = unit_of(source)
        if unit is None:
            problems.append(f"{source}: in no layer; add its folder to UNITS in {Path(__file__).name}")
            continue
        allowed = reachable(unit)
        allowed_qt = UNITS[unit][2]
        text = (root / source).read_text(encoding="utf-8", errors="replace")
        for match in INCLUDE.finditer(text):
            kind, header = match.groups()
            line = text.count("\n", 0, match.start()) + 1
            where = f"{source}:{line}: {unit} includes"
            if kind == '"':
                target = resolve(root, source, header)
                target_unit = unit_of(target)
                if target_unit is not None and target_unit not in allowed:
                    problems.append(f"{where} {target} of {target_unit}")
            elif allowed_qt is not None:
                module = header.split("/")[0] if "/" in header else modules.get(header)
                if module in set(modules.values()) and module not in allowed_qt:
                    problems.append(f"{where} <{header}> of {module}")
    return problems


def main():
    root = Path(sys.argv[1]) if len(sys.argv) > 1 else Path(__file__).resolve().parent.parent
    problems = check(root)
    for problem in problems:
        print(problem)
    if problems:
        print(f"check-layers: {len(problems)} include(s) against the layers", file=sys.stderr)
        return 1
    return 0


if __name__ == "__main__":
    sys.exit(main())
