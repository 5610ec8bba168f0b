"""Gathers the release: copies each package into the release folder, writes a bill of materials
(SPDX 2.3, JSON) beside each, a statement of what is signed, and SHA256SUMS over all of them.
Every date comes from SOURCE_DATE_EPOCH, so that the same packages give the same files.

    gather.py --version V --into DIR --linux-build DIR [--signed-with CERT] PACKAGE...
"""

import argparse
import datetime
import hashlib
import json
import os
import pathlib
import re
import shutil
import subprocess

SUPPLIER = "Organization: Velandra developers"
NAMESPACE = "https://velandra.example/spdx/"
VELANDRA_LICENCE = "MIT"
VELANDRA_COPYRIGHT = "Copyright (c) 2026 Velandra developers"

# What each Debian package a component comes from is licensed under, as its copyright file says.
LICENCES = {
    "libc6": "LGPL-2.1-or-later",
    "libgcc-s1": "GPL-3.0-or-later WITH GCC-exception-3.1",
    "libstdc++6": "GPL-3.0-or-later WITH GCC-exception-3.1",
    "libqt6core6": "LGPL-3.0-only OR GPL-2.0-or-later",
    "libqt6gui6": "LGPL-3.0-only OR GPL-2.0-or-later",
    "libqt6widgets6": "LGPL-3.0-only OR GPL-2.0-or-later",
    "qt6-translations-l10n": "LGPL-3.0-only OR GPL-2.0-or-later",
    "fonts-liberation2": "OFL-1.1",
    "fonts-ebgaramond": "OFL-1.1",
    "fonts-dejavu-core": "Bitstream-Vera",
    "gcc-mingw-w64-x86-64-posix": "GPL-3.0-or-later WITH GCC-exception-3.1",
    "mingw-w64-x86-64-dev": "ZPL-2.1",
    "emscripten": "MIT OR NCSA",
}


def sha256(path):
    digest = hashlib.sha256()
    with open(path, "rb") as content:
        for block in iter(lambda: content.read(1 << 20), b""):
            digest.update(block)
    return digest.hexdigest()


def debian_version(package):
    return subprocess.run(["dpkg-query", "-W", "-f=${Version}", package], check=True,
                          capture_output=True, text=True).stdout


def spdx_id(name):
    return "SPDXRef-" + re.sub(r"[^A-Za-z0-9.-]", "-", name)


def component(name, version, licence, comment, checksum=None):
    package = {
        "SPDXID": spdx_id("Package-" + name), "name": name, "versionInfo": version,
        "downloadLocation": "NOASSERTION", "filesAnalyzed": False,
        "licenseConcluded": licence, "licenseDeclared": licence,
        "copyrightText": "NOASSERTION", "comment": comment,
    }
    if checksum:
        package["checksums"] = [{"algorithm": "SHA256", "checksumValue": checksum}]
    return package


def debian_component(package, role):
    return component(package, debian_version(package), LICENCES.get(package, "NOASSERTION"),
                     f"Debian package {package}: {role}")


def deb_dependencies(deb):
    """The Debian packages the .deb depends on, by name (first of any alternatives)."""
    field = subprocess.run(["dpkg-deb", "-f", deb, "Depends"], check=True, capture_output=True,
                           text=True).stdout
    return sorted({re.split(r"[\s(|]", part.strip())[0] for part in field.split(",") if part.strip()})


def bill_of_materials(package_file, version, epoch, contains, depends_on):
    name = package_file.name
    checksum = sha256(package_file)
    main = component("velandra", version, VELANDRA_LICENCE,
                     "Velandra, body surface area calculator", checksum)
    main.update({"SPDXID": "SPDXRef-Package-velandra", "packageFileName": name,
                 "supplier": SUPPLIER, "copyrightText": VELANDRA_COPYRIGHT,
                 "primaryPackagePurpose": "APPLICATION"})
    relationships = [{"spdxElementId": "SPDXRef-DOCUMENT", "relationshipType": "DESCRIBES",
                      "relatedSpdxElement": main["SPDXID"]}]
    for kind, parts in (("CONTAINS", contains), ("DEPENDS_ON", depends_on)):
        for part in parts:
            relationships.append({"spdxElementId": main["SPDXID"], "relationshipType": kind,
                                  "relatedSpdxElement": part["SPDXID"]})
    created = datetime.datetime.fromtimestamp(epoch, datetime.timezone.utc)
    return {
        "spdxVersion": "SPDX-2.3",
        "dataLicense": "CC0-1.0",
        "SPDXID": "SPDXRef-DOCUMENT",
        "name": name,
        "documentNamespace": f"{NAMESPACE}{name}-{checksum}",
        "creationInfo": {"created": created.strftime("%Y-%m-%dT%H:%M:%SZ"),
                         "creators": [SUPPLIER, "Tool: velandra-release-gather"]},
        "packages": [main, *contains, *depends_on],
        "relationships": relationships,
    }


def windows_parts(build):
    program = build / "packaging" / "windows" / "msi" / "velandra.exe"
    return [
        component("velandra.exe", "", VELANDRA_LICENCE, "the Windows program",
                  sha256(program)),
        debian_component("gcc-mingw-w64-x86-64-posix",
                         "GCC's C++ and support libraries (libstdc++, libgcc), linked statically"),
        debian_component("mingw-w64-x86-64-dev",
                         "the MinGW-w64 C runtime and winpthreads, linked statically"),
        debian_component("fonts-ebgaramond",
                         "EB Garamond Bold and Italic, cut to the form's characters, carried"),
    ]


def web_parts():
    return [
        debian_component("emscripten", "the Emscripten runtime, libc++ and musl, compiled in"),
        debian_component("fonts-liberation2", "Liberation Sans and Serif, cut and renamed Velandra Sans and Serif (the licence reserves the name), shipped"),
        debian_component("fonts-ebgaramond", "EB Garamond Bold, subset, shipped"),
        debian_component("fonts-dejavu-core", "DejaVu Sans Bold and Oblique, subset, shipped"),
    ]


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--version", required=True)
    parser.add_argument("--into", type=pathlib.Path, required=True)
    parser.add_argument("--linux-build", type=pathlib.Path, required=True)
    parser.add_argument("--signed-with", type=pathlib.Path)
    parser.add_argument("packages", nargs="+", type=pathlib.Path)
    args = parser.parse_args()
    epoch = int(os.environ["SOURCE_DATE_EPOCH"])

    listed = []
    for source in args.packages:
        package = args.into / source.name
        shutil.copyfile(source, package)
        contains, depends_on = [], []
        if package.suffix == ".deb":
            depends_on = [debian_component(name, "a dependency of the Debian package")
                          for name in deb_dependencies(package)]
        elif "-x64." in package.name:
            contains = windows_parts(source.parent)
        elif package.name.endswith("-web.zip"):
            contains = web_parts()
        document = bill_of_materials(package, args.version, epoch, contains, depends_on)
        bom = args.into / (package.name + ".spdx.json")
        bom.write_text(json.dumps(document, indent=2, sort_keys=True) + "\n")
        listed += [package, bom]

    signatures = args.into / "SIGNATURES.txt"
    if args.signed_with:
        signatures.write_text(f"velandra.exe (in the MSI and the zip) and the MSI are signed "
                              f"(SHA-256) with the certificate in {args.signed_with.name}.\n")
    else:
        signatures.write_text("Nothing in this release is signed: it was built without a "
                              "code-signing certificate.\n")
        print("Release not signed: no code-signing certificate was given")
    listed.append(signatures)

    sums = "".join(f"{sha256(path)}  {path.name}\n" for path in listed)
    (args.into / "SHA256SUMS").write_text(sums)
    print(sums, end="")


if __name__ == "__main__":
    main()
