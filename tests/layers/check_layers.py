#!/usr/bin/env python3
"""The layers check: the rooms of the program's code use each other only as the table of layers
in docs/design.md allows.

Fails, naming the file and line, on an #include of a room the table does not allow, on a circle
in the table, on a folder of code missing from the table, on a Windows header or a shell room
reached from a portable room, and on a dactyla_room in a CMakeLists.txt that uses more than its
row allows.

Usage: check_layers.py [source root]
"""
import pathlib
import re
import sys

TABLE_BEGIN = "<!-- layers -->"
TABLE_END = "<!-- /layers -->"
# Folders of the tree that are not rooms of the program: tests, benchmarks, fuzz targets, build
# scripts and documents may use any room.
NOT_ROOMS = {"tests", "bench", "fuzz", "cmake", "docs", "scripts", "build", ".git", ".ci"}
CODE_SUFFIXES = {".h", ".cpp"}
# The shell's one header a portable room may include: plain numbers, no Windows header behind it.
SHELL_NUMBERS = "resources/resource.h"
# Windows' own headers, and the platform's header that brings them in.
WINDOWS_HEADERS = re.compile(r"^(windows|winuser|wingdi|commctrl|commdlg|mmsystem|shellapi|shlobj|"
                             r"windowsx|uxtheme|dwmapi|objbase|shellscalingapi)\.h$", re.IGNORECASE)
WINDOWS_GATE = "platform/win32/windows_headers.h"
WIN32_HALF = "platform/win32/"

INCLUDE = re.compile(r'^\s*#\s*include\s*([<"])([^>"]+)[>"]')
ROOM_CALL = re.compile(r"dactyla_room\(\s*(\w+)(.*?)\)", re.DOTALL)


class Table:
    def __init__(self, uses, kinds):
        self.uses = uses    # room -> set of rooms it may use
        self.kinds = kinds  # room -> "portable" or "shell"

    def portable(self, room):
        return self.kinds[room] == "portable"


def room_name(cell):
    return cell.strip().strip("`").rstrip("/")


def read_table(design_text):
    """The table between the layers markers: | `room/` | kind | holds | `a/`, `b/` |."""
    if TABLE_BEGIN not in design_text or TABLE_END not in design_text:
        raise ValueError("docs/design.md has no table of layers between its markers")
    body = design_text.split(TABLE_BEGIN, 1)[1].split(TABLE_END, 1)[0]
    uses, kinds = {}, {}
    for line in body.splitlines():
        cells = [cell.strip() for cell in line.strip().strip("|").split("|")]
        if len(cells) != 4 or not cells[0].startswith("`"):
            continue
        room = room_name(cells[0])
        if cells[1] not in ("portable", "shell"):
            raise ValueError(f"room {room}: kind is '{cells[1]}', neither portable nor shell")
        kinds[room] = cells[1]
        uses[room] = {room_name(used) for used in cells[3].split(",") if used.strip()}
    for room, used in uses.items():
        for other in used - set(uses):
            raise ValueError(f"room {room} uses {other}, which has no row of its own")
    return Table(uses, kinds)


def circles(table):
    """Every room that lies on a circle of the table, as one message each."""
    found, state = [], {}

    def visit(room, path):
        state[room] = "open"
        for used in sorted(table.uses[room]):
            if state.get(used) == "open":
                found.append(" -> ".join(path[path.index(used):] + [used]))
            elif used not in state:
                visit(used, path + [used])
        state[room] = "done"

    for room in sorted(table.uses):
        if room not in state:
            visit(room, [room])
    return found


def room_of(relative, rooms):
    """The room a path (relative to the root, with slashes) lies in: the longest matching room."""
    best = None
    for room in rooms:
        if relative == room or relative.startswith(room + "/"):
            if best is None or len(room) > len(best):
                best = room
    return best


def code_files(root):
    for path in sorted(root.rglob("*")):
        relative = path.relative_to(root)
        if relative.parts[0] in NOT_ROOMS or relative.parts[0].startswith("build"):
            continue
        if path.suffix in CODE_SUFFIXES and path.is_file():
            yield relative.as_posix(), path


def include_faults(root, table):
    faults = []
    rooms = set(table.uses)
    for relative, path in code_files(root):
        room = room_of(relative, rooms)
        if room is None:
            faults.append(f"{relative}: its folder is no room of the table of layers")
            continue
        text = path.read_text(encoding="utf-8", errors="replace")
        for number, line in enumerate(text.splitlines(), 1):
            match = INCLUDE.match(line)
            if not match:
                continue
            quoted, header = match.group(1) == '"', match.group(2)
            where = f"{relative}:{number}"
            if table.portable(room) and not relative.startswith(WIN32_HALF):
                if WINDOWS_HEADERS.match(header) or header == WINDOWS_GATE:
                    faults.append(f"{where}: portable room {room} includes the Windows header {header}")
                    continue
            if not quoted:
                continue
            used = room_of(header, rooms)
            if used is None or used == room:
                continue
            if used not in table.uses[room]:
                faults.append(f"{where}: room {room} may not use {used} ({header})")
            elif table.portable(room) and not table.portable(used) and header != SHELL_NUMBERS:
                faults.append(f"{where}: portable room {room} reaches the shell ({header})")
    return faults


def cmake_faults(root, table):
    faults = []
    for path in sorted(root.rglob("CMakeLists.txt")):
        relative = path.relative_to(root)
        if relative.parts[0] in NOT_ROOMS or relative.parts[0].startswith("build"):
            continue
        for match in ROOM_CALL.finditer(path.read_text(encoding="utf-8")):
            folder, name = relative.parent.as_posix(), match.group(1)
            # A room is declared by its folder's own CMakeLists.txt, or by its parent's.
            room = folder if folder.split("/")[-1] == name else f"{folder}/{name}"
            if room not in table.uses:
                faults.append(f"{relative.as_posix()}: dactyla_room({name}) is no room of the table")
                continue
            words = match.group(2).split()
            used = set()
            if "USES" in words:
                for word in words[words.index("USES") + 1:]:
                    if word in ("SOURCES", "SYSTEM"):
                        break
                    used.add(word)
            allowed = {other.split("/")[-1] for other in table.uses[room]}
            for other in sorted(used - allowed):
                faults.append(f"{relative.as_posix()}: room {room} links {other}, which its row does not allow")
    return faults


def check(root):
    root = pathlib.Path(root)
    table = read_table((root / "docs" / "design.md").read_text(encoding="utf-8"))
    faults = [f"circle in the table of layers: {circle}" for circle in circles(table)]
    faults += include_faults(root, table)
    faults += cmake_faults(root, table)
    return faults


def main(argv):
    root = argv[1] if len(argv) > 1 else pathlib.Path(__file__).resolve().parents[2]
    try:
        faults = check(root)
    except ValueError as error:
        print(f"layers: {error}")
        return 1
    for fault in faults:
        print(f"layers: {fault}")
    if faults:
        print(f"layers: {len(faults)} fault(s)")
        return 1
    print("layers: every include and every room keeps to the table")
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
