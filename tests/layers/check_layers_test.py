#!/usr/bin/env python3
"""The layers check itself: a small house of three rooms, spoilt one way at a time, must fail
with the right words, and the house as it stands must pass."""
import pathlib
import sys
import tempfile
import unittest

sys.path.insert(0, str(pathlib.Path(__file__).resolve().parent))
import check_layers  # noqa: E402

TABLE = """# Design
<!-- layers -->
| Room | Kind | Holds | May use |
|---|---|---|---|
| `app/` | shell | the window | `shell/`, `core/`, `platform/`, `resources/` |
| `shell/` | shell | handles | `platform/` |
| `resources/` | shell | ids | |
| `tools/tool/` | portable | the tool | `core/`, `platform/` |
| `core/` | portable | the logic | `platform/`, `resources/` |
| `platform/` | portable | the system | |
<!-- /layers -->
"""

GOOD_FILES = {
    "app/window.cpp": '#include "shell/handles.h"\n#include "core/logic.h"\n#include <windows.h>\n',
    "shell/handles.h": '#include "platform/win32/windows_headers.h"\n',
    "resources/resource.h": "#define IDM_START 40001\n",
    "core/logic.h": '#include "platform/file.h"\n#include "resources/resource.h"\n#include <vector>\n',
    "core/CMakeLists.txt": "dactyla_room(core SOURCES logic.cpp USES platform)\n",
    "tools/CMakeLists.txt": "dactyla_room(tool SOURCES tool/main.cpp USES core platform)\n",
    "tools/tool/main.cpp": '#include "core/logic.h"\n',
    "platform/file.h": "#pragma once\n",
    "platform/win32/file_win32.cpp": '#include <windows.h>\n#include "platform/file.h"\n',
    "tests/core/logic_test.cpp": '#include "app/window.h"\n',  # tests may use any room
}


def house(files, table=TABLE):
    root = pathlib.Path(tempfile.mkdtemp())
    (root / "docs").mkdir()
    (root / "docs" / "design.md").write_text(table, encoding="utf-8")
    for name, text in files.items():
        path = root / name
        path.parent.mkdir(parents=True, exist_ok=True)
        path.write_text(text, encoding="utf-8")
    return root


class LayersCheck(unittest.TestCase):
    def test_a_house_that_keeps_to_its_table_passes(self):
        self.assertEqual(check_layers.check(house(GOOD_FILES)), [])

    def test_each_spoilt_house_fails_naming_its_fault(self):
        cases = [
            ("an arrow upwards", {"core/logic.cpp": '#include "app/window.h"\n'},
             "core/logic.cpp:1: room core may not use app"),
            ("a sideways arrow the row lacks", {"shell/dpi.h": '#include "core/logic.h"\n'},
             "shell/dpi.h:1: room shell may not use core"),
            ("windows.h in a portable room", {"core/logic.cpp": "#include <Windows.h>\n"},
             "portable room core includes the Windows header Windows.h"),
            ("the platform's Windows gate in a portable room",
             {"core/logic.cpp": '#include "platform/win32/windows_headers.h"\n'},
             "portable room core includes the Windows header platform/win32/windows_headers.h"),
            ("a folder of code with no row", {"extra/thing.cpp": "int x;\n"},
             "extra/thing.cpp: its folder is no room of the table of layers"),
            ("a room linking beyond its row",
             {"core/CMakeLists.txt": "dactyla_room(core SOURCES logic.cpp USES platform app)\n"},
             "core/CMakeLists.txt: room core links app, which its row does not allow"),
            ("a room declared without a row", {"extra/CMakeLists.txt": "dactyla_room(extra SOURCES a.cpp)\n"},
             "extra/CMakeLists.txt: dactyla_room(extra) is no room of the table"),
        ]
        for name, spoilt, expected in cases:
            with self.subTest(name):
                faults = check_layers.check(house({**GOOD_FILES, **spoilt}))
                self.assertTrue(any(expected in fault for fault in faults), faults)

    def test_a_shell_header_beyond_the_ids_is_refused_from_a_portable_room(self):
        faults = check_layers.check(house({**GOOD_FILES, "core/logic.cpp": '#include "resources/menus.h"\n'}))
        self.assertIn("core/logic.cpp:1: portable room core reaches the shell (resources/menus.h)", faults)

    def test_a_circle_in_the_table_is_named(self):
        table = TABLE.replace("| `platform/` | portable | the system | |",
                              "| `platform/` | portable | the system | `core/` |")
        faults = check_layers.check(house(GOOD_FILES, table))
        self.assertIn("circle in the table of layers: core -> platform -> core", faults)

    def test_a_broken_table_is_refused(self):
        cases = [
            ("no markers", "# Design\n"),
            ("an unknown kind", TABLE.replace("| `core/` | portable |", "| `core/` | middle |")),
            ("a use without a row", TABLE.replace("`platform/`, `resources/` |\n| `shell/`",
                                                  "`platform/`, `nowhere/` |\n| `shell/`")),
        ]
        for name, table in cases:
            with self.subTest(name):
                with self.assertRaises(ValueError):
                    check_layers.check(house(GOOD_FILES, table))

    def test_the_project_keeps_to_its_own_table(self):
        root = pathlib.Path(__file__).resolve().parents[2]
        self.assertEqual(check_layers.check(root), [])


if __name__ == "__main__":
    unittest.main()
