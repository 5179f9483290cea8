"""The saved commission workbook as python3-xlrd reads it with its formatting:
sheet, merges, palette, fonts, fills, borders, number formats, sizes, print area,
values and texts of every kind."""

import os
import sys
import tempfile
import unittest

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import xls_interop  # noqa: E402

xls_interop.use_python_with("xlrd")
import xlrd  # noqa: E402

PALETTE = {2: (255, 255, 255), 10: (84, 125, 146), 15: (224, 224, 224), 35: (234, 236, 254)}
AUTOMATIC = 0x7FFF
THIN, MEDIUM = 1, 2


def icv(palette_index):
    return palette_index + 7


class CommissionWorkbook:
    def __init__(self, folder, records):
        self.path, self.listing = xls_interop.write_workbook(folder, records)
        self.book = xlrd.open_workbook(self.path, formatting_info=True)
        self.sheet = self.book.sheet_by_index(0)
        self.n = len(self.listing["records"])

    def xf(self, row, col):
        if row < self.sheet.nrows and col < self.sheet.ncols:
            return self.book.xf_list[self.sheet.cell_xf_index(row, col)]
        return self.book.xf_list[self.sheet.colinfo_map[col].xf_index]  # an empty cell takes its column's

    def font(self, row, col):
        return self.book.font_list[self.xf(row, col).font_index]

    def number_format(self, row, col):
        return self.book.format_map[self.xf(row, col).format_key].format_str

    def fill(self, row, col):
        background = self.xf(row, col).background
        return background.pattern_colour_index if background.fill_pattern == 1 else None

    def borders(self, row, col):
        b = self.xf(row, col).border
        return (b.left_line_style, b.top_line_style, b.bottom_line_style, b.right_line_style)


class XlrdReadsTheCommissionWorkbook(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.folder = tempfile.TemporaryDirectory()
        cls.workbooks = [CommissionWorkbook(cls.folder.name, r) for r in ("sample", 3, 40)]

    @classmethod
    def tearDownClass(cls):
        cls.folder.cleanup()

    def test_sheet_merge_and_palette(self):
        for w in self.workbooks:
            self.assertEqual(w.book.sheet_names(), ["Inventory List"])
            self.assertIn((0, 1, 1, 4), w.sheet.merged_cells)  # B1:D1
            self.assertEqual(len(w.sheet.merged_cells), 1)
            for index, rgb in PALETTE.items():
                self.assertEqual(w.book.colour_map[icv(index)], rgb, "palette entry %d" % index)

    def test_fonts_fills_and_colours(self):
        for w in self.workbooks:
            t = w.n + 6  # totals row (0-based)
            expectations = {
                (0, 1): ("Garamond", 24, True, icv(10), icv(2)),
                (2, 1): ("Garamond", 11, False, icv(10), icv(2)),
                (3, 1): ("Century Gothic", 9, False, AUTOMATIC, icv(2)),
                (3, 2): ("Century Gothic", 9, False, AUTOMATIC, icv(35)),
                (3, 3): ("Century Gothic", 9, False, AUTOMATIC, icv(35)),
                (5, 1): ("Garamond", 11, True, icv(2), icv(10)),
                (5, 3): ("Garamond", 11, True, icv(2), icv(10)),
                (6, 1): ("Century Gothic", 9, False, AUTOMATIC, icv(2)),
                (6, 3): ("Century Gothic", 9, False, AUTOMATIC, icv(35)),
                (7, 1): ("Century Gothic", 9, False, AUTOMATIC, icv(15)),
                (7, 2): ("Century Gothic", 9, False, AUTOMATIC, icv(15)),
                (t, 1): ("Garamond", 11, True, icv(2), icv(10)),
                (t, 2): ("Century Gothic", 9, True, AUTOMATIC, icv(35)),
                (1, 5): ("Arial", 10, False, AUTOMATIC, icv(2)),  # an untouched cell of the sheet
            }
            for (row, col), (name, size, bold, colour, fill) in expectations.items():
                font = w.font(row, col)
                where = "%s in %s" % (xlrd.formula.cellname(row, col), os.path.basename(w.path))
                self.assertEqual(font.name, name, where)
                self.assertEqual(font.height, size * 20, where)
                self.assertEqual(bool(font.bold), bold, where)
                self.assertEqual(font.colour_index, colour, where)
                self.assertEqual(w.fill(row, col), fill, where)

    def test_borders_and_number_formats(self):
        for w in self.workbooks:
            last = w.n + 5  # last record row (0-based)
            self.assertEqual(w.borders(3, 1), (THIN, THIN, THIN, THIN))
            self.assertEqual(w.xf(3, 1).border.left_colour_index, icv(15))
            self.assertEqual(w.borders(5, 1), (MEDIUM, MEDIUM, MEDIUM, THIN))
            self.assertEqual(w.borders(5, 3), (THIN, MEDIUM, MEDIUM, MEDIUM))
            self.assertEqual(w.borders(6, 1)[0], MEDIUM)
            self.assertEqual(w.borders(6, 2)[0], THIN)
            self.assertEqual(w.borders(6, 3)[3], MEDIUM)
            self.assertEqual(w.borders(last, 2)[2], MEDIUM)
            self.assertEqual(w.number_format(3, 1), "0.0%")
            for row in (3, 6, last, last + 1):
                for col in (2, 3):
                    self.assertEqual(w.number_format(row, col), "$#,##0.00")

    def test_column_widths_and_row_heights(self):
        widths = {0: 3.71, 1: 28, 2: 28, 3: 28, 4: 8.43, 9: 8.43}
        for w in self.workbooks:
            for col, characters in widths.items():
                stored = w.sheet.colinfo_map[col].width  # 1/256 of a character, padding included
                self.assertAlmostEqual(stored / 256.0 - 5.0 / 7.0, characters, delta=0.005)
            heights = {0: 38.25, 1: 13.5, 2: 15, 3: 16.5, 4: 6.75, 5: 19.5, 6: 15, w.n + 5: 15}
            for row, points in heights.items():
                self.assertEqual(w.sheet.rowinfo_map[row].height, points * 20, "row %d" % (row + 1))
            self.assertEqual(w.sheet.rowinfo_map[w.n + 6].height, 255)  # totals row keeps the default

    def test_print_area_name(self):
        for w in self.workbooks:
            names = [n for n in w.book.name_obj_list if n.name == "Print_Area"]
            self.assertEqual(len(names), 1)
            self.assertEqual(names[0].scope, 0)
            self.assertTrue(names[0].builtin)
            area = names[0].result.value[0]
            self.assertEqual(area.coords, (0, 1, 0, w.n + 7, 0, 9))  # A1:I(N + 7), the totals row included

    def test_values_and_cached_results(self):
        for w in self.workbooks:
            rate, totals, commissions, total, commission = xls_interop.expected_figures(w.listing)
            s = w.sheet
            self.assertEqual(s.cell_value(0, 1), "Sales Commission Calculator")
            self.assertEqual([s.cell_value(5, c) for c in (1, 2, 3)], ["SalePerson", "Total Sales Amount", "Commission"])
            self.assertAlmostEqual(s.cell_value(3, 1), rate, places=12)
            for i, record in enumerate(w.listing["records"]):
                self.assertEqual(s.cell_value(6 + i, 1), record["name"])
                self.assertEqual(s.cell_value(6 + i, 2), totals[i])
                self.assertEqual(s.cell(6 + i, 3).ctype, xlrd.XL_CELL_NUMBER)
                self.assertAlmostEqual(s.cell_value(6 + i, 3), commissions[i], delta=1e-9 * max(1, commissions[i]))
            t = w.n + 6
            self.assertEqual(s.cell_value(t, 1), "Totals")
            for row in (t, 3):
                self.assertAlmostEqual(s.cell_value(row, 2), total, delta=1e-9 * total)
                self.assertAlmostEqual(s.cell_value(row, 3), commission, delta=1e-9 * commission)


class XlrdReadsTextsOfEveryKind(unittest.TestCase):
    def test_names_survive_exactly(self):
        with tempfile.TemporaryDirectory() as folder:
            w = CommissionWorkbook(folder, "texts")
            names = [r["name"] for r in w.listing["records"]]
            self.assertIn(32767, [len(n) for n in names])
            for i, name in enumerate(names):
                self.assertEqual(w.sheet.cell_value(6 + i, 1), name, "record %d" % (i + 1))


if __name__ == "__main__":
    unittest.main()
