"""The release's bills of materials: each an SPDX 2.3 document that validates against the schema,
describes the package file beside it by its SHA-256, and names what it is built from with the
versions Debian has installed."""

import hashlib
import json
import pathlib
import subprocess
import sys
import unittest
import zipfile

import jsonschema

RELEASE = pathlib.Path(sys.argv.pop(1))
SCHEMA = json.loads((pathlib.Path(__file__).parent / "spdx-2.3-document.schema.json").read_text())
# The Debian packages each package is built from or depends on, at the least.
PARTS = {
    "velandra_1.0.0.0_amd64.deb": {"libqt6widgets6", "libqt6gui6", "libqt6core6", "libc6",
                                   "fonts-liberation2", "fonts-ebgaramond", "fonts-dejavu-core",
                                   "qt6-translations-l10n"},
    "velandra-1.0.0.0-x64.msi": {"gcc-mingw-w64-x86-64-posix", "mingw-w64-x86-64-dev",
                                 "fonts-ebgaramond"},
    "velandra-1.0.0.0-x64.zip": {"gcc-mingw-w64-x86-64-posix", "mingw-w64-x86-64-dev",
                                 "fonts-ebgaramond"},
    "velandra-1.0.0.0-web.zip": {"emscripten", "fonts-liberation2", "fonts-ebgaramond",
                                 "fonts-dejavu-core"},
}


def sha256(data):
    return hashlib.sha256(data).hexdigest()


def installed_version(package):
    return subprocess.run(["dpkg-query", "-W", "-f=${Version}", package], check=True,
                          capture_output=True, text=True).stdout


class BillsOfMaterialsTest(unittest.TestCase):
    def documents(self):
        for package, parts in PARTS.items():
            path = RELEASE / (package + ".spdx.json")
            yield package, parts, json.loads(path.read_text())

    def test_each_document_validates_and_describes_its_package(self):
        for package, _, document in self.documents():
            with self.subTest(package):
                jsonschema.validate(document, SCHEMA)
                described = [r["relatedSpdxElement"] for r in document["relationships"]
                             if r["relationshipType"] == "DESCRIBES"]
                main, = [p for p in document["packages"] if p["SPDXID"] in described]
                self.assertEqual(main["packageFileName"], package)
                self.assertEqual(main["checksums"][0]["checksumValue"],
                                 sha256((RELEASE / package).read_bytes()))
                ids = {p["SPDXID"] for p in document["packages"]}
                for relationship in document["relationships"]:
                    self.assertIn(relationship["relatedSpdxElement"], ids)

    def test_components_carry_the_versions_debian_installed(self):
        for package, parts, document in self.documents():
            with self.subTest(package):
                named = {p["name"]: p for p in document["packages"]}
                for part in parts:
                    self.assertIn(part, named)
                    self.assertEqual(named[part]["versionInfo"], installed_version(part))
                    self.assertNotEqual(named[part]["licenseDeclared"], "NOASSERTION", part)

    def test_the_windows_program_is_listed_by_the_checksum_of_the_one_shipped(self):
        with zipfile.ZipFile(RELEASE / "velandra-1.0.0.0-x64.zip") as archive:
            shipped = sha256(archive.read("velandra.exe"))
        for package in ("velandra-1.0.0.0-x64.msi", "velandra-1.0.0.0-x64.zip"):
            document = json.loads((RELEASE / (package + ".spdx.json")).read_text())
            program, = [p for p in document["packages"] if p["name"] == "velandra.exe"]
            self.assertEqual(program["checksums"][0]["checksumValue"], shipped, package)


if __name__ == "__main__":
    unittest.main(verbosity=2)
