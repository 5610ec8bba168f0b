#!/usr/bin/env bash
# Builds the Debian package from a build tree, checks its control fields and its file list,
# checks that apt could install it here, then unpacks it into a throw-away root and starts the
# program from there on a private X server until its window is mapped.
set -euo pipefail
build=$1
work=$(mktemp -d)
xvfb_pid=
app_pid=
cleanup() {
    [ -n "$app_pid" ] && kill "$app_pid" 2>/dev/null || true
    [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null || true
    rm -rf "$work"
}
trap cleanup EXIT
fail() { echo "FAIL: $*"; exit 1; }

(cd "$build" && cpack -G DEB -B "$work/out" >"$work/cpack.log") || { cat "$work/cpack.log"; fail "cpack"; }
deb=$(echo "$work"/out/velandra_*.deb)
[ -f "$deb" ] || fail "no package built"
[ "$(basename "$deb")" = "velandra_1.0.0.0_$(dpkg --print-architecture).deb" ] || fail "file name $deb"

field() { dpkg-deb -f "$deb" "$1"; }
[ "$(field Package)" = velandra ] || fail "Package: $(field Package)"
[ "$(field Version)" = 1.0.0.0 ] || fail "Version: $(field Version)"
[ "$(field Section)" = science ] || fail "Section: $(field Section)"
depends=$(field Depends)
names=$(sed 's/ *([^)]*)//g; s/, */\n/g' <<<"$depends")
for needed in libqt6widgets6 libqt6gui6 libc6 libstdc++6 qt6-translations-l10n \
    fonts-liberation2 fonts-ebgaramond fonts-dejavu-core; do
    grep -qxF "$needed" <<<"$names" || fail "Depends lacks $needed: $depends"
done
[[ $(field Description) == *Mosteller* ]] || fail "Description"

dpkg-deb -c "$deb" | awk '{print $6}' | grep -v '/$' | sort >"$work/files"
cat >"$work/expected" <<'LIST'
./usr/bin/velandra
./usr/share/applications/it.velandra.Velandra.desktop
./usr/share/icons/hicolor/scalable/apps/it.velandra.Velandra.svg
./usr/share/metainfo/it.velandra.Velandra.metainfo.xml
LIST
diff -u "$work/expected" "$work/files" || fail "file list"

apt-get install --simulate --no-install-recommends "$deb" >"$work/apt.log" 2>&1 ||
    { cat "$work/apt.log"; fail "apt cannot install the package here"; }

dpkg-deb -x "$deb" "$work/root"
exec 3>"$work/display"
Xvfb -displayfd 3 -screen 0 800x600x24 -nolisten tcp >"$work/xvfb.log" 2>&1 &
xvfb_pid=$!
for _ in $(seq 100); do [ -s "$work/display" ] && break; sleep 0.05; done
display=:$(head -n1 "$work/display")
# Started as a user would start it on that display, whatever platform or scale this shell names.
env -u QT_QPA_PLATFORM -u QT_QPA_PLATFORMTHEME -u QT_SCALE_FACTOR -u QT_SCREEN_SCALE_FACTORS \
    -u QT_FONT_DPI -u WAYLAND_DISPLAY DISPLAY="$display" "$work/root/usr/bin/velandra" &
app_pid=$!
DISPLAY=$display timeout 20 xdotool search --sync --onlyvisible --name \
    '^Calcolo della Velandra Corporea$' >/dev/null || fail "no window"
kill -0 "$app_pid" || fail "the program ended by itself"
echo "package $(basename "$deb") checked; its program showed its window on $display"
