"""Our .xlsx as independent readers see it, against our .xls as xlrd reads it:
openpyxl reading the .xlsx directly (cached results included), and LibreOffice
reading it (converted back to .xls for xlrd, and to CSV as its cells show). Both
workbooks are written by the command line from the same CSV: values, fonts,
fills, borders, number formats, alignment, merges, widths, heights, print area,
page setup, and the selection each opens with (for the .xls, as LibreOffice
saves it as .xlsx)."""

import csv
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
import xlrd  # noqa: E402

BLACK = (0, 0, 0)  # what an automatic colour shows; LibreOffice writes it out as black
LINE_STYLES = {0: None, 1: "thin", 2: "medium", 5: "thick"}
HORIZONTAL = {0: "general", 1: "left", 2: "center", 3: "right"}
VERTICAL = {0: "top", 1: "center", 2: "bottom"}
COLUMNS = 10  # A to J: the sheet's margin, its three columns and the six it sizes beyond


def write_both(folder, records):
    """The records of the workbook tool as a CSV with a header, written by the
    command line as .xls and as .xlsx; returns both paths and the records."""
    _, listing = xls_interop.write_workbook(folder, records)
    base = os.path.join(folder, "cli_%s" % records)
    with open(base + ".csv", "w", encoding="utf-8", newline="") as f:
        writer = csv.writer(f, lineterminator="\r\n")
        writer.writerow(["Name", "Total sales"])
        writer.writerows([r["name"], r["total"]] for r in listing["records"])
    env = {k: v for k, v in os.environ.items() if k not in ("DISPLAY", "WAYLAND_DISPLAY")}
    env.update(LC_ALL="C.UTF-8", XDG_CONFIG_HOME=os.path.join(folder, "config"), TEMP=folder)
    for suffix in (".xls", ".xlsx"):
        subprocess.run([xls_interop.tool("quenvale"), "--records", base + ".csv", "--percent", listing["percentage"],
                        "--output", base + suffix], check=True, timeout=600, env=env)
    return base + ".xls", base + ".xlsx", listing


def libreoffice_convert(paths, folder, suffix):
    """The workbooks as LibreOffice saves them in the format of `suffix` ("xls",
    "xlsx"): {path: converted path}."""
    soffice = shutil.which("soffice") or shutil.which("libreoffice")
    out = os.path.join(folder, "lo-" + suffix)
    subprocess.run([soffice, "-env:UserInstallation=file://" + os.path.join(folder, "profile"), "--headless",
                    "--norestore", "--convert-to", suffix, "--outdir", out] + paths,
                   check=True, timeout=600, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    return {p: os.path.join(out, os.path.splitext(os.path.basename(p))[0] + "." + suffix) for p in paths}


class XlrdSheet:
    """A sheet through xlrd, every look as a plain tuple."""

    def __init__(self, path):
        self.path = path
        self.book = xlrd.open_workbook(path, formatting_info=True)
        self.sheet = self.book.sheet_by_index(0)

    def colour(self, index):
        return self.book.colour_map.get(index) or BLACK

    def look(self, row, col):
        s = self.sheet
        index = s.cell_xf_index(row, col) if row < s.nrows and col < s.ncols else s.colinfo_map[col].xf_index
        xf = self.book.xf_list[index]
        font = self.book.font_list[xf.font_index]
        b = xf.border
        sides = ((b.left_line_style, b.left_colour_index), (b.top_line_style, b.top_colour_index),
                 (b.bottom_line_style, b.bottom_colour_index), (b.right_line_style, b.right_colour_index))
        return ((font.name, font.height / 20, font.weight >= 700, self.colour(font.colour_index)),
                self.colour(xf.background.pattern_colour_index) if xf.background.fill_pattern == 1 else None,
                tuple((LINE_STYLES[style], self.colour(colour) if style else None) for style, colour in sides),
                self.book.format_map[xf.format_key].format_str.replace("\\", ""),  # LibreOffice escapes "$"
                (HORIZONTAL[xf.alignment.hor_align], VERTICAL[xf.alignment.vert_align], bool(xf.alignment.text_wrapped)))

    def value(self, row, col):
        return self.sheet.cell_value(row, col) if row < self.sheet.nrows and col < self.sheet.ncols else ""

    def width(self, col):
        return self.sheet.colinfo_map[col].width / 256.0

    def height(self, row):
        info = self.sheet.rowinfo_map.get(row)
        return info.height / 20.0 if info else 12.75

    def print_area(self):
        [name] = [n for n in self.book.name_obj_list if n.name == "Print_Area"]
        return name.result.value[0].coords


def rgb(color):
    if color is None or color.type != "rgb":
        return None  # automatic, or the theme's text colour
    return tuple(int(color.rgb[i:i + 2], 16) for i in (2, 4, 6))


class OpenpyxlSheet:
    def __init__(self, path):
        self.path = path
        self.sheet = openpyxl.load_workbook(path, data_only=True).active
        self.formulas = openpyxl.load_workbook(path).active

    def column(self, col):
        [dimension] = [d for d in self.sheet.column_dimensions.values() if d.min <= col + 1 <= d.max]
        return dimension

    def look(self, row, col):
        cell = self.sheet.cell(row + 1, col + 1)
        styled = cell if cell.has_style else self.column(col)  # an empty cell shows its column's format
        f, b, a = styled.font, styled.border, styled.alignment
        return ((f.name, f.sz, bool(f.b), rgb(f.color) or BLACK),
                rgb(styled.fill.fgColor) if styled.fill.patternType == "solid" else None,
                tuple((side.style, (rgb(side.color) or BLACK) if side.style else None)
                      for side in (b.left, b.top, b.bottom, b.right)),
                styled.number_format,
                (a.horizontal or "general", a.vertical or "bottom", bool(a.wrap_text)))

    def value(self, row, col):
        value = self.sheet.cell(row + 1, col + 1).value
        return "" if value is None else value

    def width(self, col):
        return self.column(col).width

    def height(self, row):
        return self.sheet.row_dimensions[row + 1].height or self.sheet.sheet_format.defaultRowHeight


class XlsxReadersSeeOurXls(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.folder = tempfile.TemporaryDirectory()
        cls.workbooks = [write_both(cls.folder.name, records) for records in ("sample", 40, "texts")]
        # LibreOffice's .xls export names a font of its own for text in other
        # scripts, so the workbook of every kind of text is left to openpyxl and
        # to the cells as LibreOffice shows them.
        cls.latin = cls.workbooks[:2]
        cls.converted = libreoffice_convert([w[1] for w in cls.latin], cls.folder.name, "xls")
        # openpyxl reads no .xls: the selection our .xls stores is read from
        # LibreOffice's .xlsx of it.
        cls.xls_as_xlsx = libreoffice_convert([w[0] for w in cls.workbooks], cls.folder.name, "xlsx")
        cls.shown = xls_interop.libreoffice_csv([p for w in cls.workbooks for p in w[:2]], as_shown=True)

    @classmethod
    def tearDownClass(cls):
        cls.folder.cleanup()

    def assertSameValue(self, ours, theirs, where):
        if isinstance(ours, float) and isinstance(theirs, (int, float)):
            self.assertAlmostEqual(theirs, ours, delta=1e-9 * max(1.0, abs(ours)), msg=where)
        else:
            self.assertEqual(theirs, ours, where)

    def compare(self, ours, theirs, last_row, skip=()):
        for row in range(last_row + 1):
            self.assertAlmostEqual(theirs.height(row), ours.height(row), delta=0.01, msg="height of row %d" % (row + 1))
            for col in range(COLUMNS):
                where = "%s in %s" % (xlrd.formula.cellname(row, col), os.path.basename(theirs.path))
                if (row, col) in skip:
                    continue
                self.assertSameValue(ours.value(row, col), theirs.value(row, col), where)
                self.assertEqual(theirs.look(row, col), ours.look(row, col), where)
        for col in range(COLUMNS):
            self.assertAlmostEqual(theirs.width(col), ours.width(col), delta=0.005, msg="width of column %d" % col)

    def test_openpyxl_reads_what_xlrd_reads_from_our_xls(self):
        for xls, xlsx, listing in self.workbooks:
            ours, theirs = XlrdSheet(xls), OpenpyxlSheet(xlsx)
            n = len(listing["records"])
            t = n + 6  # the totals row, 0-based
            # openpyxl keeps no format for the cells a merged area covers (LibreOffice's check has them).
            self.compare(ours, theirs, t, skip={(0, 2), (0, 3)})
            self.assertEqual([str(r) for r in theirs.sheet.merged_cells.ranges], ["B1:D1"])
            self.assertEqual(ours.sheet.merged_cells, [(0, 1, 1, 4)])
            self.assertIn("$A$1:$I$%d" % (t + 1), str(theirs.sheet.print_area))
            self.assertEqual(ours.print_area(), (0, 1, 0, t + 1, 0, 9))
            formulas = theirs.formulas
            self.assertEqual(formulas["D7"].value, "=C7*B4")
            self.assertEqual(formulas.cell(t + 1, 3).value, "=SUM(C7:C%d)" % t)
            self.assertEqual(formulas["C4"].value, "=C%d" % (t + 1))
            page = theirs.sheet.page_setup
            self.assertEqual((page.orientation, int(page.paperSize)), ("landscape", 9))
            self.assertTrue(theirs.sheet.sheet_properties.pageSetUpPr.fitToPage)
            self.assertIn(page.fitToWidth, (None, 1))  # one page is the format's default
            self.assertIn(page.fitToHeight, (None, 1))
            m = theirs.sheet.page_margins
            self.assertEqual((m.left, m.right, m.top, m.bottom, m.header, m.footer), (0.7, 0.7, 0.5, 0.5, 0, 0))

    def test_libreoffice_reads_what_xlrd_reads_from_our_xls(self):
        for xls, xlsx, listing in self.latin:
            ours, theirs = XlrdSheet(xls), XlrdSheet(self.converted[xlsx])
            t = len(listing["records"]) + 6
            self.compare(ours, theirs, t)
            self.assertEqual(theirs.sheet.merged_cells, [(0, 1, 1, 4)])
            self.assertEqual(theirs.print_area(), ours.print_area())

    def test_both_workbooks_open_where_the_layout_left_them(self):
        for xls, xlsx, listing in self.workbooks:
            for path in (xlsx, self.xls_as_xlsx[xls]):
                with self.subTest(workbook=os.path.basename(path)):
                    book = openpyxl.load_workbook(path)
                    self.assertEqual(book.active.title, "Inventory List")
                    selection = book.active.sheet_view.selection[0]
                    self.assertEqual((selection.activeCell, str(selection.sqref)), ("B1", "B1"))

    def test_libreoffice_shows_the_same_cells(self):
        for xls, xlsx, listing in self.workbooks:
            self.assertEqual(self.shown[xlsx], self.shown[xls])
            self.assertEqual(len(self.shown[xlsx]), len(listing["records"]) + 7)


if __name__ == "__main__":
    unittest.main()
