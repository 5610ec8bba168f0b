#!/usr/bin/env bash
# Signs a Windows build with a throw-away certificate, as a hospital signs with its own: the
# program inside the MSI and the zip and the MSI itself must carry valid SHA-256 signatures of
# that certificate, a changed byte must break them, the password must appear in no log and no
# file of the build, and the signed packages must still install and start under Wine.
#   signing_test.sh SOURCE_DIR
set -euo pipefail
source=$1
work=$(mktemp -d /tmp/velandra-signing-XXXXXX)
trap 'wineserver --kill 2>/dev/null || true; rm -rf "$work"' EXIT
cd "$work"
export SOURCE_DATE_EPOCH=1700000000

openssl rand -hex 16 | tr -d '\n' >password
openssl req -x509 -newkey rsa:3072 -nodes -days 2 -keyout key.pem -out signer.pem \
    -subj "/CN=Velandra signing test" -addext "extendedKeyUsage=codeSigning" 2>/dev/null
openssl pkcs12 -export -inkey key.pem -in signer.pem -out signer.p12 -passout file:password
rm key.pem

cmake -S "$source" -B build -G Ninja -DCMAKE_BUILD_TYPE=Release -DVELANDRA_TESTS=OFF \
    -DCMAKE_TOOLCHAIN_FILE="$source/cmake/mingw-w64-x86_64.cmake" \
    -DVELANDRA_SIGNING_CERTIFICATE="$work/signer.p12" \
    -DVELANDRA_SIGNING_PASSWORD_FILE="$work/password" >configure.log
cmake --build build --target windows_packages >build.log 2>&1 || { tail -n 30 build.log; exit 1; }
if grep -rqaF "$(cat password)" build configure.log build.log; then
    echo "the certificate's password was written into the build or its log"
    exit 1
fi

msi=build/velandra-1.0.0.0-x64.msi
zip=build/velandra-1.0.0.0-x64.zip
/usr/bin/python3 -c "import sys, zipfile; sys.stdout.buffer.write(zipfile.ZipFile('$zip').read('velandra.exe'))" >from-zip.exe
msiextract -C from-msi "$msi" >/dev/null
installed=$(find from-msi -name velandra.exe)
verify() { osslsigncode verify -CAfile signer.pem -in "$1" >"$work/verify.log" 2>&1; }
for signed in from-zip.exe "$installed" "$msi"; do
    verify "$signed" || { cat verify.log; echo "no valid signature on $signed"; exit 1; }
    grep -Eq "Message digest algorithm *: SHA256" verify.log ||
        { cat verify.log; echo "$signed is not signed with SHA-256"; exit 1; }
done
cp from-zip.exe tampered.exe
printf '\x90' | dd of=tampered.exe bs=1 seek=4096 conv=notrunc status=none
if verify tampered.exe; then
    echo "a changed byte left the signature valid"
    exit 1
fi
# Signed again, later, with the same certificate and release time: the same bytes, where the
# installed osslsigncode can set the signing time.
usage=$(osslsigncode --help 2>&1 || true)
if [[ $usage == *"-time <unix-time>"* ]]; then
    sleep 1
    bash "$source/packaging/windows/sign.sh" build/ui/win32/velandra.exe again.exe signer.p12 \
        password
    cmp again.exe from-zip.exe || { echo "signing the same program twice gave two files"; exit 1; }
else
    echo "this osslsigncode cannot set the signing time: signing is not repeatable here"
fi
echo "velandra.exe (zip and MSI) and the MSI carry valid SHA-256 signatures; a changed byte breaks them"

export WINEPREFIX=$work/prefix WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
unset WINEARCH
bash "$source/tests/windows/make_wine_prefix.sh" "$WINEPREFIX" >/dev/null
python3 "$source/tests/windows/packages_test.py" "$work/$msi" "$work/$zip"
