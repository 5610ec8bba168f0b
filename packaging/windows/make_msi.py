"""Makes the MSI with wixl so that the same files always give the same package, and so that it
replaces an installed Velandra of the same first three version fields too (Windows Installer
ignores the fourth; wixl does not write AllowSameVersionUpgrades, so the Upgrade table's row is
made inclusive here). The packed files are dated SOURCE_DATE_EPOCH (the cabinet keeps their
times), then the summary information is given a
package code derived from the version and the packed files instead of a random one, and creation
and save times from SOURCE_DATE_EPOCH instead of the clock. The summary stream keeps its size,
so it is rewritten in place. Without SOURCE_DATE_EPOCH the times stay as they are.

    make_msi.py WIXL PACKAGE.msi VERSION SOURCE.wxs FILE...   (FILE: what the package packs)
"""

import hashlib
import os
import struct
import subprocess
import sys
import uuid

import olefile

SUMMARY = "\x05SummaryInformation"
UPGRADE_PROPERTY = "WIX_UPGRADE_DETECTED"
VERSION_MAX_INCLUSIVE = 0x200
PID_REVNUMBER, PID_CREATE_DTM, PID_LASTSAVE_DTM = 9, 12, 13
VT_LPSTR, VT_FILETIME = 0x1E, 0x40
# Every package code of Velandra's is a name-based UUID under this namespace.
NAMESPACE = uuid.UUID("6446b697-42fe-4a48-a4b9-75fa7ecd26f4")


def package_code(version, files):
    digest = hashlib.sha256(version.encode())
    for path in files:
        with open(path, "rb") as content:
            digest.update(hashlib.sha256(content.read()).digest())
    return "{" + str(uuid.uuid5(NAMESPACE, digest.hexdigest())).upper() + "}"


def filetime(epoch):
    """100-nanosecond intervals since 1601-01-01."""
    return (epoch + 11644473600) * 10_000_000


def stamped(stream, code, when):
    data = bytearray(stream)
    section = struct.unpack_from("<I", data, 44)[0]  # after the header and the first FMTID
    count = struct.unpack_from("<I", data, section + 4)[0]
    for index in range(count):
        pid, offset = struct.unpack_from("<II", data, section + 8 + 8 * index)
        at = section + offset
        kind = struct.unpack_from("<H", data, at)[0]
        if pid == PID_REVNUMBER and kind == VT_LPSTR:
            size = struct.unpack_from("<I", data, at + 4)[0]
            value = code.encode("ascii") + b"\0"
            if len(value) != size:
                raise ValueError(f"package code of {size} bytes expected")
            data[at + 8:at + 8 + size] = value
        elif when is not None and pid in (PID_CREATE_DTM, PID_LASTSAVE_DTM) and kind == VT_FILETIME:
            struct.pack_into("<Q", data, at + 4, when)
    return bytes(data)


def upgrade_same_version(package, folder):
    """Makes the upgrade row's maximum version inclusive, through the table's text form."""
    table = subprocess.run(["msiinfo", "export", package, "Upgrade"], check=True,
                           capture_output=True, text=True).stdout.split("\n")
    for number, row in enumerate(table[3:], start=3):
        cells = row.split("\t")
        if len(cells) == 7 and cells[6] == UPGRADE_PROPERTY:
            cells[4] = str(int(cells[4]) | VERSION_MAX_INCLUSIVE)
            table[number] = "\t".join(cells)
    idt = os.path.join(folder, "Upgrade.idt")
    with open(idt, "w", newline="") as out:
        out.write("\r\n".join(line.rstrip("\r") for line in table))
    subprocess.run(["msibuild", package, "-i", idt], check=True)


def main(wixl, package, version, source, *files):
    epoch = os.environ.get("SOURCE_DATE_EPOCH")
    if epoch:
        for path in files:
            os.utime(path, (int(epoch), int(epoch)))
    subprocess.run([wixl, "--arch", "x64", "--output", package, source], check=True)
    upgrade_same_version(package, os.path.dirname(os.path.abspath(package)))
    when = filetime(int(epoch)) if epoch else None
    with olefile.OleFileIO(package, write_mode=True) as msi:
        stream = msi.openstream(SUMMARY).read()
        msi.write_stream(SUMMARY, stamped(stream, package_code(version, [source, *files]), when))


if __name__ == "__main__":
    main(*sys.argv[1:])
