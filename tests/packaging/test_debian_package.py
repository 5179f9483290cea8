"""cpack -G DEB: the package's name, contents (dpkg-deb -c), stripped program and
dependencies (dpkg-deb -f) against what the program links and the listed runtime
packages."""
import os
import re
import sys
import unittest

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from packaging_layout import (BUILD_DIR, INSTALLED_FILES, PROJECT_VERSION, SOURCE_DIR, InstalledBuildTest, run,
                              run_checked)

# The Debian 12 package of every library the program may link. A library missing
# here fails the check: add its package, after making sure it is one a user has.
LIBRARY_PACKAGES = {
    "libc.so.6": "libc6",
    "libm.so.6": "libc6",
    "ld-linux-x86-64.so.2": "libc6",
    "libstdc++.so.6": "libstdc++6",
    "libgcc_s.so.1": "libgcc-s1",
    "libmimalloc.so.2": "libmimalloc2.0",
    "libQt6Core.so.6": "libqt6core6",
    "libQt6Gui.so.6": "libqt6gui6",
    "libQt6Widgets.so.6": "libqt6widgets6",
    "libQt6PrintSupport.so.6": "libqt6printsupport6",
    "libQt6Network.so.6": "libqt6network6",
    "libminizip.so.1": "libminizip1",
    "libharfbuzz.so.0": "libharfbuzz0b",
    "libxlsxwriter.so.4": "libxlsxwriter4",
}


def listed_runtime_packages() -> set[str]:
    with open(os.path.join(SOURCE_DIR, "resources/debian-runtime-packages"), encoding="utf-8") as listing:
        return {line.strip() for line in listing if line.strip() and not line.startswith("#")}


class DebianPackageTest(InstalledBuildTest):
    @classmethod
    def prepare(cls):
        run_checked(["cpack", "-G", "DEB", "--config", os.path.join(BUILD_DIR, "CPackConfig.cmake"), "-B", cls.scratch.name])
        packages = [name for name in os.listdir(cls.scratch.name) if name.endswith(".deb")]
        if len(packages) != 1:
            raise RuntimeError(f"cpack made {packages}, not one package")
        cls.package = os.path.join(cls.scratch.name, packages[0])

    def dpkg_deb(self, *args: str) -> str:
        result = run(["dpkg-deb", *args])
        self.assertEqual(result.returncode, 0, result.stderr)
        return result.stdout

    def test_is_named_for_the_version_and_architecture(self):
        architecture = run(["dpkg", "--print-architecture"]).stdout.strip()
        self.assertEqual(os.path.basename(self.package), f"quenvale_{PROJECT_VERSION}_{architecture}.deb")
        self.assertEqual(self.dpkg_deb("-f", self.package, "Package", "Version").splitlines(),
                         ["Package: quenvale", f"Version: {PROJECT_VERSION}"])

    def test_holds_the_installed_files_under_usr(self):
        # Lines of dpkg-deb -c: permissions, owner, size, date, time, path.
        listing = [line.split(None, 5) for line in self.dpkg_deb("-c", self.package).splitlines()]
        files = sorted(fields[5].removeprefix("./usr/") for fields in listing if not fields[0].startswith("d"))
        self.assertEqual(files, INSTALLED_FILES)
        owners = {fields[1] for fields in listing}
        self.assertEqual(owners, {"root/root"})

    def extracted_program(self) -> str:
        folder = os.path.join(self.scratch.name, "extracted")
        if not os.path.isdir(folder):
            self.dpkg_deb("-x", self.package, folder)
        return os.path.join(folder, "usr/bin/quenvale")

    def test_program_is_stripped(self):
        sections = run(["readelf", "--section-headers", "--wide", self.extracted_program()]).stdout
        self.assertIn(".text", sections)
        self.assertNotIn(".debug_info", sections)
        self.assertNotIn(".symtab", sections)

    def test_depends_on_the_linked_libraries_and_the_listed_runtime_packages(self):
        dynamic = run(["readelf", "--dynamic", self.extracted_program()]).stdout
        linked = re.findall(r"\(NEEDED\)\s+Shared library: \[([^]]+)\]", dynamic)
        self.assertIn("libQt6Widgets.so.6", linked)
        unknown = [library for library in linked if library not in LIBRARY_PACKAGES]
        self.assertEqual(unknown, [], "libraries without a known Debian package")

        depends = self.dpkg_deb("-f", self.package, "Depends").removeprefix("Depends:").strip()
        entries = [entry.strip() for entry in depends.split(",")]
        named = [re.match(r"[a-z0-9][a-z0-9+.-]+", entry).group(0) for entry in entries]
        self.assertEqual(len(named), len(set(named)), f"a package named twice: {depends}")

        library_packages = {LIBRARY_PACKAGES[library] for library in linked}
        self.assertEqual(set(named), library_packages | listed_runtime_packages())
        # Library dependencies come from dpkg-shlibdeps, with the versions the program needs.
        for entry, name in zip(entries, named):
            if name in library_packages:
                self.assertRegex(entry, r"^\S+ \(>= [^)]+\)$")


if __name__ == "__main__":
    unittest.main(verbosity=2)
