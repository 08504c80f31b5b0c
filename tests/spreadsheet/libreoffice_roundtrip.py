#!/usr/bin/env python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""Imports a workbook with zrv10-cli, gives the branches results, exports them back and lets
LibreOffice read both books: the written cells must hold the results, every other cell of every sheet
and the macro part must be as they were, and a wrong password must leave the book untouched.

Usage: libreoffice_roundtrip.py ZRV10_CLI FIXTURES_DIR
Exit 77 (skipped) when LibreOffice is not installed.
"""

import csv
import os
import re
import shutil
import subprocess
import sys
import tempfile
import zipfile

FIRST_LINE = 10
COL_U, COL_V, COL_W = 21, 22, 23
NO_VALUE = -9999999.0
PRESETTING_EMPTY = -1000.0

# (final flow, final presetting) given to branch k, and the texts LibreOffice shows in U, V, W of row
# 10 + k: the results are number cells, shown in the cell's own (here general) format.
RESULTS = [
    ((12.34, 3.5), ("AQ-V 25", "12.3", "3.5")),
    ((5.0, 2.7), ("HR 100 DN20", "5", "2.7")),
    ((NO_VALUE, PRESETTING_EMPTY), ("NV-X 25", "", "")),
    ((1234.56, 10.0), ("TS 3 DN40", "1234.6", "10")),
    ((0.0, 0.04), ("AQ-V 15", "0", "0")),
    ((987.66, 6.51), ("BR-Flow 15", "987.7", "6.5")),
    ((300.0, 1.0), ("AQ-V 15", "300", "1")),
]

# book_formulas.xlsx: cells whose formulas depend on the written ones, with what they must show
# once recalculated: Y = V & "/" & W per branch row, V20 = SUM(V10:V16), Notes!B3 = Nortavex!V10.
JOINED_COLUMN = 25
DEPENDENTS = {("Nortavex", FIRST_LINE + k, JOINED_COLUMN): f"{v}/{w}"
              for k, (_, (_, v, w)) in enumerate(RESULTS)}
DEPENDENTS[("Nortavex", 20, COL_V)] = "2539.6"
DEPENDENTS[("Notes", 3, 2)] = RESULTS[0][1][1]
# Cells of the shared formula V10:V19 that the export does not write: formula and value stay.
SHARED_UNWRITTEN = {17: "100", 18: "0", 19: "40"}

failures = []


def check(ok, message):
    if not ok:
        failures.append(message)
        print("FAIL: " + message)


def run(args, cwd, env, expect_ok=True):
    result = subprocess.run(args, cwd=cwd, env=env, capture_output=True, text=True, timeout=120)
    if expect_ok and result.returncode != 0:
        sys.exit(f"{' '.join(args)} failed ({result.returncode}):\n{result.stdout}{result.stderr}")
    return result


def set_results(project_path):
    """Writes the final values into the project file the import produced (UTF-16LE XML)."""
    with open(project_path, "rb") as f:
        text = f.read().decode("utf-16-le")
    branches = re.findall(r"<Branch>.*?</Branch>", text, flags=re.S)
    if len(branches) != len(RESULTS):
        sys.exit(f"the import gave {len(branches)} branches, expected {len(RESULTS)}")
    for block, ((flow, presetting), _) in zip(branches, RESULTS):
        new = re.sub(r"<Final_Flow>[^<]*</Final_Flow>", f"<Final_Flow>{flow:.6f}</Final_Flow>", block)
        new = re.sub(r"<Final_Presetting>[^<]*</Final_Presetting>",
                     f"<Final_Presetting>{presetting:.6f}</Final_Presetting>", new)
        text = text.replace(block, new, 1)
    with open(project_path, "wb") as f:
        f.write(text.encode("utf-16-le"))


def sheets_as_csv(book, outdir, env, workdir):
    """Every sheet of the book as rows of texts, keyed by sheet name, as LibreOffice shows them with
    its default settings: a fresh profile, which does not recalculate a book on loading."""
    os.makedirs(outdir)
    profile = "file://" + os.path.join(outdir + "-profile")
    run(["soffice", "-env:UserInstallation=" + profile, "--headless", "--convert-to",
         "csv:Text - txt - csv (StarCalc):44,34,76,1,,0,false,true,false,false,false,-1",
         "--outdir", outdir, book], workdir, env)
    stem = os.path.splitext(os.path.basename(book))[0] + "-"
    sheets = {}
    for name in os.listdir(outdir):
        with open(os.path.join(outdir, name), newline="", encoding="utf-8") as f:
            sheets[name[len(stem):-len(".csv")]] = list(csv.reader(f))
    return sheets


def cell(rows, row, col):
    """Text of a cell (row and column from 1) in a sheet read from CSV; empty beyond its end."""
    if row > len(rows) or col > len(rows[row - 1]):
        return ""
    return rows[row - 1][col - 1]


def written(row, col):
    return FIRST_LINE <= row < FIRST_LINE + len(RESULTS) and col in (COL_U, COL_V, COL_W)


def compare_books(label, before, after, dependents=None):
    dependents = dependents or {}
    check(sorted(before) == sorted(after), f"{label}: sheets {sorted(before)} became {sorted(after)}")
    for sheet, old in before.items():
        new = after.get(sheet, [])
        rows = max(len(old), len(new))
        cols = max([len(r) for r in old + new] or [0])
        for r in range(1, rows + 1):
            for c in range(1, cols + 1):
                if (sheet == "Nortavex" and written(r, c)) or (sheet, r, c) in dependents:
                    continue
                check(cell(old, r, c) == cell(new, r, c),
                      f"{label}: {sheet} row {r} column {c}: {cell(old, r, c)!r} became {cell(new, r, c)!r}")
    sheet = after.get("Nortavex", [])
    for k, (_, expected) in enumerate(RESULTS):
        for col, text in zip((COL_U, COL_V, COL_W), expected):
            got = cell(sheet, FIRST_LINE + k, col)
            check(got == text, f"{label}: Nortavex row {FIRST_LINE + k} column {col}: {got!r}, expected {text!r}")
    for (name, r, c), text in dependents.items():
        got = cell(after.get(name, []), r, c)
        check(got == text, f"{label}: {name} row {r} column {c} (a formula over the results): {got!r}, "
                           f"expected {text!r}")


def nortavex_part(z):
    """Path of the worksheet part named Nortavex, following the workbook's relationships."""
    workbook = z.read("xl/workbook.xml").decode()
    rid = re.search(r'<sheet\b[^>]*name="Nortavex"[^>]*r:id="([^"]+)"', workbook).group(1)
    rels = z.read("xl/_rels/workbook.xml.rels").decode()
    target = re.search(r'<Relationship\b[^>]*Id="%s"[^>]*Target="([^"]+)"' % re.escape(rid), rels)
    if target is None:
        target = re.search(r'<Relationship\b[^>]*Target="([^"]+)"[^>]*Id="%s"' % re.escape(rid), rels)
    path = target.group(1)
    return path.lstrip("/") if path.startswith("/") else "xl/" + path


def compare_parts(label, original, exported):
    with zipfile.ZipFile(original) as a, zipfile.ZipFile(exported) as b:
        sheet = nortavex_part(a)
        names = set(b.namelist())
        # Parts the export has no reason to touch stay byte for byte as they were.
        for name in a.namelist():
            # A calculation chain may go with an overwritten formula; every other part stays.
            check(name in names or name == "xl/calcChain.xml", f"{label}: part {name} was dropped")
            if name in ("xl/vbaProject.bin", "xl/styles.xml", "xl/theme/theme1.xml"):
                check(name in names and a.read(name) == b.read(name), f"{label}: part {name} changed")
        check(b"<sheetProtection" not in b.read(nortavex_part(b)), f"{label}: Nortavex is still protected")
        # Every sheet's formulas stay, and none keeps a result cached from the old values.
        for name in a.namelist():
            if not name.startswith("xl/worksheets/") or not name.endswith(".xml") or name not in names:
                continue
            old, new = a.read(name).decode(), b.read(name).decode()
            if name != sheet:
                check(formulas(old) == formulas(new), f"{label}: the formulas of {name} changed")
            check(CACHED_RESULT.search(new) is None, f"{label}: {name} keeps a cached formula result")


FORMULA = re.compile(r"<f\b[^>]*/>|<f\b[^>]*>.*?</f>", re.S)
CACHED_RESULT = re.compile(r"(?:<f\b[^>]*/>|</f>)\s*<v\b")


def formulas(xml):
    return FORMULA.findall(xml)


def roundtrip(cli, fixtures, book, work, env, dependents=None):
    label = os.path.basename(book)
    folder = os.path.join(work, os.path.splitext(label)[0])
    os.makedirs(folder)
    target = os.path.join(folder, label)
    shutil.copyfile(os.path.join(fixtures, label), target)
    project = os.path.join(folder, "imported.proj")
    run([cli, "workbook", "import", target, "-o", project], work, env)
    set_results(project)
    run([cli, "workbook", "export", project, target], work, env)
    before = sheets_as_csv(os.path.join(fixtures, label), os.path.join(folder, "before"), env, work)
    after = sheets_as_csv(target, os.path.join(folder, "after"), env, work)
    compare_books(label, before, after, dependents)
    compare_parts(label, os.path.join(fixtures, label), target)
    return project, after


def wrong_password(cli, fixtures, project, work, env):
    folder = os.path.join(work, "wrong_password")
    os.makedirs(folder)
    target = os.path.join(folder, "book_protected_other.xlsx")
    shutil.copyfile(os.path.join(fixtures, "book_protected_other.xlsx"), target)
    result = run([cli, "workbook", "export", project, target], work, env, expect_ok=False)
    # Exit 1 with a message, not success and not a crash.
    check(result.returncode == 1 and "password" in result.stderr.lower(),
          f"export with a wrong password: exit {result.returncode}, {result.stderr.strip()!r}")
    with open(target, "rb") as a, open(os.path.join(fixtures, "book_protected_other.xlsx"), "rb") as b:
        check(a.read() == b.read(), "export with a wrong password changed the book")
    check(os.listdir(folder) == ["book_protected_other.xlsx"],
          f"export with a wrong password left files behind: {os.listdir(folder)}")


def main():
    if len(sys.argv) != 3:
        sys.exit(__doc__)
    cli, fixtures = os.path.abspath(sys.argv[1]), os.path.abspath(sys.argv[2])
    if shutil.which("soffice") is None:
        print("LibreOffice (soffice) is not installed: skipped")
        return 77
    work = tempfile.mkdtemp(prefix="zrv_roundtrip_")
    try:
        # LibreOffice and the simulated instrument both want a writable home of their own.
        env = dict(os.environ, HOME=work, LC_ALL="C.UTF-8", LANG="C.UTF-8", QT_QPA_PLATFORM="offscreen")
        # A portable folder of its own (the companion, the simulated instrument and "language/"
        # together), so that the valve cache and the instrument's memory stay out of the build tree.
        portable = os.path.join(work, "bin")
        os.makedirs(os.path.join(portable, "language"))
        for name in (os.path.basename(cli), "libmpusbapi.so"):
            shutil.copy2(os.path.join(os.path.dirname(cli), name), portable)
        cli = os.path.join(portable, os.path.basename(cli))
        run([cli, "device", "read-valves"], work, env)
        project = None
        for book in ("book_protected_lo.xlsx", "book_macro.xlsm"):
            project, _ = roundtrip(cli, fixtures, book, work, env)
        # An engineer's book with a shared formula over written and unwritten rows, formulas over
        # the results on the same and on another sheet, and a sum of the exported flows.
        _, after = roundtrip(cli, fixtures, "book_formulas.xlsx", work, env, DEPENDENTS)
        for r, text in SHARED_UNWRITTEN.items():
            got = cell(after["Nortavex"], r, COL_V)
            check(got == text, f"book_formulas.xlsx: V{r}, unwritten part of a shared formula: {got!r}, "
                               f"expected {text!r}")
        wrong_password(cli, fixtures, project, work, env)
    finally:
        shutil.rmtree(work, ignore_errors=True)
    if failures:
        print(f"{len(failures)} check(s) failed")
        return 1
    print("round trip through LibreOffice: all cells and parts as expected")
    return 0


if __name__ == "__main__":
    sys.exit(main())
