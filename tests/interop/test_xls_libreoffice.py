"""The saved commission workbook as LibreOffice opens it headless: it recalculates
on loading, so the values it shows must equal the results we cached; with stale
cached results it must still show the right ones; texts of every kind come through;
and the number formats show amounts and the percentage as the layout asks."""

import os
import sys
import tempfile
import unittest

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import xls_interop  # noqa: E402


def number(text):
    text = text.strip()
    if text.endswith("%"):
        return float(text[:-1]) / 100.0
    return float(text)


def money(value):
    return "${:,.2f}".format(value)


class LibreOfficeOpensTheCommissionWorkbook(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.folder = tempfile.TemporaryDirectory()
        cls.books = {}
        for records, options in (("sample", ()), (3, ()), (40, ()), (40, ("--stale-results",)), ("texts", ())):
            path, listing = xls_interop.write_workbook(cls.folder.name, records, *options)
            cls.books[(records, options)] = (path, listing)
        paths = [p for p, _ in cls.books.values()]
        cls.raw = xls_interop.libreoffice_csv(paths, as_shown=False)
        cls.shown = xls_interop.libreoffice_csv(paths, as_shown=True)

    @classmethod
    def tearDownClass(cls):
        cls.folder.cleanup()

    def check_values(self, key):
        path, listing = self.books[key]
        rows = self.raw[path]
        rate, totals, commissions, total, commission = xls_interop.expected_figures(listing)
        n = len(totals)
        self.assertEqual(rows[0][1], "Sales Commission Calculator")
        self.assertAlmostEqual(number(rows[3][1]), rate, places=12)
        for i in range(n):
            self.assertEqual(number(rows[6 + i][2]), totals[i])
            self.assertAlmostEqual(number(rows[6 + i][3]), commissions[i], delta=1e-9 * max(1, commissions[i]))
        self.assertEqual(rows[n + 6][1], "Totals")
        for row in (n + 6, 3):
            self.assertAlmostEqual(number(rows[row][2]), total, delta=1e-9 * total)
            self.assertAlmostEqual(number(rows[row][3]), commission, delta=1e-9 * commission)

    def test_recalculated_values_equal_the_cached_ones(self):
        for key in (("sample", ()), (3, ()), (40, ())):
            with self.subTest(records=key[0]):
                self.check_values(key)

    def test_stale_cached_results_are_recalculated(self):
        # Every formula's cached result in this file is -1: the right values can
        # only come from LibreOffice's own recalculation of our formulas.
        self.check_values((40, ("--stale-results",)))

    def test_number_formats_show_as_laid_out(self):
        path, listing = self.books[("sample", ())]
        rows = self.shown[path]
        self.assertEqual(rows[3][1:4], ["10.0%", "$25,100.00", "$2,510.00"])
        self.assertEqual(rows[6][1:4], ["Aldo Fennick", "$5,600.00", "$560.00"])
        self.assertEqual(rows[8][1:4], ["Zodo Duvevado", "$11,100.00", "$1,110.00"])
        self.assertEqual(rows[9][1:4], ["Totals", "$25,100.00", "$2,510.00"])
        path, listing = self.books[(40, ())]
        rate, totals, commissions, total, commission = xls_interop.expected_figures(listing)
        self.assertEqual(self.shown[path][6][2], money(totals[0]))
        self.assertEqual(self.shown[path][46][3], money(commission))

    def test_texts_of_every_kind_come_through(self):
        path, listing = self.books[("texts", ())]
        rows = self.raw[path]
        for i, record in enumerate(listing["records"]):
            self.assertEqual(rows[6 + i][1], record["name"], "record %d" % (i + 1))


if __name__ == "__main__":
    unittest.main()
