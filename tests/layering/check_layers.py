#!/usr/bin/env python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""Fails when a core source reaches above its layer.

  - src/core/link and src/core/model include nothing from localisation/: they return values and
    outcomes, and the commands word them;
  - nothing under src/core includes a widget-level Qt header or a header that exists only under
    src/gui;
  - each folder of src/core includes only itself and the folders listed before it in
    src/core/CMakeLists.txt.

Usage: check_layers.py SOURCE_DIR [QT_INCLUDE_DIR]. Prints one line per violation, as file:line.
       check_layers.py --self-test: the check against a small tree with one violation of each kind.
"""
import pathlib
import re
import sys

# Known debts, each (including file, included header). They are reported as "allowed" and do not
# fail the check; an entry that no longer matches anything fails it, so the list only shrinks.
ALLOWED: set = set()

# Qt modules a core file may not use: the core links Qt Core only.
WIDGET_MODULES = ("QtWidgets", "QtCharts", "QtPrintSupport", "QtGui", "QtOpenGLWidgets", "QtSvgWidgets")

INCLUDE = re.compile(r'^\s*#\s*include\s*([<"])([^>"]+)[>"]')


def core_order(core):
    text = (core / "CMakeLists.txt").read_text(encoding="utf-8")
    return re.findall(r"^\s*add_subdirectory\(\s*([\w-]+)\s*\)", text, re.MULTILINE)


def qt_module_of(header, qt_include):
    """The Qt module a <QClass> or <QtModule/...> header belongs to, or None."""
    if "/" in header:
        first = header.split("/", 1)[0]
        return first if first.startswith("Qt") else None
    if not header.startswith("Q") or qt_include is None:
        return None
    for module in qt_include.iterdir():
        if (module / header).is_file():
            return module.name
    return None


def check(root, qt_include):
    core = root / "src" / "core"
    gui = root / "src" / "gui"
    order = core_order(core)
    rank = {folder: i for i, folder in enumerate(order)}
    violations = []  # (file, line, header, why)
    for path in sorted(core.rglob("*")):
        if path.suffix not in (".h", ".cpp") or not path.is_file():
            continue
        rel = path.relative_to(root).as_posix()
        folder = path.relative_to(core).parts[0]
        for number, line in enumerate(path.read_text(encoding="utf-8").splitlines(), 1):
            match = INCLUDE.match(line)
            if not match:
                continue
            bracket, header = match.groups()
            why = None
            if bracket == "<":
                module = qt_module_of(header, qt_include)
                if module in WIDGET_MODULES:
                    why = f"a {module} header in the core"
            else:
                target_folder = header.split("/", 1)[0] if "/" in header else None
                in_core = (core / header).is_file() or (path.parent / header).is_file()
                if not in_core and (gui / header).is_file():
                    why = "a header that exists only under src/gui"
                elif target_folder == "localisation" and folder in ("link", "model"):
                    why = f"{folder}/ words no texts: it returns values and outcomes"
                elif target_folder in rank and folder in rank and rank[target_folder] > rank[folder]:
                    why = f"{folder}/ comes before {target_folder}/ in src/core/CMakeLists.txt"
            if why:
                violations.append((rel, number, header, why))
    # The executables and the drivers reach windows only through src/gui's functions.
    for top in ("app", "drivers"):
        for path in sorted((root / top).rglob("*")) if (root / top).is_dir() else []:
            if path.suffix not in (".h", ".cpp") or not path.is_file():
                continue
            for number, line in enumerate(path.read_text(encoding="utf-8").splitlines(), 1):
                match = INCLUDE.match(line)
                if match and match.group(1) == "<":
                    module = qt_module_of(match.group(2), qt_include)
                    if module in WIDGET_MODULES:
                        violations.append((path.relative_to(root).as_posix(), number, match.group(2),
                                           f"a {module} header outside src/gui"))
    return violations


def self_test():
    """The check finds each kind of violation in a small tree of its own, with the lines."""
    import tempfile

    with tempfile.TemporaryDirectory() as scratch:
        root = pathlib.Path(scratch)
        files = {
            "src/core/CMakeLists.txt": "add_subdirectory(model)\nadd_subdirectory(localisation)\n"
                                       "add_subdirectory(link)\nadd_subdirectory(commands)\n",
            "src/core/model/A.h": '#include "model/B.h"\n',
            "src/core/model/B.h": '\n#include "localisation/T.h"\n',
            "src/core/localisation/T.h": "",
            "src/core/link/L.cpp": '#include "link/L.h"\n#include "commands/C.h"\n',
            "src/core/link/L.h": "",
            "src/core/commands/C.h": '#include "link/L.h"\n#include <QWidget>\n#include <QtCharts/QChart>\n'
                                     '#include "mainwindow/W.h"\n#include <QString>\n',
            "src/gui/mainwindow/W.h": "",
            "app/tool/main.cpp": '#include "mainwindow/W.h"\n#include <QWidget>\n',
            "qt/QtWidgets/QWidget": "",
            "qt/QtCore/QString": "",
        }
        for name, text in files.items():
            (root / name).parent.mkdir(parents=True, exist_ok=True)
            (root / name).write_text(text, encoding="utf-8")
        found = {(rel, number, header) for rel, number, header, _ in check(root, root / "qt")}
    expected = {
        ("src/core/model/B.h", 2, "localisation/T.h"),
        ("src/core/link/L.cpp", 2, "commands/C.h"),
        ("src/core/commands/C.h", 2, "QWidget"),
        ("src/core/commands/C.h", 3, "QtCharts/QChart"),
        ("src/core/commands/C.h", 4, "mainwindow/W.h"),
        ("app/tool/main.cpp", 2, "QWidget"),
    }
    if found != expected:
        print(f"self-test: found {sorted(found)}, expected {sorted(expected)}")
        return 1
    return 0


def main():
    if sys.argv[1:] == ["--self-test"]:
        return self_test()
    root = pathlib.Path(sys.argv[1]).resolve()
    qt_include = pathlib.Path(sys.argv[2]) if len(sys.argv) > 2 and sys.argv[2] else None
    if qt_include is not None and not qt_include.is_dir():
        qt_include = None
    violations = check(root, qt_include)
    used = set()
    failed = False
    for rel, number, header, why in violations:
        if (rel, header) in ALLOWED:
            used.add((rel, header))
        else:
            failed = True
            print(f"{rel}:{number}: includes {header}: {why}")
    for rel, header in sorted(set(ALLOWED) - used):
        failed = True
        print(f"{rel}: allow-list entry for {header} matches nothing any more: remove it")
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main())
