#!/usr/bin/env bash
# The monthly report in a real browser: installs Debian's chromium (and a
# Korean font, so that its screenshots show the labels), then runs the report's
# browser test, which must run here rather than be skipped. The test also draws
# the Korean guide's pictures of the report and fails when a committed one
# (docs/ko/images/) is missing, not the size of the fresh one, or kept beside a
# text (NAME.txt) other than the text the fresh one shows.
set -euo pipefail
cd "$(dirname "$0")/.."

source .ci/packages.sh
require_packages chromium fonts-nanum python3

# Configure again: the test is registered only where Python was found.
cmake --preset default >/dev/null
cmake --build --preset default
REPORT_TEST_REQUIRE_CHROMIUM=1 ctest --preset default -R '^report_browser$' --no-tests=error
