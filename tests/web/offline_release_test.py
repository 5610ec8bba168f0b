"""A visitor who keeps the page offline gets a new release only if the service worker's script
changes: the browser compares it byte for byte with the one it has. The site is assembled again
as the build assembles it (the command is this test's arguments), with one of its files changed
and keeping its name, and unchanged."""

import os
import pathlib
import shutil
import subprocess
import sys
import tempfile
import unittest

ASSEMBLE = sys.argv[1:]


def option(name):
    [value] = [a.split("=", 1)[1] for a in ASSEMBLE if a.startswith(f"-D{name}=")]
    return value


class OfflineReleaseTest(unittest.TestCase):
    def setUp(self):
        self.work = pathlib.Path(tempfile.mkdtemp(prefix="velandra-site-"))
        self.addCleanup(shutil.rmtree, self.work)

    def service_worker(self, name, **inputs):
        """The service worker of the site assembled into a folder of its own, with the given
        inputs in place of the build's."""
        folder = self.work / name
        folder.mkdir()
        values = dict(inputs, SITE_DIR=folder / "site", ZIP=folder / "site.zip", WORK_DIR=folder)
        command = [next((f"-D{key}={values[key]}" for key in values
                         if argument.startswith(f"-D{key}=")), argument)
                   for argument in ASSEMBLE]
        subprocess.run(command, check=True, capture_output=True)
        return (folder / "site" / "service-worker.js").read_bytes()

    def changed_copy(self, source, name, edit):
        copy = self.work / name
        if os.path.isdir(source):
            shutil.copytree(source, copy)
            target = copy / edit[0]
            target.write_text(target.read_text().replace(*edit[1:]))
        else:
            copy.write_bytes(pathlib.Path(source).read_bytes() + edit)
        return copy

    def test_the_service_worker_changes_with_any_file_and_only_then(self):
        built = self.service_worker("built")
        self.assertEqual(self.service_worker("again"), built)
        program = self.changed_copy(option("PROGRAM_SCRIPT"), "program.js", b"\n;")
        sources = option("SOURCE_DIR")
        for name, inputs in (
                ("the program", {"PROGRAM_SCRIPT": program}),
                ("the style sheet", {"SOURCE_DIR": self.changed_copy(
                    sources, "styled", ("velandra.css", "padding: 32px 8px", "padding: 30px"))}),
                ("the manifest", {"SOURCE_DIR": self.changed_copy(
                    sources, "manifest", ("manifest.webmanifest", "Velandra", "Velandra 2"))})):
            with self.subTest(name):
                self.assertNotEqual(self.service_worker(name.replace(" ", "-"), **inputs), built)


if __name__ == "__main__":
    unittest.main(argv=sys.argv[:1], verbosity=2)
