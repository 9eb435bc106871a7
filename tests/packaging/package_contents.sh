#!/usr/bin/env bash
# Makes the package of a build, unpacks it with dpkg -x and checks what a practice's computer gets:
# every command with its manual page, the stand-ins kept out of the program's way, the menu entry
# with its icon, the software centre's description, dependencies found from the binaries, the README
# and the user's guide, and no maintainer script that could touch the users' files.
# Usage: package_contents.sh <make-package.sh> <build folder> <version>
set -euo pipefail
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

deb=$(bash "$1" "$2" "$work/out")
root=$work/root
dpkg -x "$deb" "$root"

for command in orvane orvane-restore orvane-import; do
  [ -x "$root/usr/bin/$command" ] || fail "$command is not in /usr/bin"
done
for command in "$root"/usr/bin/*; do
  [ -f "$root/usr/share/man/man1/$(basename "$command").1.gz" ] || fail "$(basename "$command") has no manual page"
done
[ -x "$root/usr/lib/orvane/standins/accesvidalcd" ] || fail "the Vidal stand-in is not in /usr/lib/orvane/standins"
[ -f "$root/usr/lib/orvane/standins/dllapi.dll" ] || fail "the Apicrypt stand-in is not in /usr/lib/orvane/standins"

desktop=$root/usr/share/applications/fr.orvane.Orvane.desktop
desktop-file-validate "$desktop"
grep -qx 'Categories=Office;MedicalSoftware;' "$desktop" || fail "the menu entry is not in Office and MedicalSoftware"
icon=$(sed -n 's/^Icon=//p' "$desktop")
[ -f "$root/usr/share/icons/hicolor/scalable/apps/$icon.svg" ] || fail "no icon $icon in the hicolor theme"
appstreamcli validate --no-net "$root/usr/share/metainfo/fr.orvane.Orvane.metainfo.xml"

dpkg-deb -f "$deb" Depends | grep -q 'libqt6widgets6' || fail "dependencies not found from the binaries"
dpkg-deb -f "$deb" Recommends | grep -q 'gnome-calculator' || fail "no calculator recommended"

# The README, the user's guide that F1 opens, and the format of alias.ini in the manual page.
doc=$root/usr/share/doc/orvane
zgrep -q 'orvane-restore' "$doc/README.md.gz" || fail "the README is not in $doc"
for page in identite consultation prescriptions vaccinations bilans statistiques; do
  grep -q '<html lang="fr">' "$doc/guide/$page.html" || fail "the guide has no page $page.html"
done
zgrep -q '^Driver=QPSQL' "$root/usr/share/man/man1/orvane.1.gz" || fail "man orvane does not give the format of alias.ini"
dpkg-deb -e "$deb" "$work/control"
for script in preinst postinst prerm postrm; do
  [ ! -e "$work/control/$script" ] || fail "the package has a $script script"
done

# Answered without a display, as on a console.
version=$(env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM "$root/usr/bin/orvane" --version)
[ "$version" = "orvane $3" ] || fail "orvane --version printed '$version'"
echo "package $(basename "$deb") holds what it must"
