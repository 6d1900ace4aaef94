#!/usr/bin/env bash
# The writers' fault suite (tests/writers/check_writers.py) over every program
# that writes a file: the batch, grouper-month and grouper-report of the
# default build, the Java and .NET commands (built there once .ci/bindings.sh
# has installed a JDK, JNA and Mono), and, under Wine, the Windows programs of
# build/windows (made by .ci/windows.sh) in its Wine prefix, for the row of a
# file that another program holds open. Every column runs here: the programs
# are named, so a missing one is an error, not a skipped column.
set -euo pipefail
cd "$(dirname "$0")/.."

source .ci/packages.sh
require_packages python3 util-linux default-jdk-headless libjna-java mono-mcs mono-runtime \
  g++-mingw-w64-x86-64 wine wine64

cmake --preset default >/dev/null
cmake --build --preset default --target grouper grouper-month grouper-report grouper-sample \
  grouper_shared grouper_jar grouper_dotnet
if [ ! -f build/windows/CMakeCache.txt ]; then cmake --preset windows >/dev/null; fi
cmake --build build/windows --target grouper grouper-month grouper-report

export WINEPREFIX="$PWD/build/windows/wine" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
trap 'wineserver -k 2>/dev/null || true' EXIT
if [ ! -f "$WINEPREFIX/system.reg" ]; then
  mkdir -p "$WINEPREFIX"
  wineboot --init >/dev/null 2>&1
  wineserver -w
fi

b=build/default
python3 tests/writers/check_writers.py \
  --grouper "$b/grouper" --month "$b/tools/grouper-month" --report "$b/tools/grouper-report" \
  --sample "$b/tools/grouper-sample" --library "$b/libgrouper.so.1" \
  --java "$(command -v java)" --classpath "$b/bindings/java/grouper.jar:/usr/share/java/jna.jar" \
  --mono "$(command -v mono)" --dotnet "$b/bindings/dotnet/grouper-dotnet.exe" \
  --wine build/windows
