"""Where an installed Velandra lies in the test run's Wine prefix (WINEPREFIX)."""

import os
import pathlib

WINE = "/usr/lib/wine/wine64"
PREFIX = pathlib.Path(os.environ["WINEPREFIX"])
PROGRAM_FILES = PREFIX / "drive_c" / "Program Files" / "Velandra"
# Wine puts a per-machine package's shortcut in the user's Start menu, Windows in the common one.
START_MENUS = [base / "Microsoft" / "Windows" / "Start Menu" / "Programs"
               for base in [PREFIX / "drive_c" / "ProgramData",
                            *(PREFIX / "drive_c" / "users").glob("*/AppData/Roaming")]]
UNINSTALL = r"HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall"
