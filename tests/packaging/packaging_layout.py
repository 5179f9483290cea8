"""What an installation of Quenvale holds, shared by the install and package checks."""
import os
import struct
import subprocess
import tempfile
import unittest

BUILD_DIR = os.environ.get("QUENVALE_BUILD_DIR", "")
SOURCE_DIR = os.environ.get("QUENVALE_SOURCE_DIR", "")
PROJECT_VERSION = os.environ.get("QUENVALE_VERSION", "")

APP_ID = "example.quenvale.Quenvale"
ICON_SIZES = (16, 24, 32, 48, 64, 128, 256)

# Every file an installation puts below its prefix, and nothing else.
INSTALLED_FILES = sorted(
    [
        "bin/quenvale",
        "share/quenvale/x/o.cjs",
        f"share/applications/{APP_ID}.desktop",
        f"share/metainfo/{APP_ID}.metainfo.xml",
        "share/man/man1/quenvale.1.gz",
        "share/icons/hicolor/scalable/apps/quenvale.svg",
    ]
    + [f"share/icons/hicolor/{s}x{s}/apps/quenvale.png" for s in ICON_SIZES]
)


class InstalledBuildTest(unittest.TestCase):
    """Checks on what the build folder installs. The class gets one scratch folder,
    which prepare() fills once before its tests run."""

    @classmethod
    def setUpClass(cls):
        cls.scratch = tempfile.TemporaryDirectory(prefix="quenvale-packaging-")
        if cls.build_known():
            cls.prepare()

    @classmethod
    def tearDownClass(cls):
        cls.scratch.cleanup()

    @classmethod
    def prepare(cls):
        pass

    @staticmethod
    def build_known() -> bool:
        return bool(BUILD_DIR and SOURCE_DIR and PROJECT_VERSION)

    def setUp(self):
        if not self.build_known():
            self.skipTest("QUENVALE_BUILD_DIR, QUENVALE_SOURCE_DIR and QUENVALE_VERSION are set by ctest")


def files_below(root: str) -> list[str]:
    """Every file and link below root, as paths relative to it."""
    found = []
    for folder, _, names in os.walk(root):
        found += [os.path.relpath(os.path.join(folder, n), root) for n in names]
    return sorted(found)


def png_size(path: str) -> tuple[int, int]:
    with open(path, "rb") as f:
        header = f.read(24)
    if header[:8] != b"\x89PNG\r\n\x1a\n" or header[12:16] != b"IHDR":
        raise ValueError(f"{path} is not a PNG file")
    return struct.unpack(">II", header[16:24])


def run(args: list[str], **kwargs) -> subprocess.CompletedProcess:
    return subprocess.run(args, capture_output=True, text=True, timeout=300, **kwargs)


def run_checked(args: list[str], **kwargs) -> None:
    result = run(args, **kwargs)
    if result.returncode != 0:
        raise RuntimeError(f"{' '.join(args)} failed:\n{result.stdout}{result.stderr}")
