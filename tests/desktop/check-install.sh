#!/usr/bin/env bash
# Installs the build into a temporary DESTDIR and checks what a desktop gets:
# exactly the expected files, a launcher and metainfo their validators accept,
# manual pages man formats without warnings, and programs that answer
# --version and --help from where they were installed.
#   check-install.sh BUILD_DIR
set -euo pipefail
BUILD=$1
root=$(mktemp -d)
trap 'rm -rf "$root"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

DESTDIR="$root" cmake --install "$BUILD" --prefix /usr >/dev/null
id=org.halcyondeck.HalcyonDeck
expected=(
  usr/bin/halcyon-deck
  usr/bin/halcyon-deck-cli
  usr/share/applications/$id.desktop
  usr/share/metainfo/$id.metainfo.xml
  usr/share/man/man1/halcyon-deck.1.gz
  usr/share/man/man1/halcyon-deck-cli.1.gz
  usr/share/doc/halcyon-deck/copyright
  usr/share/doc/halcyon-deck/changelog.gz
)
for size in 16 24 32 48 64 128 256; do
  expected+=("usr/share/icons/hicolor/${size}x${size}/apps/$id.png")
done
actual=$(cd "$root" && find . -type f -printf '%P\n' | sort)
want=$(printf '%s\n' "${expected[@]}" | sort)
if [ "$actual" != "$want" ]; then
  diff <(echo "$want") <(echo "$actual") >&2 || true
  fail "installed files differ from the expected list (< expected, > installed)"
fi

for size in 16 24 32 48 64 128 256; do
  got=$(identify -format '%wx%h %[channels]' "$root/usr/share/icons/hicolor/${size}x${size}/apps/$id.png")
  [[ "$got" == "${size}x${size} srgba"* ]] || fail "icon ${size}: $got"
done

desktop-file-validate "$root/usr/share/applications/$id.desktop" || fail "desktop-file-validate"
grep -qx 'Exec=halcyon-deck %F' "$root/usr/share/applications/$id.desktop" || fail "launcher Exec line"
grep -qx "Icon=$id" "$root/usr/share/applications/$id.desktop" || fail "launcher icon name"
appstreamcli validate --no-net --explain "$root/usr/share/metainfo/$id.metainfo.xml" >/dev/null ||
  { appstreamcli validate --no-net "$root/usr/share/metainfo/$id.metainfo.xml" >&2; fail "appstreamcli validate"; }

for page in halcyon-deck halcyon-deck-cli; do
  warnings=$(LC_ALL=C.UTF-8 MANWIDTH=80 man --warnings -E UTF-8 -l -Tutf8 -Z \
               "$root/usr/share/man/man1/$page.1.gz" 2>&1 >/dev/null)
  [ -z "$warnings" ] || fail "man page $page: $warnings"
  lexgrog "$root/usr/share/man/man1/$page.1.gz" >/dev/null || fail "man page $page has no NAME section whatis can read"
done

# The programs run from the install and answer without a display.
for prog in halcyon-deck halcyon-deck-cli; do
  version=$(env -u DISPLAY -u WAYLAND_DISPLAY QT_QPA_PLATFORM= "$root/usr/bin/$prog" --version)
  [ "$version" = "$prog $(sed -n 's/^project(HalcyonDeck VERSION \([0-9.]*\).*/\1/p' "$(dirname "$0")/../../CMakeLists.txt")" ] ||
    fail "$prog --version said: $version"
  help=$(env -u DISPLAY -u WAYLAND_DISPLAY QT_QPA_PLATFORM= "$root/usr/bin/$prog" --help)
  [[ "$help" == "usage: $prog"* ]] || fail "$prog --help said: $help"
done
rc=0
QT_QPA_PLATFORM=offscreen "$root/usr/bin/halcyon-deck" --no-such-option 2>/dev/null || rc=$?
[ "$rc" -eq 2 ] || fail "halcyon-deck --no-such-option ended with $rc, not 2"
echo "install layout ok"
