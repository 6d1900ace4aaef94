#!/usr/bin/env bash
# The Windows installer as the hospitals get it, under Wine on an English
# Windows (LANG=C.UTF-8: ANSI code page 1252, where no Hangul character has a
# narrow form). Takes the installer, the zip and the Python wheel that
# packaging/build-all.sh made with the workflow package-windows (whose test
# step checks the installed tree under Wine and the wheel's contents; see
# built_packages in .ci/packages.sh), checks the zip's contents, and then:
#
#   - installs silently into a folder with a Hangul name and a blank
#     (through cmd, since NSIS wants /D= unquoted and last), and reads the
#     targets of its shortcuts from their bytes: grouper-month on the Start
#     menu and on the public desktop, the Korean guide, the batch's console;
#   - runs the installed grouper.exe on a generated file under a Hangul path,
#     with a Hangul result name, and compares result file, console bytes and
#     exit status with the Linux reference build's (build/default); the same
#     for grouper-explain.exe and grouper-report.exe on that path;
#   - runs the installed grouper-month.exe through tests/month/check_month.py
#     under the ANSI code pages 1252 and 949 (LANG=C.UTF-8, ko_KR.UTF-8): on
#     Hangul paths with blanks, its three files against the Linux programs',
#     nothing else written, the input untouched;
#   - links a C program against lib\grouper.lib and grouper.dll and compares
#     its answers with the batch's;
#   - runs the uninstaller with /S and checks that the folder, the Start-menu
#     entries, the desktop shortcut and the registry entries are gone.
#
#   .ci/package-windows.sh          RECORDS=100000 .ci/package-windows.sh
set -euo pipefail
cd "$(dirname "$0")/.."
repo=$PWD
source .ci/compare.sh
source .ci/packages.sh
export CMAKE_BUILD_PARALLEL_LEVEL="${CMAKE_BUILD_PARALLEL_LEVEL:-$(nproc)}"

require_packages g++-mingw-w64-x86-64 g++-mingw-w64-i686 llvm wine wine64 nsis python3 tzdata \
  python3-build python3-setuptools python3-wheel locales
# A Korean locale, which gives Wine's programs the ANSI code page 949.
if ! locale -a | grep -qx 'ko_KR.utf8'; then localedef -i ko_KR -f UTF-8 ko_KR.UTF-8; fi

records=${RECORDS:-20000}
passed=0

# The preset's own prefix, as its test step uses it; no menu entries of the
# host made from the Start menu (winemenubuilder).
export WINEPREFIX="$repo/build/package-windows/wine" WINEDEBUG=-all LANG=C.UTF-8
export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
trap 'wineserver -k 2>/dev/null || true' EXIT
if [ ! -f "$WINEPREFIX/system.reg" ]; then
  mkdir -p "$WINEPREFIX"
  wineboot --init >/dev/null 2>&1
  wineserver -w
fi

# The packages (with the 32-bit grouper.dll in bin\x86, from build/windows-x86).
built_packages
build=build/package-windows
version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$build/CMakeCache.txt")
installer="grouper-$version-win64.exe"
zip="$dist/grouper-$version-win64.zip"
if ! file "$dist/$installer" | grep "PE32+ executable" >/dev/null; then
  echo "!! $installer is not a 64-bit Windows program: $(file -b "$dist/$installer")"
  exit 1
fi
# The wheel, its contents checked by the workflow's test package_wheel; the
# DLL beside it is what the Linux build's jar and NuGet package carry.
ls -l "$dist/$installer" "$zip" "$dist/grouper-$version-py3-none-win_amd64.whl" \
  "$build/packages/native/win-x64/grouper.dll"
if ! grep -E "Test +#[0-9]+: package_wheel \.+ +Passed" "$build/workflow.log" >/dev/null; then
  echo "!! the workflow's test package_wheel did not pass (see $build/workflow.log)"
  exit 1
fi
passed=$((passed + 1))

echo "== the zip"
contents=(bin/grouper.exe bin/grouper-month.exe bin/grouper-explain.exe bin/grouper-report.exe bin/grouper-sample.exe
  bin/grouper.dll include/grouper/grouper.h lib/grouper.lib lib/libgrouper.dll.a
  python/grouper/__init__.py python/grouper/_location.py doc/README.md doc/LICENSE
  doc/CHANGELOG.md doc/sample.in doc/docs/output.md doc/ko/index.html doc/ko/guide.css
  doc/ko/images/report-top.png bin/x86/grouper.dll bin/x86/grouper.lib bin/x86/grouper.def
  grouper.html)
python3 - "$zip" "grouper-$version-win64" "${contents[@]}" <<'EOF'
import sys, zipfile
path, top, expected = sys.argv[1], sys.argv[2], sys.argv[3:]
names = set(zipfile.ZipFile(path).namelist())
absent = [name for name in expected if f"{top}/{name}" not in names]
sys.exit(f"not in {path}: {absent}" if absent else None)
EOF
echo "   ${#contents[@]} files present"
passed=$((passed + 1))

ensure_reference_build
reference_tools="$repo/$reference_build/tools"

# Windows paths and where they lie under the prefix.
folder='C:\요양 병원\grouper'
installed="$WINEPREFIX/drive_c/요양 병원/grouper"
data_folder='C:\자료 2026'
data="$WINEPREFIX/drive_c/자료 2026"
# The Start-menu folder the Korean guide names (docs/ko/install.html).
menu="$WINEPREFIX/drive_c/ProgramData/Microsoft/Windows/Start Menu/Programs/grouper"
desktop_link="$WINEPREFIX/drive_c/users/Public/Desktop/grouper-month.lnk"
# The installer is 64-bit and writes the 64-bit view of the registry; every
# `wine reg` here names that view (/reg:64): where 32-bit Wine is installed
# (.ci/windows-x86.sh), `wine reg` is the 32-bit reg.exe, which reads the
# 32-bit view and would not find the installer's keys.
uninstall_key='HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\grouper'
# What an earlier, interrupted run may have left: the installer would offer to
# run the uninstaller that its registration names.
rm -rf "$installed" "$data" "$menu" "$desktop_link"
wine reg delete "$uninstall_key" /f /reg:64 >/dev/null 2>&1 || true
mkdir -p "$data"

echo "== silent install into $folder"
(cd "$dist" && wine cmd /c "$installer /S /D=$folder")
wineserver -w
for name in "${contents[@]}" Uninstall.exe; do
  [ -f "$installed/$name" ] || { echo "!! not installed: $name"; exit 1; }
done
[ -f "$menu/grouper.lnk" ] || { echo "!! no Start-menu entry $menu/grouper.lnk"; exit 1; }
if ! wine reg query "$uninstall_key" /reg:64 >/dev/null; then
  echo "!! the uninstaller's registration $uninstall_key is not in the 64-bit registry"
  exit 1
fi
if ! file "$installed/bin/x86/grouper.dll" | grep "PE32 executable (DLL).*Intel 80386" >/dev/null; then
  echo "!! bin\\x86\\grouper.dll is not a 32-bit x86 DLL: $(file -b "$installed/bin/x86/grouper.dll")"
  exit 1
fi
echo "   ${#contents[@]} files (the 32-bit grouper.dll in bin\\x86), the uninstaller, its registration" \
  "and the Start-menu entry"
passed=$((passed + 1))

echo "== the shortcuts and their targets"
python3 - "$folder" "$menu" "$desktop_link" <<'EOF'
import os, sys


def link_target(path):
    """The target of a shortcut as Wine writes it, from its item list: the drive, then each
    folder's and the file's long name, which Wine keeps in UTF-16 from byte 20 of the
    extension block that ends the item (whose start the item's last two bytes give). The
    ANSI path of the link's location part has '?' for Hangul under code page 1252."""
    data = open(path, "rb").read()
    if data[:4] != b"L\0\0\0" or not data[20] & 1:
        return "(no item list)"
    ids = data[78:78 + int.from_bytes(data[76:78], "little")]
    parts = []
    while len(ids) > 2 and int.from_bytes(ids[:2], "little") > 0:
        size = int.from_bytes(ids[:2], "little")
        item, ids = ids[:size], ids[size:]
        if item[2] & 0x70 == 0x20:  # a drive, "C:\"
            parts.append(item[3:].split(b"\0")[0].decode("ascii").rstrip("\\"))
        elif item[2] & 0x70 == 0x30:  # a folder or a file
            block = int.from_bytes(item[-2:], "little")
            parts.append(item[block + 20:-2].decode("utf-16-le").split("\0")[0])
    return "\\".join(parts)


folder, menu, desktop = sys.argv[1:4]
month = folder + "\\bin\\grouper-month.exe"
expected = {desktop: month, os.path.join(menu, "grouper-month.lnk"): month,
            os.path.join(menu, "grouper 사용 안내.lnk"): folder + "\\doc\\ko\\index.html",
            os.path.join(menu, "grouper (브라우저에서).lnk"): folder + "\\grouper.html",
            os.path.join(menu, "grouper.lnk"): "C:\\windows\\system32\\cmd.exe"}
found = {p: link_target(p) if os.path.exists(p) else "(none)" for p in expected}
wrong = {p: (found[p], t) for p, t in expected.items()
         if found[p].lower() != t.lower()}
sys.exit(f"!! shortcuts (found, expected): {wrong}" if wrong else None)
EOF
echo "   grouper-month on the Start menu and the public desktop, the Korean guide, the batch," \
  "the page in the browser"
passed=$((passed + 1))

echo "== the installed programs on Hangul paths, against the Linux build"
input='2026년 12월.txt'
"$reference_tools/grouper-sample" --count "$records" --seed 12 --faults 0.1 >"$data/$input"
cat "$repo/examples/sample.in" >>"$data/$input"
status=0
(cd "$data" && TZ=Asia/Seoul "$repo/$reference_build/grouper" "$input" reference.out \
  >reference.console) || status=$?
windows_status=0
(cd "$data" && TZ=KST-9 wine "$folder\\bin\\grouper.exe" "$data_folder\\$input" '결과 12월.txt' \
  >windows.console) || windows_status=$?
[ "$status" = "$windows_status" ] || { echo "!! exit status $windows_status, Linux $status"; exit 1; }
cmp "$data/reference.out" "$data/결과 12월.txt"
cmp "$data/reference.console" "$data/windows.console"
echo "   grouper.exe: $(wc -l <"$data/$input") records, result file and console identical"

TZ=KST-9 wine "$folder\\bin\\grouper-explain.exe" --json "$data_folder\\$input" >"$data/explain.windows"
TZ=Asia/Seoul "$reference_tools/grouper-explain" --json "$data/$input" >"$data/explain.reference"
cmp "$data/explain.reference" "$data/explain.windows"
(cd "$data" && TZ=KST-9 wine "$folder\\bin\\grouper-report.exe" "$input" '보고서 12월.html' >/dev/null)
(cd "$data" && TZ=Asia/Seoul "$reference_tools/grouper-report" "$input" reference.html >/dev/null)
same_report "$data/reference.html" "$data/보고서 12월.html"
echo "   grouper-explain.exe --json and grouper-report.exe (the page names $input): identical"
passed=$((passed + 1))

echo "== the installed grouper-month.exe under the ANSI code pages 1252 and 949"
python3 tests/month/check_month.py --wine --month "$installed/bin/grouper-month.exe" \
  --grouper "$reference_build/grouper" --explain "$reference_tools/grouper-explain" \
  --report "$reference_tools/grouper-report" --sample "$reference_tools/grouper-sample"
passed=$((passed + 1))

echo "== a C program linked against lib\\grouper.lib"
x86_64-w64-mingw32-gcc -std=c99 -Wall -Wextra -Werror -DGROUPER_SHARED -I"$installed/include" \
  tests/package/group_threads.c "$installed/lib/grouper.lib" -pthread -static \
  -o "$data/group_threads.exe"
if ! x86_64-w64-mingw32-objdump -p "$data/group_threads.exe" | grep "DLL Name: grouper.dll" >/dev/null; then
  echo "!! the C program linked against lib\\grouper.lib does not import grouper.dll"
  exit 1
fi
cp "$installed/bin/grouper.dll" "$data/"
cp "$data/$input" "$data/month.in"  # the C program opens files with fopen: an ASCII name
(cd "$data" && TZ=KST-9 wine group_threads.exe month.in c.out c.console >/dev/null)
cmp "$data/reference.out" "$data/c.out"
cmp "$data/reference.console" "$data/c.console"
echo "   its result file and console equal the batch's"
passed=$((passed + 1))

echo "== silent uninstall"
wine "$folder\\Uninstall.exe" /S
wineserver -w
if [ -e "$installed" ] || [ -e "$menu" ] || [ -e "$desktop_link" ]; then
  echo "!! left after uninstalling:"
  find "$installed" "$menu" "$desktop_link" 2>/dev/null
  exit 1
fi
for key in "$uninstall_key" 'HKLM\Software\grouper developers\grouper'; do
  if wine reg query "$key" /reg:64 >/dev/null 2>&1; then
    echo "!! left in the registry: $key"
    exit 1
  fi
done
echo "   $folder, the Start-menu folder, the desktop shortcut and the registry entries are gone"
passed=$((passed + 1))
rm -rf "$data"

echo "package-windows: $passed passed, 0 failed"
