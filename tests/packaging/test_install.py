"""cmake --install into a scratch folder: the expected files, each valid by Debian's
own checkers (desktop-file-validate, appstreamcli, man)."""
import configparser
import os
import sys
import unittest
import xml.etree.ElementTree as ElementTree

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from packaging_layout import (APP_ID, BUILD_DIR, ICON_SIZES, INSTALLED_FILES, PROJECT_VERSION, SOURCE_DIR,
                              InstalledBuildTest, files_below, png_size, run, run_checked)

PREFIX = "/usr/local"


class InstallTest(InstalledBuildTest):
    @classmethod
    def prepare(cls):
        run_checked(["cmake", "--install", BUILD_DIR, "--prefix", PREFIX], env=dict(os.environ, DESTDIR=cls.scratch.name))
        cls.root = cls.scratch.name + PREFIX

    def installed(self, relative: str) -> str:
        return os.path.join(self.root, relative)

    def test_installs_exactly_the_expected_files(self):
        self.assertEqual(files_below(self.root), INSTALLED_FILES)
        self.assertTrue(os.access(self.installed("bin/quenvale"), os.X_OK))

    def test_the_skin_is_where_the_installed_program_looks(self):
        # The program looks in ../share/quenvale relative to its own folder.
        program_folder = os.path.dirname(self.installed("bin/quenvale"))
        skin = os.path.normpath(os.path.join(program_folder, "../share/quenvale/x/o.cjs"))
        with open(skin, "rb") as installed, open(os.path.join(SOURCE_DIR, "resources/x/o.cjs"), "rb") as shipped:
            self.assertEqual(installed.read(), shipped.read())

    def test_icons_have_their_sizes(self):
        for size in ICON_SIZES:
            with self.subTest(size=size):
                self.assertEqual(png_size(self.installed(f"share/icons/hicolor/{size}x{size}/apps/quenvale.png")),
                                 (size, size))

    def test_desktop_entry_is_valid_and_names_the_installed_program_and_icon(self):
        path = self.installed(f"share/applications/{APP_ID}.desktop")
        result = run(["desktop-file-validate", path])
        self.assertEqual((result.returncode, result.stdout + result.stderr), (0, ""))

        entry = configparser.ConfigParser(interpolation=None)
        entry.optionxform = str
        entry.read(path, encoding="utf-8")
        desktop = entry["Desktop Entry"]
        self.assertEqual(desktop["Exec"].split()[0], "quenvale")
        self.assertTrue(os.path.isfile(self.installed(f"share/icons/hicolor/scalable/apps/{desktop['Icon']}.svg")))
        self.assertEqual(desktop["Categories"], "Office;Finance;")
        self.assertIn("application/vnd.ms-excel", desktop["MimeType"].split(";"))

    def test_metainfo_is_valid_and_points_at_the_desktop_entry_and_screenshots(self):
        path = self.installed(f"share/metainfo/{APP_ID}.metainfo.xml")
        result = run(["appstreamcli", "validate", "--no-net", path])
        self.assertEqual(result.returncode, 0, result.stdout + result.stderr)

        component = ElementTree.parse(path).getroot()
        self.assertEqual(component.findtext("id"), APP_ID)
        self.assertEqual(component.findtext("launchable"), f"{APP_ID}.desktop")
        self.assertIsNotNone(component.find("description/p"))
        # The screenshots are the pictures in docs/, published under the same names.
        images = [image.text for image in component.iterfind("screenshots/screenshot/image")]
        self.assertTrue(images)
        for url in images:
            self.assertTrue(os.path.isfile(os.path.join(SOURCE_DIR, "docs", os.path.basename(url))), url)
        self.assertEqual(component.find("releases/release").get("version"), PROJECT_VERSION)

    def test_manual_page_formats_without_warnings(self):
        path = self.installed("share/man/man1/quenvale.1.gz")
        # "w" turns on every groff warning ("all" leaves out undefined macros).
        for width in ("80", "60"):
            result = run(["man", "--warnings=w", "-l", path],
                         env=dict(os.environ, LC_ALL="C.UTF-8", MANWIDTH=width))
            self.assertEqual((result.returncode, result.stderr), (0, ""), f"at {width} columns")
            self.assertIn(f"Quenvale {PROJECT_VERSION}", result.stdout)


if __name__ == "__main__":
    unittest.main(verbosity=2)
