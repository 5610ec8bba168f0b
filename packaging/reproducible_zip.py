"""Zips files so that the same files always give the same zip: entries in the order given, each
with the time of SOURCE_DATE_EPOCH (1980-01-01 where it is not set), ordinary permissions and no
extra fields (no owner, no access or change times).

    reproducible_zip.py OUT.zip FOLDER FILE...   (FILE relative to FOLDER)
"""

import os
import sys
import time
import zipfile


def main(output, folder, *files):
    epoch = int(os.environ.get("SOURCE_DATE_EPOCH", "315532800"))
    stamp = time.gmtime(max(epoch, 315532800))[:6]  # the zip format starts in 1980
    with zipfile.ZipFile(output + ".part", "w", zipfile.ZIP_DEFLATED, compresslevel=9) as archive:
        for name in files:
            entry = zipfile.ZipInfo(name, date_time=stamp)
            entry.create_system = 3  # Unix, so that the permissions below mean what they say
            entry.external_attr = 0o100644 << 16
            entry.compress_type = zipfile.ZIP_DEFLATED
            with open(os.path.join(folder, name), "rb") as source:
                archive.writestr(entry, source.read())
    os.replace(output + ".part", output)


if __name__ == "__main__":
    main(*sys.argv[1:])
