"""The command line as scripts meet it: the real program with no display and no
platform chosen, the workbook, its print as PDF (read by poppler's pdfinfo and
pdftotext) and its picture, its exit statuses, help and version, and bad input
told in one line on stderr that names the file, line and column, with nothing
written."""

import os
import subprocess
import sys
import tempfile
import time
import unittest

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "support"))
import program_folder  # noqa: E402

VERSION = os.environ["QUENVALE_VERSION"]

SAMPLE = b"Name,Total sales,Commission\r\nAldo Fennick,5600,560\r\nJohn Smith,8400,840\r\nZodo Duvevado,11100,1110\r\n"
COMPOUND_FILE = b"\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1"
ZIP = b"PK\x03\x04"


class CommandLineTest(program_folder.ProgramFolderTest):
    def assertNothingWritten(self):
        self.assertEqual(os.listdir(self.path("out")), [])
        self.assertEqual(os.listdir(self.path("temp")), [])

    def test_one_main_window_per_user_and_the_command_line_beside_it(self):
        env = {k: v for k, v in os.environ.items() if k not in ("DISPLAY", "WAYLAND_DISPLAY")}
        env.update(QT_QPA_PLATFORM="offscreen", LC_ALL="C.UTF-8", XDG_CONFIG_HOME=self.path("config"),
                   TEMP=self.path("temp"))
        first = subprocess.Popen([program_folder.PROGRAM], env=env, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        self.addCleanup(first.wait)
        self.addCleanup(first.kill)
        lock = self.path("config/Harrowden/Quenvale.lock")
        for _ in range(600):
            if os.path.exists(lock):
                break
            time.sleep(0.05)
        self.assertTrue(os.path.exists(lock))
        # A second start asks the first to come to the front, and ends.
        second = subprocess.run([program_folder.PROGRAM], env=env, capture_output=True, timeout=60)
        self.assertEqual(second.returncode, 0, second.stderr)
        self.assertIsNone(first.poll())
        # The command line runs beside the windows.
        records = self.write("sample.csv", SAMPLE)
        result = self.run_program("--records", records, "--percent", "10", "--output", self.path("out/sheet.xls"))
        self.assertEqual((result.returncode, result.stderr), (0, b""))
        self.assertIsNone(first.poll())

    def test_writes_both_formats_without_a_display(self):
        records = self.write("sample.csv", SAMPLE)
        for name, signature in (("sheet.xls", COMPOUND_FILE), ("sheet.xlsx", ZIP)):
            result = self.run_program("--records", records, "--percent", "10", "--output", self.path("out/" + name))
            self.assertEqual((result.returncode, result.stdout, result.stderr), (0, b"", b""), name)
            with open(self.path("out/" + name), "rb") as f:
                self.assertEqual(f.read(len(signature)), signature, name)
        self.assertEqual(os.listdir(self.path("temp")), [])  # the run's temporary files are gone

    def pdf_info(self, path):
        info = subprocess.run(["pdfinfo", path], capture_output=True, check=True).stdout.decode()
        return dict(line.split(":", 1) for line in info.splitlines() if ":" in line)

    def test_pdf_and_picture_without_a_display(self):
        records = self.write("sample.csv", SAMPLE)
        pdf, png = self.path("out/sheet.pdf"), self.path("out/sheet.png")
        result = self.run_program("--records", records, "--percent", "10", "--pdf", pdf, "--picture", png)
        self.assertEqual((result.returncode, result.stdout, result.stderr), (0, b"", b""))
        self.assertEqual(sorted(os.listdir(self.path("out"))), ["sheet.pdf", "sheet.png"])
        self.assertEqual(os.listdir(self.path("temp")), [])

        info = self.pdf_info(pdf)
        self.assertEqual(info["Pages"].strip(), "1")
        self.assertEqual(info["Page size"].strip(), "842 x 595 pts (A4)")  # landscape
        text = " ".join(subprocess.run(["pdftotext", pdf, "-"], capture_output=True, check=True).stdout.decode().split())
        for shown in ("Sales Commission Calculator", "Aldo Fennick", "John Smith", "Zodo Duvevado", "$5,600.00",
                      "$11,100.00", "Totals", "$25,100.00", "$2,510.00"):
            self.assertIn(shown, text)
        # The print lies within the sheet's margins: 0.7" at the sides, 0.5" at top and bottom.
        bbox = subprocess.run(["pdftotext", "-bbox", pdf, "-"], capture_output=True, check=True).stdout.decode()
        words = [tuple(float(w.split('"')[i]) for i in (1, 3, 5, 7)) for w in bbox.split("<word ")[1:]]
        self.assertGreater(len(words), 10)
        self.assertGreaterEqual(min(w[0] for w in words), 50.4)
        self.assertGreaterEqual(min(w[1] for w in words), 36)
        self.assertLessEqual(max(w[2] for w in words), 842 - 50.4)
        self.assertLessEqual(max(w[3] for w in words), 595 - 36)

        with open(png, "rb") as f:
            header = f.read(24)
        self.assertEqual(header[:8], b"\x89PNG\r\n\x1a\n")
        # The preview's picture at 100 %: three columns of 201 pixels; the title, labels, percentage, gap,
        # headings, three records and totals.
        size = (int.from_bytes(header[16:20], "big"), int.from_bytes(header[20:24], "big"))
        self.assertEqual(size, (3 * 201, 51 + 18 + 20 + 22 + 9 + 26 + 3 * 20 + 17))

    def test_a_long_list_prints_on_pages_at_the_smallest_scale(self):
        records = self.write("long.csv", b"".join(b"Person %d,%d\n" % (i, i * 10) for i in range(1, 5001)))
        pdf = self.path("out/long.pdf")
        result = self.run_program("--records", records, "--percent", "10", "--pdf", pdf)
        self.assertEqual((result.returncode, result.stderr), (0, b""))
        # 5,000 rows of 15 points at 10 % on pages 523 points high: about 15 pages.
        pages = int(self.pdf_info(pdf)["Pages"])
        self.assertGreaterEqual(pages, 14)
        self.assertLessEqual(pages, 16)
        text = subprocess.run(["pdftotext", "-f", str(pages), "-l", str(pages), pdf, "-"], capture_output=True,
                              check=True).stdout.decode()
        self.assertIn("Person 5000", text)
        self.assertIn("Totals", text)

    def test_help_and_version(self):
        result = self.run_program("--help")
        self.assertEqual((result.returncode, result.stderr), (0, b""))
        for option in (b"--records <list>", b"--percent <percent>", b"--output <file>", b"--pdf <file>",
                       b"--picture <file>", b"--version"):
            self.assertIn(option, result.stdout)
        result = self.run_program("--version")
        self.assertEqual((result.returncode, result.stdout, result.stderr), (0, ("quenvale %s\n" % VERSION).encode(), b""))

    def test_usage_errors_exit_2_with_the_usage(self):
        out = self.path("out/sheet.xls")
        cases = {
            "an unknown option": (["--print", "--output", out], "Unknown option 'print'."),
            "no output": (["--percent", "10"], "Nothing to write: give --output, --pdf or --picture."),
            "two outputs in one file": (["--output", out, "--pdf", out],
                                        "The options --output and --pdf name the same file."),
            "an output over the records": (["--records", out, "--picture", out],
                                           "The options --records and --picture name the same file."),
            "a stray argument": (["list.csv", "--output", out], "Unexpected argument 'list.csv'."),
            "an option without its value": (["--output"], "Missing value after '--output'."),
            "an option twice": (["--output", out, "--output", out], "The option --output is given more than once."),
            "an empty file name": (["--records", "", "--output", out], "The option --records names no file."),
            "a percentage that is no number": (["--percent", "ten", "--output", out],
                                               '--percent: "ten" is not a number'),
        }
        for what, (args, message) in cases.items():
            result = self.run_program(*args)
            self.assertEqual(result.returncode, 2, what)
            self.assertEqual(result.stdout, b"", what)
            err = result.stderr.decode()
            self.assertTrue(err.startswith("quenvale: " + message), what + ": " + err)
            self.assertIn("\nUsage: ", err, what)
            self.assertNothingWritten()

    def test_bad_records_name_the_place_and_write_nothing(self):
        many = b"".join(b"P%d,1\n" % i for i in range(32768))
        cases = {
            "a bad number": (b"Name,Total\nAnn,12x\n", 2, 2, '"12x" is not a number'),
            "a missing column": (b"Ann,1\nBob\n", 2, 2, "the total sales amount is missing"),
            "a list over 32,767 records": (many, 32768, 1, "the list holds at most 32,767 records"),
            "a name holding the list's separators": (b"Ann,1\nB||SEP2||ob,2\n", 2, 1, 'a name may not contain "||SEP1||"'),
            "invalid UTF-8": (b"Ann,1\nB\xFFob,2\n", 2, 1, "the text is not valid UTF-8"),
            "an unterminated quote": (b'Ann,1\n"Bob,2\nCy,3\n', 2, 1, "the quoted field opened here has no closing quote"),
        }
        for what, (data, line, column, message) in cases.items():
            records = self.write("list.csv", data)
            for option, name in (("--output", "sheet.xls"), ("--output", "sheet.xlsx"), ("--pdf", "sheet.pdf"),
                                 ("--picture", "sheet.png")):
                result = self.run_program("--records", records, "--percent", "10", option, self.path("out/" + name))
                self.assertEqual(result.returncode, 1, what)
                err = result.stderr.decode()
                self.assertEqual(err.count("\n"), 1, what + ": " + err)  # one line
                self.assertTrue(err.startswith("quenvale: %s:%d:%d: %s" % (records, line, column, message)), what + ": " + err)
                self.assertNothingWritten()

        result = self.run_program("--records", self.path("missing.csv"), "--output", self.path("out/sheet.xls"))
        self.assertEqual(result.returncode, 1)
        self.assertEqual(result.stderr.decode(), "quenvale: %s: No such file or directory\n" % self.path("missing.csv"))
        self.assertNothingWritten()


if __name__ == "__main__":
    unittest.main()
