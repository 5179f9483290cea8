"""A private folder to run the program's command line in: "config" for the
settings store, "temp" for its temporary files and "out" for what it writes, with
no display and no platform chosen, so that the program picks its own."""

import os
import subprocess
import tempfile
import unittest

PROGRAM = os.path.join(os.environ["QUENVALE_BIN_DIR"], "quenvale")


class ProgramFolderTest(unittest.TestCase):
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

    def start(self, *args, **options):
        env = {k: v for k, v in os.environ.items() if k not in ("DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM")}
        env.update(LC_ALL="C.UTF-8", XDG_CONFIG_HOME=self.path("config"), TEMP=self.path("temp"))
        return subprocess.Popen([PROGRAM, *args], env=env, stdout=subprocess.PIPE, stderr=subprocess.PIPE, **options)

    def run_program(self, *args, **options):
        """The exit status, standard output and standard error of a run."""
        process = self.start(*args, **options)
        out, err = process.communicate(timeout=600)
        return subprocess.CompletedProcess(process.args, process.returncode, out, err)
