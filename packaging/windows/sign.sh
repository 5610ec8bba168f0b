#!/usr/bin/env bash
# Signs a Windows program or MSI with SHA-256 (osslsigncode). The password is read by the tool
# from its file. The signing time is the release's (SOURCE_DATE_EPOCH) where one is set, so that
# the same input signed with the same certificate gives the same file; a time stamp from a
# server, when one is given, records the real time.
#   sign.sh IN OUT CERTIFICATE.p12 PASSWORD_FILE [TIMESTAMP_URL]
set -euo pipefail
in=$1 out=$2 certificate=$3 password=$4 timestamp=${5:-}
options=(-pkcs12 "$certificate" -readpass "$password" -h sha256)
# (osslsigncode before 2.6 cannot set it; it then signs with the clock's time.)
usage=$(osslsigncode --help 2>&1 || true)
if [ -n "${SOURCE_DATE_EPOCH:-}" ] && [[ $usage == *"-time <unix-time>"* ]]; then
    options+=(-time "$SOURCE_DATE_EPOCH")
fi
[ -n "$timestamp" ] && options+=(-ts "$timestamp")
rm -f "$out"
osslsigncode sign "${options[@]}" -in "$in" -out "$out" >/dev/null
