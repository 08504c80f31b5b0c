#!/usr/bin/env python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""The companion's commissioning certificate in each format, read back as a spreadsheet program, a
browser and a PDF reader would: CSV by the csv module, HTML by html.parser, XLSX by openpyxl, PDF
through pdftotext. Also the command's refusals: an unknown extension and a damaged details file.

Usage: check_certificate_files.py CLI FIXTURE_DIR WORK_DIR
"""
import csv
import html.parser
import io
import os
import shutil
import subprocess
import sys
import unicodedata
import unittest

CLI, FIXTURES, WORK = sys.argv[1:4]
PROJECT = os.path.join(FIXTURES, "printing", "certificate.proj")
UNITS = ["--flow-unit", "5", "--pressure-unit", "2"]
REMARK = 'Valve stuck, "re-check" after flushing\nsecond visit planned'
HEADER = ["#", "Branch", "Valve", "Design flow [l/h]", "Final flow [l/h]", "% of design",
          "Final differential pressure [kPa]", "Final Kv", "Final presetting", "Status", "Remark"]


def run(*args):
    return subprocess.run([CLI, *args], capture_output=True, text=True)


def certificate(extension, *extra):
    out = os.path.join(WORK, "certificate." + extension)
    if os.path.exists(out):
        os.remove(out)
    result = run("report", "certificate", PROJECT, "-o", out, *UNITS, *extra)
    if result.returncode != 0:
        raise AssertionError(result.stderr)
    return out


class Cells(html.parser.HTMLParser):
    """Text of every th and td, row by row, per table."""

    def __init__(self):
        super().__init__()
        self.tables, self.cell, self.style = [], None, False

    def handle_starttag(self, tag, attrs):
        if tag == "table":
            self.tables.append([])
        elif tag == "tr":
            self.tables[-1].append([])
        elif tag in ("td", "th"):
            self.cell = ""
        elif tag == "br" and self.cell is not None:
            self.cell += "\n"
        elif tag == "style":
            self.style = True

    def handle_endtag(self, tag):
        if tag in ("td", "th"):
            self.tables[-1][-1].append(self.cell)
            self.cell = None
        elif tag == "style":
            self.style = False

    def handle_data(self, data):
        if self.cell is not None:
            self.cell += data


class Certificate(unittest.TestCase):
    def test_csv(self):
        with open(certificate("csv"), "rb") as f:
            data = f.read()
        self.assertIn(b"\r\n", data)
        rows = list(csv.reader(io.StringIO(data.decode("utf-8"), newline="")))
        self.assertEqual(rows[0], ["Commissioning certificate"])
        details = {r[0]: r[1] for r in rows[1:] if len(r) == 2}
        self.assertEqual(details["Client"], "Muster & Söhne <Bau>")
        self.assertEqual(details["Site"], "Lindenstraße 4, Block B")
        self.assertEqual(details["Tolerance"], "-5 % / +10 %")
        self.assertEqual(details["Result"], "FAIL")
        header = rows.index(HEADER + ["Uncertain flow"])
        branches = rows[header + 1:]
        self.assertEqual(len(branches), 6)
        self.assertEqual(branches[2][10], REMARK)
        self.assertEqual(branches[5][1], "Kitchen, north")
        self.assertEqual([float(v) for v in branches[1][3:9]], [1450, 1450, 100, 12, 4.19, 3.5])
        self.assertEqual(branches[3][11], "uncertain")
        self.assertEqual(branches[4][3:10], ["400", "", "", "", "", "", "not measured"])

    def test_html(self):
        with open(certificate("html"), encoding="utf-8") as f:
            text = f.read()
        self.assertIn("@media print", text)
        self.assertNotIn("<Bau>", text)
        parser = Cells()
        parser.feed(text)
        fields = [cell for table in parser.tables for row in table for cell in row]
        self.assertIn("Muster & Söhne <Bau>", fields)
        branches = next(t for t in parser.tables if t and t[0] == HEADER)
        self.assertEqual(len(branches), 7)
        self.assertEqual(branches[2][7], "4.19")
        self.assertEqual(branches[3][10], REMARK)
        self.assertEqual(branches[4][4], "240.0\nuncertain")
        deficiencies = next(t for t in parser.tables if t and t[0] == ["Branch", "Status", "Remark"])
        self.assertEqual([r[0] for r in deficiencies[1:]], ["3 Flat 3", "4 Flat 4", "5 Flat 5"])
        self.assertEqual(deficiencies[3][2], "No access to the flat")

    def test_xlsx(self):
        import openpyxl
        sheet = openpyxl.load_workbook(certificate("xlsx")).active
        rows = [[c.value for c in row] for row in sheet.iter_rows()]
        header = next(i for i, r in enumerate(rows) if r[0] == "#")
        self.assertEqual(rows[header][:12], HEADER + ["Uncertain flow"])
        self.assertEqual(sheet.freeze_panes, "A%d" % (header + 2))
        flat2 = list(sheet.iter_rows(min_row=header + 3, max_row=header + 3))[0]
        self.assertEqual([c.data_type for c in flat2[3:9]], ["n"] * 6)
        self.assertEqual([c.value for c in flat2[3:9]], [1450, 1450, 100, 12, 4.19, 3.5])
        self.assertEqual(rows[header + 3][10], REMARK)
        self.assertEqual(rows[0][0], "Commissioning certificate")
        self.assertIn(["Client", "Muster & Söhne <Bau>"], [r[:2] for r in rows])

    def test_pdf(self):
        out = certificate("pdf", "--tolerance=-25,+25")
        text = subprocess.run(["pdftotext", "-layout", out, "-"], capture_output=True, text=True,
                              check=True).stdout
        # The PDF's fonts join "fi" into one glyph.
        text = unicodedata.normalize("NFKC", text)
        for piece in ("Commissioning certificate", "Muster & Söhne <Bau>", "\u00b125 %", "4.19",
                      "Result: INCOMPLETE", "No access to the flat", "Signature:", "Jana Nováková"):
            self.assertIn(piece, text)

    def test_refusals(self):
        result = run("report", "certificate", PROJECT, "-o", os.path.join(WORK, "certificate.txt"))
        self.assertEqual(result.returncode, 2)
        self.assertIn(".pdf, .html, .csv or .xlsx", result.stderr)
        damaged = os.path.join(WORK, "damaged.proj")
        shutil.copy(PROJECT, damaged)
        with open(os.path.join(WORK, "damaged.commissioning.json"), "w") as f:
            f.write('{"format": "zrv10-commissioning", "version": 1, "client": ')
        out = os.path.join(WORK, "damaged.csv")
        result = run("report", "certificate", damaged, "-o", out)
        self.assertEqual(result.returncode, 1)
        self.assertIn("damaged.commissioning.json", result.stderr)
        self.assertFalse(os.path.exists(out))


if __name__ == "__main__":
    os.makedirs(WORK, exist_ok=True)
    unittest.main(argv=sys.argv[:1], verbosity=2)
