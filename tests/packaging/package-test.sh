#!/usr/bin/env bash
# Builds the Debian package from a configured build tree into a temporary folder and checks
# what it holds and needs; also validates the desktop entry, the metadata and the manual pages.
# Usage: package-test.sh BUILD_DIR SOURCE_DIR
set -euo pipefail
build=$(cd "$1" && pwd)
source=$(cd "$2" && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }

desktop-file-validate "$source/packaging/lorvenna.desktop" || fail "desktop entry"
appstreamcli validate --no-net "$source"/packaging/*.metainfo.xml >"$work/appstream.txt" ||
  { cat "$work/appstream.txt"; fail "metadata"; }
for page in "$source"/packaging/man/*.1 "$source"/packaging/man/*.5; do
  warnings=$(LC_ALL=C.UTF-8 MANROFFSEQ='' MANWIDTH=80 \
    man --warnings -E UTF-8 -l -Tutf8 -Z "$page" 2>&1 >/dev/null)
  [ -z "$warnings" ] || fail "manual page $page: $warnings"
done

(cd "$work" && cpack -G DEB --config "$build/CPackConfig.cmake" -B "$work/out" >"$work/cpack.txt" 2>&1) ||
  { cat "$work/cpack.txt"; fail "cpack"; exit 1; }
deb=$(ls "$work"/out/lorvenna_*.deb)
dpkg-deb -c "$deb" | awk '{print $NF}' | sed 's|^\./|/|' >"$work/files.txt"

expect() { grep -qx "$1" "$work/files.txt" || fail "package lacks $1"; }
expect /usr/share/applications/lorvenna.desktop
expect /usr/share/metainfo/org.lorvenna.lorvenna.metainfo.xml
expect /usr/share/icons/hicolor/scalable/apps/lorvenna.svg
expect /usr/share/icons/hicolor/48x48/apps/lorvenna.png
expect /usr/share/man/man5/lorvenna-lesson.5.gz
# Every program built is shipped with its manual page, and no page without its program.
for program in lorvenna lorvenna-check lorvenna-shot lorvenna-grades; do
  if [ -x "$build/$program" ] || [ -x "$build/tools/$program" ]; then
    expect "/usr/bin/$program"
    expect "/usr/share/man/man1/$program.1.gz"
  elif grep -q "/$program[.]1[.]gz\$" "$work/files.txt"; then
    fail "manual page of $program, which is not built"
  fi
done
# The whole sample course, file by file.
while read -r file; do
  expect "$file"
done < <(cd "$source/courseware" && find . -type f | sed 's|^\.|/usr/share/lorvenna/courseware|')

depends=$(dpkg-deb -f "$deb" Depends)
for library in libqt6core6 libqt6gui6 libqt6widgets6 qt6-qpa-plugins; do
  [[ $depends == *"$library"* ]] || fail "Depends lacks $library: $depends"
done
[[ $depends != *-dev* ]] || fail "Depends names a development package: $depends"

if [ "$failures" -ne 0 ]; then
  echo "$failures failed"
  exit 1
fi
echo "package $(basename "$deb"): $(wc -l <"$work/files.txt") entries, Depends: $depends"
