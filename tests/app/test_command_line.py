"""The command line as scripts meet it: the real program with no display and no
platform chosen, its exit statuses, help and version, and bad input told in one
line on stderr that names the file, line and column, with nothing written."""

import os
import subprocess
import tempfile
import unittest

PROGRAM = os.path.join(os.environ["QUENVALE_BIN_DIR"], "quenvale")
VERSION = os.environ["QUENVALE_VERSION"]

SAMPLE = b"Name,Total sales,Commission\r\nAldo Fennick,5600,560\r\nJohn Smith,8400,840\r\nZodo Duvevado,11100,1110\r\n"
COMPOUND_FILE = b"\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1"
ZIP = b"PK\x03\x04"


class CommandLineTest(unittest.TestCase):
    def setUp(self):
        folder = tempfile.TemporaryDirectory()
        self.addCleanup(folder.cleanup)
        self.folder = folder.name
        for name in ("config", "temp", "out"):
            os.mkdir(self.path(name))

    def path(self, name):
        return os.path.join(self.folder, name)

    def write(self, name, data):
        with open(self.path(name), "wb") as f:
            f.write(data)
        return self.path(name)

    def run_program(self, *args):
        # No display, and no platform chosen: the program picks its own.
        env = {k: v for k, v in os.environ.items() if k not in ("DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM")}
        env.update(LC_ALL="C.UTF-8", XDG_CONFIG_HOME=self.path("config"), TEMP=self.path("temp"))
        return subprocess.run([PROGRAM, *args], env=env, capture_output=True, timeout=300)

    def assertNothingWritten(self):
        self.assertEqual(os.listdir(self.path("out")), [])
        self.assertEqual(os.listdir(self.path("temp")), [])

    def test_writes_both_formats_without_a_display(self):
        records = self.write("sample.csv", SAMPLE)
        for name, signature in (("sheet.xls", COMPOUND_FILE), ("sheet.xlsx", ZIP)):
            result = self.run_program("--records", records, "--percent", "10", "--output", self.path("out/" + name))
            self.assertEqual((result.returncode, result.stdout, result.stderr), (0, b"", b""), name)
            with open(self.path("out/" + name), "rb") as f:
                self.assertEqual(f.read(len(signature)), signature, name)
        self.assertEqual(os.listdir(self.path("temp")), [])  # the run's temporary files are gone

    def test_help_and_version(self):
        result = self.run_program("--help")
        self.assertEqual((result.returncode, result.stderr), (0, b""))
        for option in (b"--records <list.csv>", b"--percent <percent>", b"--output <file>", b"--version"):
            self.assertIn(option, result.stdout)
        result = self.run_program("--version")
        self.assertEqual((result.returncode, result.stdout, result.stderr), (0, ("quenvale %s\n" % VERSION).encode(), b""))

    def test_usage_errors_exit_2_with_the_usage(self):
        out = self.path("out/sheet.xls")
        cases = {
            "an unknown option": (["--pdf", "sheet.pdf", "--output", out], "Unknown option 'pdf'."),
            "no output": (["--percent", "10"], "Nothing to write: --output names the workbook."),
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
            for name in ("sheet.xls", "sheet.xlsx"):
                result = self.run_program("--records", records, "--percent", "10", "--output", self.path("out/" + name))
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
