"""The Windows packages as an IT department and a doctor meet them: the MSI's tables read back,
a silent install under Wine that puts the program, its Start-menu shortcut and its uninstall entry
in place and starts, a silent removal that leaves nothing, and the portable zip started where it
is unpacked."""

import pathlib
import subprocess
import sys
import tempfile
import unittest
import zipfile

sys.path.insert(0, str(pathlib.Path(__file__).resolve().parent.parent / "e2e"))
from e2e_test import CAPTION, TIMEOUT, ProgramTest, run, title_pattern  # noqa: E402
from wine_install import PROGRAM_FILES, START_MENUS, UNINSTALL, WINE  # noqa: E402

MSI = pathlib.Path(sys.argv.pop(1))
ZIP = pathlib.Path(sys.argv.pop(1))
UPGRADE_CODE = "{6446B697-42FE-4A48-A4B9-75FA7ECD26F4}"


def table(name):
    """An MSI table as a list of rows, each a dict by column name."""
    exported = run("msiinfo", "export", str(MSI), name).splitlines()
    columns = exported[0].split("\t")
    return [dict(zip(columns, row.split("\t"))) for row in exported[3:]]


class PackagesTest(ProgramTest):
    def wine(self, *arguments):
        return run(WINE, *arguments, env=self.server.env)

    def shows_its_window(self, program):
        """Starts the program under Wine, waits for its window, and ends it."""
        process = subprocess.Popen([WINE, str(program)], env=self.server.env,
                                   stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        try:
            run("xdotool", "search", "--sync", "--onlyvisible", "--name",
                title_pattern(CAPTION), env=self.server.env)
        finally:
            process.kill()
            process.wait(timeout=TIMEOUT)

    def test_the_msi_says_what_it_installs_and_where(self):
        properties = {row["Property"]: row["Value"] for row in table("Property")}
        self.assertEqual(properties["ProductName"], "Velandra")
        self.assertEqual(properties["ProductVersion"], "1.0.0.0")
        self.assertEqual(properties["Manufacturer"], "Velandra developers")
        self.assertEqual(properties["UpgradeCode"], UPGRADE_CODE)
        self.assertEqual(properties["ALLUSERS"], "1")
        directories = {row["Directory"]: row for row in table("Directory")}
        self.assertEqual(directories["INSTALLFOLDER"]["Directory_Parent"], "ProgramFiles64Folder")
        self.assertEqual(directories["INSTALLFOLDER"]["DefaultDir"].split("|")[-1], "Velandra")
        shortcut, = table("Shortcut")
        self.assertEqual(shortcut["Name"].split("|")[-1], "Velandra")
        self.assertEqual(shortcut["Directory_"], "ProgramMenuFolder")
        self.assertTrue(any(row["ActionProperty"] for row in table("Upgrade")))

    def test_a_silent_install_and_removal_under_wine(self):
        self.wine("msiexec", "/i", str(MSI), "/qn")
        self.assertTrue((PROGRAM_FILES / "velandra.exe").is_file())
        self.assertIn("SIL OPEN FONT LICENSE",
                      (PROGRAM_FILES / "EBGaramond-LICENSE.txt").read_text(encoding="utf-8"))
        self.assertTrue(any((menu / "Velandra.lnk").is_file() for menu in START_MENUS))
        entries = self.wine("reg", "query", UNINSTALL, "/s")
        self.assertIn("Velandra", entries)
        self.assertIn("1.0.0.0", entries)
        self.assertIn("Velandra developers", entries)
        self.shows_its_window(PROGRAM_FILES / "velandra.exe")

        self.wine("msiexec", "/x", str(MSI), "/qn")
        self.assertFalse(PROGRAM_FILES.exists())
        self.assertFalse(any((menu / "Velandra.lnk").exists() for menu in START_MENUS))
        self.assertNotIn("Velandra", self.wine("reg", "query", UNINSTALL, "/s"))

    def test_the_portable_zip_runs_where_it_is_unpacked(self):
        with zipfile.ZipFile(ZIP) as archive:
            self.assertEqual(sorted(archive.namelist()),
                             ["EBGaramond-LICENSE.txt", "LEGGIMI.txt", "velandra.exe"])
            with tempfile.TemporaryDirectory() as folder:
                archive.extractall(folder)
                self.shows_its_window(pathlib.Path(folder) / "velandra.exe")


if __name__ == "__main__":
    unittest.main(verbosity=2)
