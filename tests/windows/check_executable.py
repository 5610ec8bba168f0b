"""What the built Windows executable carries, read back from the binary: its version record,
its icon, its manifest, and DLL imports that every Windows has."""

import sys
import unittest
import xml.etree.ElementTree as ElementTree

import pefile

EXECUTABLE = sys.argv.pop(1)
RT_ICON, RT_GROUP_ICON, RT_VERSION, RT_MANIFEST = 3, 14, 16, 24
# DLLs that come with every Windows 10 and 11; nothing else may be needed beside the .exe.
SYSTEM_DLLS = {"kernel32.dll", "user32.dll", "gdi32.dll", "comctl32.dll", "ole32.dll",
               "oleaut32.dll", "oleacc.dll", "msvcrt.dll", "advapi32.dll", "uxtheme.dll"}


def resource(pe, kind, identifier):
    for entry in pe.DIRECTORY_ENTRY_RESOURCE.entries:
        if entry.id != kind:
            continue
        for named in entry.directory.entries:
            if named.id == identifier:
                data = named.directory.entries[0].data.struct
                return pe.get_data(data.OffsetToData, data.Size)
    raise AssertionError(f"no resource {kind}/{identifier}")


class ExecutableTest(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.pe = pefile.PE(EXECUTABLE)

    def test_it_is_a_64_bit_windows_program(self):
        self.assertEqual(self.pe.FILE_HEADER.Machine, 0x8664)
        self.assertEqual(self.pe.OPTIONAL_HEADER.Subsystem, 2)  # the Windows GUI subsystem

    def test_the_version_record(self):
        fixed = self.pe.VS_FIXEDFILEINFO[0]
        self.assertEqual((fixed.FileVersionMS, fixed.FileVersionLS), (0x00010000, 0))
        self.assertEqual((fixed.ProductVersionMS, fixed.ProductVersionLS), (0x00010000, 0))
        strings, translation = {}, None
        for info in self.pe.FileInfo[0]:
            if info.Key == b"StringFileInfo":
                table, = info.StringTable
                self.assertEqual(table.LangID, b"041004B0")  # Italian, Unicode
                strings = {k.decode(): v.decode() for k, v in table.entries.items()}
            if info.Key == b"VarFileInfo":
                translation = info.Var[0].entry[b"Translation"]
        self.assertEqual(translation, "0x0410 0x04b0")
        for name, value in {"ProductName": "Velandra", "InternalName": "Velandra",
                            "FileVersion": "1.0.0.0", "ProductVersion": "1.0.0.0",
                            "OriginalFilename": "velandra.exe",
                            "FileDescription": "Calcolo della Velandra Corporea"}.items():
            self.assertEqual(strings.get(name), value, name)
        self.assertIn("Velandra", strings.get("CompanyName", ""))

    def test_the_icon_comes_in_every_size_from_16_to_256(self):
        group = resource(self.pe, RT_GROUP_ICON, 1)
        count = int.from_bytes(group[4:6], "little")
        # Each entry is 14 bytes from offset 6; a width byte of 0 means 256.
        sides = sorted((group[6 + 14 * i] or 256) for i in range(count))
        self.assertEqual(sides, [16, 24, 32, 48, 64, 128, 256])

    def test_the_manifest_asks_for_per_monitor_dpi_and_common_controls_6(self):
        manifest = ElementTree.fromstring(resource(self.pe, RT_MANIFEST, 1))
        texts = {element.tag.split("}")[1]: (element.text or "").strip()
                 for element in manifest.iter()}
        self.assertEqual(texts["dpiAwareness"], "PerMonitorV2")
        identities = [element.attrib for element in manifest.iter()
                      if element.tag.endswith("assemblyIdentity")]
        self.assertIn(("Microsoft.Windows.Common-Controls", "6.0.0.0"),
                      [(i.get("name"), i.get("version")) for i in identities])

    def test_it_needs_no_dll_beside_the_system_ones(self):
        imports = {entry.dll.decode().lower() for entry in self.pe.DIRECTORY_ENTRY_IMPORT}
        self.assertLessEqual(imports, SYSTEM_DLLS)
        self.assertIn("user32.dll", imports)


if __name__ == "__main__":
    unittest.main(verbosity=2)
