#!/usr/bin/env python3
"""scripts/check-layers.py on small trees: each case one include in one source."""

import importlib.util
import tempfile
import unittest
from pathlib import Path

SCRIPT = Path(__file__).resolve().parents[2] / "scripts" / "check-layers.py"
loader_spec = importlib.util.spec_from_file_location("check_layers", SCRIPT)
check_layers = importlib.util.module_from_spec(loader_spec)
loader_spec.loader.exec_module(check_layers)

# (source, its include line, headers that exist, fails)
CASES = [
    ("recognition/A.cpp", '#include "support/Log.h"', ["support/Log.h"], False),
    ("recognition/A.cpp", '#include "act/ActHost.h"', ["act/ActHost.h"], True),
    ("recognition/A.cpp", '#include "../act/ActHost.h"', ["act/ActHost.h"], True),
    ("support/A.cpp", '#include "recognition/Score.h"', ["recognition/Score.h"], True),
    ("cards/A.cpp", '#include "recognition/Score.h"', ["recognition/Score.h"], True),
    ("act/A.cpp", '#include "support/Log.h"', ["support/Log.h"], False),
    ("act/A.cpp", '#include "act/standin/StandinPaths.h"', ["act/standin/StandinPaths.h"], True),
    ("act/standin/A.cpp", '#include "act/ActObject.h"', ["act/ActObject.h"], False),
    ("act/standin/A.cpp", '#include "act/ContactWriter.h"', ["act/ContactWriter.h"], True),
    ("act/ActBoundary.cpp", '#include "standin/StandinFactory.h"',
     ["act/standin/StandinFactory.h"], True),
    ("act/boundary/A.cpp", '#include "act/standin/StandinFactory.h"',
     ["act/standin/StandinFactory.h"], False),
    ("act/boundary/A.cpp", '#include "act/com/ComActObject.h"', ["act/com/ComActObject.h"], False),
    ("act/boundary/A.cpp", '#include "act/ContactWriter.h"', ["act/ContactWriter.h"], True),
    ("act/standin/A.cpp", '#include "act/boundary/X.h"', ["act/boundary/X.h"], True),
    ("act/com/A.cpp", '#include "act/boundary/X.h"', ["act/boundary/X.h"], True),
    ("act/A.cpp", '#include "act/boundary/X.h"', ["act/boundary/X.h"], True),
    ("act/com/A.cpp", '#include "act/standin/StandinPaths.h"', ["act/standin/StandinPaths.h"], True),
    ("destinations/A.cpp", '#include "carddav/DavSession.h"', ["carddav/DavSession.h"], False),
    ("carddav/A.cpp", '#include "destinations/X.h"', ["destinations/X.h"], True),
    ("app/A.cpp", '#include "destinations/X.h"', ["destinations/X.h"], False),
    ("app/A.cpp", '#include "act/standin/StandinPaths.h"', ["act/standin/StandinPaths.h"], True),
    ("app/A.cpp", '#include "cli/Usage.h"', ["cli/Usage.h"], True),
    ("cli/A.cpp", '#include "app/MainWindow.h"', ["app/MainWindow.h"], True),
    ("installer/A.cpp", '#include "act/standin/CommandFileLock.h"',
     ["act/standin/CommandFileLock.h"], False),
    ("support/A.cpp", "#include <QString>", [], False),
    ("support/A.cpp", "#include <QMessageBox>", [], True),
    ("recognition/A.h", "#include <QtWidgets/QWidget>", [], True),
    ("carddav/A.cpp", "#include <QNetworkReply>", [], False),
    ("act/A.cpp", "#include <QNetworkReply>", [], True),
    ("app/A.cpp", "#include <QMessageBox>", [], False),
    ("destinations/A.cpp", "#include <qt6keychain/keychain.h>", [], False),
    ("tests/recognition/A.cpp", '#include "app/MainWindow.h"', ["app/MainWindow.h"], False),
    ("newfolder/A.cpp", "#include <vector>", [], True),
]


class CheckLayers(unittest.TestCase):
    def test_cases(self):
        if not check_layers.qt_headers():
            self.skipTest("no Qt headers installed")
        for source, include, headers, fails in CASES:
            with self.subTest(source=source, include=include), \
                    tempfile.TemporaryDirectory() as root:
                for path in headers + [source]:
                    (Path(root) / path).parent.mkdir(parents=True, exist_ok=True)
                    (Path(root) / path).write_text("")
                (Path(root) / source).write_text(include + "\n")
                problems = check_layers.check(root)
                self.assertEqual(bool(problems), fails, problems)


if __name__ == "__main__":
    unittest.main()
