"""An MSI that replaces an older Velandra, as hospitals deploy it: this source built again as
a later version (a build option; nothing of it is shipped), installed silently over this
build's MSI under Wine, leaves one program (the new one), one shortcut and one Apps-and-Features
entry; removing it leaves nothing.

    upgrade_test.py OLDER.msi SOURCE_DIR BUILD_DIR
"""

import pathlib
import subprocess
import sys
import unittest

import pefile

sys.path.insert(0, str(pathlib.Path(__file__).resolve().parent.parent / "e2e"))
from e2e_test import ProgramTest, run  # noqa: E402
from wine_install import PROGRAM_FILES, START_MENUS, UNINSTALL, WINE  # noqa: E402

OLDER = pathlib.Path(sys.argv.pop(1))
SOURCE, BUILD = pathlib.Path(sys.argv.pop(1)), pathlib.Path(sys.argv.pop(1))
NEWER_VERSION = "1.0.0.1"
NEWER = BUILD / f"velandra-{NEWER_VERSION}-x64.msi"


def build_newer():
    subprocess.run(["cmake", "-S", SOURCE, "-B", BUILD, "-G", "Ninja",
                    f"-DCMAKE_TOOLCHAIN_FILE={SOURCE}/cmake/mingw-w64-x86_64.cmake",
                    "-DCMAKE_BUILD_TYPE=Release", "-DVELANDRA_TESTS=OFF",
                    f"-DVELANDRA_VERSION={NEWER_VERSION}"], check=True, capture_output=True)
    subprocess.run(["cmake", "--build", BUILD, "--target", "windows_packages"], check=True,
                   capture_output=True)


def file_version(program):
    info = pefile.PE(str(program), fast_load=False).VS_FIXEDFILEINFO[0]
    return (f"{info.FileVersionMS >> 16}.{info.FileVersionMS & 0xFFFF}."
            f"{info.FileVersionLS >> 16}.{info.FileVersionLS & 0xFFFF}")


class UpgradeTest(ProgramTest):
    @classmethod
    def setUpClass(cls):
        build_newer()
        super().setUpClass()

    def wine(self, *arguments):
        return run(WINE, *arguments, env=self.server.env)

    def entries(self):
        """The Apps-and-Features entries named Velandra, each as its registry values."""
        listing = self.wine("reg", "query", UNINSTALL, "/s").replace("\r", "")
        found = []
        for block in listing.split("\n\n"):
            values = dict(line.split(None, 2)[0::2] for line in block.splitlines()[1:]
                          if len(line.split(None, 2)) == 3)
            if values.get("DisplayName") == "Velandra":
                found.append(values)
        return found

    def shortcuts(self):
        return [menu / "Velandra.lnk" for menu in START_MENUS if (menu / "Velandra.lnk").exists()]

    def test_a_newer_msi_replaces_the_older_one(self):
        self.wine("msiexec", "/i", str(OLDER), "/qn")
        self.assertEqual(len(self.entries()), 1)
        self.wine("msiexec", "/i", str(NEWER), "/qn")

        self.assertEqual(sorted(p.name for p in PROGRAM_FILES.iterdir()),
                         ["EBGaramond-LICENSE.txt", "velandra.exe"])
        self.assertEqual(file_version(PROGRAM_FILES / "velandra.exe"), NEWER_VERSION)
        self.assertEqual(len(self.shortcuts()), 1)
        entry, = self.entries()
        self.assertEqual(entry["DisplayVersion"], NEWER_VERSION)

        self.wine("msiexec", "/x", str(NEWER), "/qn")
        self.assertFalse(PROGRAM_FILES.exists())
        self.assertEqual(self.shortcuts(), [])
        self.assertEqual(self.entries(), [])


if __name__ == "__main__":
    unittest.main(verbosity=2)
