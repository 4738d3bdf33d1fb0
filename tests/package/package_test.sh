#!/usr/bin/env bash
# The Debian package as a user gets it: scripts/package.sh builds it; its file
# list, Depends and fields; lintian without errors; the desktop entry, the
# AppStream metadata and the manual page are valid; unpacked into a
# temporary root, the program runs headless on the bench from another folder
# and computes exactly what the development build computes. The package is
# made from the development build's tree when that is configured as the
# package's (scripts/test.sh's is), else from a build of the program alone.
#   package_test.sh SOURCE_DIR DEVELOPMENT_BINARY DEVELOPMENT_TREE
set -uo pipefail
usage="usage: package_test.sh SOURCE_DIR DEVELOPMENT_BINARY DEVELOPMENT_TREE"
src=${1:?$usage}
dev=${2:?$usage}
tree=${3:?$usage}
failures=0
fail() { echo "FAIL: $*" >&2; failures=$((failures + 1)); }
work=$(mktemp -d /tmp/pristroje-package.XXXXXX)
trap 'rm -rf "$work"' EXIT

deb=$("$src/scripts/package.sh" --tree "$tree" | tail -n 1) || { echo "FAIL: scripts/package.sh" >&2; exit 1; }
version=$("$dev" --version | awk '{print $2}')
arch=$(dpkg --print-architecture)
[ "$deb" = "build/pristroje_${version}_${arch}.deb" ] || fail "package is \"$deb\", not build/pristroje_${version}_${arch}.deb"
deb="$src/$deb"
[ -f "$deb" ] || { echo "FAIL: no package at $deb" >&2; exit 1; }

# --- files
expected="./usr/bin/pristroje
./usr/share/applications/cz.kerbanit.pristroje.desktop
./usr/share/doc/pristroje/changelog.gz
./usr/share/doc/pristroje/copyright
./usr/share/icons/hicolor/scalable/apps/pristroje.svg
./usr/share/man/man1/pristroje.1.gz
./usr/share/metainfo/cz.kerbanit.pristroje.metainfo.xml"
files=$(dpkg-deb -c "$deb" | awk '$1 !~ /^d/ {print $6}' | sort)
[ "$files" = "$expected" ] || fail "file list differs:
$(diff <(echo "$expected") <(echo "$files"))"
owners=$(dpkg-deb -c "$deb" | awk '{print $2}' | sort -u)
[ "$owners" = "root/root" ] || fail "files not owned by root: $owners"

# --- fields
field() { dpkg-deb -f "$deb" "$1"; }
[ "$(field Package)" = pristroje ] || fail "Package: $(field Package)"
[ "$(field Version)" = "$version" ] || fail "Version $(field Version), the program says $version"
[ "$(field Section)" = education ] || fail "Section: $(field Section)"
[ "$(field Priority)" = optional ] || fail "Priority: $(field Priority)"
[[ "$(field Maintainer)" =~ ^.+\ \<.+@.+\>$ ]] || fail "Maintainer: $(field Maintainer)"
[ "$(field Description | wc -l)" -ge 3 ] || fail "no extended Description"
depends=$(field Depends)
for d in fonts-liberation fonts-urw-base35 fonts-dejavu-core libqt6svg6 libgsl27 libqt6httpserver6 libqt6websockets6 \
         libqrencode4 libqt6widgets6 libqt6gui6 libqt6core6 libasound2 libsndfile1 libsamplerate0 libxcb1 libc6 \
         libstdc++6; do
  sed 's/ *([^)]*)//g; s/, */\n/g' <<<"$depends" | grep -qxF "$d" || fail "Depends lacks $d: $depends"
done
for r in qt6-wayland qt6-translations-l10n; do
  field Recommends | sed 's/, */\n/g' | grep -qxF "$r" || fail "Recommends lacks $r: $(field Recommends)"
done
# No home page yet: none is named (example.org stood there).
[ -z "$(field Homepage)" ] || fail "Homepage: $(field Homepage)"

# --- lintian: no errors (warnings and notes are printed)
lintian --fail-on error "$deb" 2>&1 || fail "lintian reports errors"

# --- unpacked: desktop entry, metadata, icon, manual
root="$work/root"
dpkg-deb -x "$deb" "$root"
desktop="$root/usr/share/applications/cz.kerbanit.pristroje.desktop"
# The validators as a distribution runs them: no hint, no warning, and the
# metadata's addresses checked on the network (there are none to check).
hints=$(desktop-file-validate "$desktop" 2>&1) || fail "desktop-file-validate"
[ -z "$hints" ] || fail "desktop-file-validate says: $hints"
metainfo="$root/usr/share/metainfo/cz.kerbanit.pristroje.metainfo.xml"
appstreamcli validate --pedantic "$metainfo" > "$work/appstream.out" 2>&1 ||
  fail "appstreamcli validate: $(cat "$work/appstream.out")"
grep -q "^[EWI]:" "$work/appstream.out" && fail "appstreamcli validate says: $(cat "$work/appstream.out")"
appstreamcli validate-tree "$root" || fail "appstreamcli validate-tree"
grep -rl "example\.org" "$metainfo" "$desktop" && fail "placeholder addresses in the metadata"
icon=$(sed -n 's/^Icon=//p' "$desktop")
[ -f "$root/usr/share/icons/hicolor/scalable/apps/$icon.svg" ] || fail "no icon $icon.svg for the desktop entry"
for action in "Kalibrace|pristroje --calibrate" "Projektor|pristroje --fullscreen --scale auto" \
              "Virtuální měřicí pracoviště|pristroje --audio=bench" "Měření a grafy|pristroje --lab"; do
  name=${action%%|*}; exec=${action#*|}
  grep -A3 "^Name\[cs\]=$name$" "$desktop" | grep -qx "Exec=$exec" || fail "desktop action $name is not \"$exec\""
done
zcat "$root/usr/share/doc/pristroje/changelog.gz" | sed -n 1p | grep -q "^pristroje ($version) " ||
  fail "the changelog does not start with $version"
grep -q "<release version=\"$version\"" "$root/usr/share/metainfo/cz.kerbanit.pristroje.metainfo.xml" ||
  fail "the metadata has no release entry for $version"

manual=$(LC_ALL=C.UTF-8 MANWIDTH=100 man --warnings -l "$root/usr/share/man/man1/pristroje.1.gz" 2>"$work/man.err")
[ -s "$work/man.err" ] && fail "man reports: $(cat "$work/man.err")"
for section in NAME SYNOPSIS DESCRIPTION ACTIONS OPTIONS "EXIT STATUS" FILES EXAMPLES; do
  grep -qx "$section" <<<"$manual" || fail "manual page has no $section section"
done
for option in $("$root/usr/bin/pristroje" --help | grep -o -- '--[a-z-]*' | sort -u); do
  grep -q -- "$option" <<<"$manual" || fail "manual page does not mention $option"
done

# --- the unpacked program, from another folder, against the development build
mkdir "$work/elsewhere" && cd "$work/elsewhere" || exit 1
args=(--audio=bench --headless --do track:TrackBar1=20000 --do menu:rukovstdavvoltmetr1 --run-for 1.5)
"$root/usr/bin/pristroje" "${args[@]}" --state packaged.json --snapshot packaged.png --print-readouts \
  > packaged.txt || fail "the packaged program exited with $?"
"$dev" "${args[@]}" --state development.json --snapshot development.png --print-readouts > development.txt ||
  fail "the development build exited with $?"
grep -q "voltmeter [1-9]" packaged.txt || fail "packaged program reads: $(cat packaged.txt)"
cmp -s packaged.json development.json || fail "state differs from the development build's"
cmp -s packaged.png development.png || fail "snapshot differs from the development build's"

if [ "$failures" -eq 0 ]; then echo "package: all checks passed"; else echo "package: $failures checks failed"; fi
[ "$failures" -eq 0 ]
