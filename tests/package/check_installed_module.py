"""The installed Python module, imported as a user imports it (no variable).

check_installed_module.py VERSION PREFIX INPUT RESULT: the module must load the
library installed under PREFIX (not one found elsewhere on the system), carry
VERSION as the library does, and format every line of INPUT as the batch's
RESULT file holds it.
"""

import os
import sys

import grouper

version, prefix, input_path, result_path = sys.argv[1:]
problems = []
loaded = os.path.realpath(grouper._library()._name)
if not loaded.startswith(os.path.realpath(prefix) + os.sep):
    problems.append(f"loaded {loaded}, not the library installed under {prefix}")
if not (grouper.__version__ == grouper.version() == version):
    problems.append(f"versions: module {grouper.__version__}, library {grouper.version()}, {version}")

with open(input_path, "rb") as f:  # the batch's reads, as group_file makes them
    reads = list(grouper.reads(f))
results = list(grouper.group_file(input_path))
formatted = b"".join(grouper.format_output_line(r, a) for r, a in zip(reads, results))
with open(result_path, "rb") as f:
    if len(results) != len(reads) or formatted != f.read():
        problems.append("the module's answers differ from the batch's result file")

if problems:
    sys.exit("\n".join(problems))
print(f"Python module {grouper.__version__} from {loaded}: {len(results)} lines as the batch")
