"""One record list, written by independent writers in every form the program
imports (CSV with comma, semicolon or tab, UTF-8 with and without a byte order
mark, UTF-16; .xlsx, .xls and .ods saved by LibreOffice from the same CSV; .xlsx
written by openpyxl; a commission workbook of our own as .xls and .xlsx), must
read back as the same list through the reader that the main window's import and
the command line's --records share. The list as Export Records writes it is read
by Python's csv module and read back by the same reader."""

import csv
import json
import os
import shutil
import subprocess
import sys
import tempfile
import unittest

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import xls_interop  # noqa: E402

xls_interop.use_python_with("openpyxl")
import openpyxl  # noqa: E402

HEADER = ["Saleperson", "Total Sales Amount"]
RECORDS = [
    ["Aldo Fennick", "5600"],
    ["Smith, Anna", "12500.5"],
    ['Say "hi"', "1234.56"],
    ["Zoë Ångström", "-20"],
    ["王小明", ""],
    ["John Smith", "8400"],
]
ENV = dict(os.environ, LC_ALL="C.UTF-8", QT_QPA_PLATFORM="offscreen")


def read_records(path, *extra):
    done = subprocess.run([xls_interop.tool("read_records"), path] + list(extra), capture_output=True, timeout=300,
                          env=ENV)
    if done.returncode != 0:
        raise AssertionError("%s: %s" % (os.path.basename(path), done.stderr.decode()))
    listing = json.loads(done.stdout)
    return listing["percentage"], [[r["name"], r["total"]] for r in listing["records"]]


def write_text(path, rows, delimiter, encoding):
    with open(path, "w", encoding=encoding, newline="") as f:
        csv.writer(f, delimiter=delimiter, lineterminator="\r\n").writerows(rows)


def libreoffice_convert(source, folder, suffix):
    """The CSV as LibreOffice saves it as .xlsx, .xls or .ods, its fields read as
    UTF-8 with commas, numbers as numbers."""
    soffice = shutil.which("soffice") or shutil.which("libreoffice")
    profile = os.path.join(folder, "profile")
    subprocess.run([soffice, "-env:UserInstallation=file://" + profile, "--headless", "--norestore",
                    "--infilter=CSV:44,34,76,1,,1033", "--convert-to", suffix, "--outdir", folder, source],
                   check=True, timeout=600, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    return os.path.splitext(source)[0] + "." + suffix


class RecordImport(unittest.TestCase):
    def test_every_form_gives_the_same_list(self):
        with tempfile.TemporaryDirectory() as folder:
            rows = [HEADER] + RECORDS
            base = os.path.join(folder, "base.csv")
            write_text(base, rows, ",", "utf-8")
            inputs = {"comma, UTF-8": base}
            for name, delimiter, encoding in [("semicolon, UTF-8 with a byte order mark", ";", "utf-8-sig"),
                                              ("tab, UTF-16 (LE)", "\t", "utf-16"),
                                              ("tab, UTF-16 (BE)", "\t", "utf-16-be")]:
                path = os.path.join(folder, "input%d.txt" % len(inputs))
                if encoding == "utf-16-be":
                    with open(path, "wb") as f:
                        f.write(b"\xfe\xff")
                    with open(path, "a", encoding=encoding, newline="") as f:
                        csv.writer(f, delimiter=delimiter, lineterminator="\n").writerows(rows)
                else:
                    write_text(path, rows, delimiter, encoding)
                inputs[name] = path
            for suffix in ("xlsx", "xls", "ods"):
                inputs["LibreOffice ." + suffix] = libreoffice_convert(base, folder, suffix)
            book = openpyxl.Workbook()
            book.active.title = "Sales"
            book.create_sheet("Other").append(["not", "this"])
            for name, total in rows[1:]:
                book.active.append([name, float(total) if total else None])
            book.active.insert_rows(1)
            book.active["A1"], book.active["B1"] = HEADER
            inputs["openpyxl .xlsx"] = os.path.join(folder, "openpyxl.xlsx")
            book.save(inputs["openpyxl .xlsx"])

            for name, path in inputs.items():
                with self.subTest(name):
                    self.assertEqual(read_records(path), ("", RECORDS))

            for suffix in ("xls", "xlsx"):
                ours = os.path.join(folder, "ours." + suffix)
                subprocess.run([xls_interop.tool("quenvale"), "--records", base, "--percent", "7.5", "--output", ours],
                               check=True, timeout=600, env=dict(ENV, XDG_CONFIG_HOME=folder, TEMP=folder))
                with self.subTest("commission workbook ." + suffix):
                    self.assertEqual(read_records(ours), ("7.5", RECORDS))

    def test_the_exported_list_reads_back(self):
        with tempfile.TemporaryDirectory() as folder:
            base = os.path.join(folder, "base.csv")
            write_text(base, [HEADER] + RECORDS, ",", "utf-8")
            exported = os.path.join(folder, "exported.csv")
            read_records(base, "--export", exported)
            with open(exported, encoding="utf-8", newline="") as f:
                written = list(csv.reader(f, strict=True))
            self.assertEqual(written, [["Saleperson", "Total Sales Amount ($)", "Commission Amount ($)"]] +
                             [record + [""] for record in RECORDS])
            self.assertEqual(read_records(exported), ("", RECORDS))


if __name__ == "__main__":
    unittest.main()
