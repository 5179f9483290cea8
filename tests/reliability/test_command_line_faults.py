"""The command line where its files work against it: targets that are no regular
files, names that lead to the same file, a full disk, names no reader could read,
a line wide enough to exhaust memory, an interrupted run and the leftovers of
killed ones. Each row says what is kept."""

import errno
import fcntl
import os
import random
import resource
import signal
import socket
import stat
import sys
import time
import unittest

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path[:0] = [os.path.join(HERE, "..", "interop"), os.path.join(HERE, "..", "support")]
import program_folder  # noqa: E402
import xls_interop  # noqa: E402

xls_interop.use_python_with("xlrd")
import openpyxl  # noqa: E402
import xlrd  # noqa: E402

DAY = 24 * 60 * 60


def records(count):
    return ("Name,Total\n" + "".join("Person %d,%d\n" % (i, i * 10) for i in range(1, count + 1))).encode()


def limited(resource_kind, size):
    def apply():
        if resource_kind == resource.RLIMIT_FSIZE:
            signal.signal(signal.SIGXFSZ, signal.SIG_IGN)  # writes past the limit fail as on a full disk
        resource.setrlimit(resource_kind, (size, size))
    return apply


class CommandLineFaults(program_folder.ProgramFolderTest):
    def setUp(self):
        super().setUp()
        self.list = self.write("list.csv", records(3))

    def read(self, name):
        with open(self.path(name), "rb") as f:
            return f.read()

    def entries(self, folder):
        return sorted(os.listdir(self.path(folder)))

    def run_percent(self, *args, **options):
        """The exit status and standard error of a run at 10 %."""
        result = self.run_program("--percent", "10", *args, **options)
        return result.returncode, result.stderr.decode()

    def test_targets_that_are_no_regular_files_are_refused_and_left_alone(self):
        os.mkfifo(self.path("out/fifo"))
        server = socket.socket(socket.AF_UNIX)
        self.addCleanup(server.close)
        server.bind(self.path("out/socket"))
        os.symlink("fifo", self.path("out/link"))
        rows = [("a FIFO", "fifo", "it is a named pipe, not a file"),
                ("a socket", "socket", "it is a socket, not a file"),
                ("a link to a FIFO", "link", "it leads to a named pipe, not a file")]
        try:
            os.mknod(self.path("out/null"), 0o666 | stat.S_IFCHR, os.makedev(1, 3))
            rows.append(("a device node", "null", "it is a device, not a file"))
        except PermissionError:
            pass  # only the superuser makes device nodes
        def nodes():  # what each entry is, reading it aside
            return {n: (s.st_mode, s.st_ino, s.st_rdev, s.st_mtime_ns)
                    for n, s in ((n, os.lstat(self.path("out/" + n))) for n in self.entries("out"))}
        before = nodes()
        for what, name, message in rows:
            for option in ("--output", "--pdf", "--picture"):
                status, err = self.run_percent("--records", self.list, option, self.path("out/" + name))
                self.assertEqual((status, err), (1, "quenvale: Cannot write %s: %s.\n" % (self.path("out/" + name), message)),
                                 what)
                # Kept: every node as it was, and nothing beside them.
                self.assertEqual(nodes(), before, what)
                self.assertEqual(self.entries("temp"), [], what)

    def test_names_of_one_file_are_refused_before_anything_is_written(self):
        self.write("real.xls", b"the user's workbook")
        os.symlink("list.csv", self.path("link.xls"))
        os.symlink("real.xls", self.path("alias.pdf"))
        os.makedirs(self.path("sub"))
        os.symlink("..", self.path("sub/up"))
        rows = [("an output linked to the records", ["--records", self.list, "--output", self.path("link.xls")],
                 "The options --records and --output name the same file."),
                ("a PDF linked to the workbook", ["--records", self.list, "--output", self.path("real.xls"),
                                                  "--pdf", self.path("alias.pdf")],
                 "The options --output and --pdf name the same file."),
                ("one new file through a folder link", ["--records", self.list, "--output", self.path("sub/up/new.xls"),
                                                        "--picture", self.path("new.xls")],
                 "The options --output and --picture name the same file."),
                ("the settings store", ["--records", self.list, "--pdf", self.path("config/Harrowden/Harrowden.json")],
                 "The option --pdf names the settings store")]
        os.makedirs(self.path("config/Harrowden"))
        self.write("config/Harrowden/Harrowden.json", b"{}")
        for what, args, message in rows:
            status, err = self.run_percent(*args)
            self.assertEqual(status, 2, what)
            self.assertTrue(err.startswith("quenvale: " + message), what + ": " + err)
            # Kept: the records, the workbook and the store; nothing new anywhere.
            self.assertEqual(self.read("list.csv"), records(3), what)
            self.assertEqual(self.read("real.xls"), b"the user's workbook", what)
            self.assertEqual(self.read("config/Harrowden/Harrowden.json"), b"{}", what)
            self.assertEqual(sorted(os.listdir(self.folder)),
                             ["alias.pdf", "config", "link.xls", "list.csv", "out", "real.xls", "sub", "temp"], what)

    def test_a_full_disk_keeps_every_old_file_and_says_what_was_written(self):
        hundred = self.write("hundred.csv", records(100))
        xls, pdf, png = self.path("out/a.xls"), self.path("out/b.pdf"), self.path("out/c.png")
        too_large = os.strerror(errno.EFBIG)
        # 100 records: the .xls takes 14 KB, the PDF 36 KB, the picture 270 KB; files stop at 20 KB.
        rows = [("the PDF alone", ["--pdf", pdf], [], "Cannot write %s: %s." % (pdf, too_large)),
                ("the picture alone", ["--picture", png], [], "Cannot write %s: %s." % (png, too_large)),
                ("the PDF after the workbook", ["--output", xls, "--pdf", pdf, "--picture", png], [xls],
                 "Cannot write %s: %s. Written: %s. Not written: %s, %s." % (pdf, too_large, xls, pdf, png)),
                ("a missing folder, checked before the run", ["--output", xls, "--pdf", self.path("none/b.pdf")], [],
                 "Cannot write %s: its folder does not exist." % self.path("none/b.pdf"))]
        for what, options, written, message in rows:
            for target in (xls, pdf, png):
                self.write(target, b"an older good file")
            status, err = self.run_percent("--records", hundred, *options,
                                           preexec_fn=limited(resource.RLIMIT_FSIZE, 20000))
            self.assertEqual((status, err), (1, "quenvale: %s\n" % message), what)
            # Kept: every file not written whole, and no part of any.
            for target in (xls, pdf, png):
                self.assertEqual(self.read(target) == b"an older good file", target not in written, what + ": " + target)
            self.assertEqual(self.entries("out"), ["a.xls", "b.pdf", "c.png"], what)
            self.assertEqual(self.entries("temp"), [], what)

    def test_emoji_names_read_back_in_every_reader_and_unwritable_ones_are_refused(self):
        rng = random.Random(24)
        faces = [chr(c) for c in range(0x1F600, 0x1F650)]
        names = ["n%d " % i + "".join(rng.choice(faces) if rng.random() < 0.5 else rng.choice("abcdefgh ")
                                      for _ in range(rng.randint(1, 12))) for i in range(3000)]
        emoji = self.write("emoji.csv", ("Name,Total\n" + "".join('"%s",%d\n' % (n, i) for i, n in enumerate(names)))
                           .encode())
        status, err = self.run_percent("--records", emoji, "--output", self.path("out/e.xls"))
        self.assertEqual((status, err), (0, ""))
        status, err = self.run_percent("--records", emoji, "--output", self.path("out/e.xlsx"))
        self.assertEqual((status, err), (0, ""))
        sheet = xlrd.open_workbook(self.path("out/e.xls")).sheet_by_index(0)
        self.assertEqual([sheet.cell_value(6 + i, 1) for i in range(3000)], names)
        sheet = openpyxl.load_workbook(self.path("out/e.xlsx")).active
        self.assertEqual([sheet.cell(7 + i, 2).value for i in range(3000)], names)

        # (A NUL makes the file no text table at all: the bad-input tests have it.)
        for what, name, place in (("U+FFFE", b"Ann\xef\xbf\xbe", "2:1: the name holds U+FFFE (a noncharacter)"),
                                  ("escape", b"A\x1bnn", "2:1: the name holds U+001B (a control character)")):
            bad = self.write("bad.csv", b"Name,Total\n" + name + b",5\n")
            status, err = self.run_percent("--records", bad, "--output", self.path("out/bad.xlsx"))
            self.assertEqual(status, 1, what)
            self.assertTrue(err.startswith("quenvale: %s:%s at character " % (bad, place)), what + ": " + err)
            self.assertNotIn("bad.xlsx", self.entries("out"), what)

    @unittest.skipIf(os.environ.get("QUENVALE_SANITIZE") == "ON", "the sanitizers reserve more address space than the limit")
    def test_a_wide_line_is_refused_within_a_memory_limit(self):
        wide = self.write("wide.csv", b"Name,Total\nA,1" + b"," * (64 * 1024 * 1024 - 20) + b"\n")
        memory = limited(resource.RLIMIT_AS, 1500 * 1000 * 1024)
        for what, listed, status, message in (
                ("a usual list works under the limit", self.list, 0, ""),
                ("a 64 MiB line of commas is refused at its field one too many", wide, 1,
                 "quenvale: %s:2:257: a line holds at most 256 fields\n" % wide)):
            self.assertEqual(self.run_percent("--records", listed, "--output", self.path("out/w.xls"), preexec_fn=memory),
                             (status, message), what)

    def test_an_interrupted_run_removes_its_parts_and_its_temporary_workbook(self):
        longest = self.write("longest.csv", records(32767))
        for interruption, status in ((signal.SIGINT, 130), (signal.SIGTERM, 143)):
            process = self.start("--percent", "10", "--records", longest, "--output", self.path("out/a.xlsx"), "--pdf",
                                 self.path("out/b.pdf"), "--picture", self.path("out/c.png"))
            # Interrupted while the workbook is being written beside the run's temporary workbook.
            while process.poll() is None and not (any(n.startswith(".a.xlsx.") for n in os.listdir(self.path("out")))
                                                  and os.listdir(self.path("temp"))):
                time.sleep(0.001)
            process.send_signal(interruption)
            process.communicate(timeout=600)
            self.assertEqual(process.returncode, status, interruption)
            # Kept: a file written whole before the signal; every part and the temporary workbook are gone.
            self.assertIn(self.entries("out"), ([], ["a.xlsx"]), interruption)
            self.assertEqual(self.entries("temp"), [], interruption)
            for name in self.entries("out"):
                os.remove(self.path("out/" + name))

    def test_leftovers_older_than_a_day_are_removed_unless_held(self):
        stale = time.time() - DAY - 60
        rows = {  # name: (age, removed)
            "temp/rendle12345678.xls": (stale, True),
            "temp/.rendle12345678.xls.0123abcd.quenvale-part": (stale, True),
            "out/.b.pdf.89abcdef.quenvale-part": (stale, True),
            "temp/rendle87654321.xls": (time.time(), False),  # from today
            "temp/rendle11111111.xls": (stale, False),  # held by a running instance
            "temp/rendle01234567.xls": (stale, False),  # not a name the program draws
            "out/.b.pdf.0123abcd.part": (stale, False),  # another program's part
        }
        for name, (age, _) in rows.items():
            self.write(name, b"left")
            os.utime(self.path(name), (age, age))
        with open(self.path("temp/rendle11111111.xls"), "rb") as held:
            fcntl.flock(held, fcntl.LOCK_SH)
            status, err = self.run_percent("--records", self.list, "--pdf", self.path("out/b.pdf"))
        self.assertEqual((status, err), (0, ""))
        for name, (_, removed) in rows.items():
            self.assertEqual(os.path.exists(self.path(name)), not removed, name)


if __name__ == "__main__":
    unittest.main()
