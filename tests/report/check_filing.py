#!/usr/bin/env python3
"""What makes the monthly report fit to be filed, without a browser: the page names
its file's size and SHA-256, the period of the grouped assessments, the institution
codes with their counts, when it was made (ISO 8601 with the offset) and the
library's version; wrong-data-type lines carry their reasons; and the page warns,
with a banner and data-warnings, for a UTF-8 copy, a CR-only copy and an empty file,
but not for the bundled sample nor for a generated file; and the page stays UTF-8
whatever bytes the input's name holds.

Usage: check_filing.py GROUPER_REPORT GROUPER_EXPLAIN GROUPER_SAMPLE SOURCE_DIR
"""
import collections
import hashlib
import html
import json
import os
import re
import subprocess
import sys
import tempfile

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), ".."))
from explain_check import (FAMILY_COLUMN, check, layout_table, summary,  # noqa: E402
                           wrong_copies)


def run(*args):
    return subprocess.run(list(args), capture_output=True, env=dict(os.environ, TZ="Asia/Seoul"))


def report(program, path, tmp):
    """The page's filing attributes, its banner and its wrong-data-type reason rows."""
    out = os.path.join(tmp, os.path.basename(path) + ".html")
    done = run(program, path, out)
    check(done.returncode == 0, f"{path}: status {done.returncode}")
    page = open(out, encoding="utf-8").read()
    m = re.search(r'<section id="filing"([^>]*)>', page)
    attrs = {k: html.unescape(v) for k, v in re.findall(r'data-([a-z0-9-]+)="([^"]*)"',
                                                       m.group(1))} if m else {}
    institutions = {code: int(n) for code, n in
                    re.findall(r'data-institution-code="([^"]*)" data-count="(\d+)"', page)}
    reasons = re.findall(r'<tr data-wrong-type-line="(\d+)"><td class="num">\d+</td><td>([^<]*)<',
                         page)
    return page, attrs, institutions, reasons


def expected(explain, path, layout):
    """Period, institutions and wrong-data-type lines, from the lines and their answers."""
    answers = [json.loads(line) for line in run(explain, "--json", path).stdout.splitlines()]
    lines = open(path, "rb").read().split(b"\r\n")
    dates, institutions, wrong = [], collections.Counter(), []
    for line, a in zip(lines, answers):
        if a["result"] == "wrong_data_type":
            wrong.append((a["line"], a["length"]))
            continue
        family = FAMILY_COLUMN[a["layout"]]
        start = layout["institution_code"][1][family]
        institutions[line[start:start + 8].decode("cp949")] += 1
        if a["result"] == "group_code":
            start = layout["a_assessment_date"][1][family]
            dates.append(line[start:start + 8].decode())
    return dates, institutions, wrong


def main():
    program, explain, sample, source_dir = sys.argv[1:5]
    layout = layout_table(source_dir)
    header = open(os.path.join(source_dir, "include", "grouper", "grouper.h")).read()
    version = ".".join(re.search(rf"^#define GROUPER_VERSION_{part} ([0-9]+)$", header, re.M)[1]
                       for part in ("MAJOR", "MINOR", "PATCH"))
    with tempfile.TemporaryDirectory() as tmp:
        generated = os.path.join(tmp, "month.in")
        with open(generated, "wb") as f:
            f.write(run(sample, "--count", "3000", "--seed", "7", "--faults", "0.1").stdout)
        bundled = os.path.join(source_dir, "examples", "sample.in")
        for path in (bundled, generated):
            data = open(path, "rb").read()
            page, attrs, institutions, reasons = report(program, path, tmp)
            dates, counted, wrong = expected(explain, path, layout)
            where = os.path.basename(path)
            check(attrs.get("warnings") == "" and 'class="banner"' not in page,
                  f"{where}: a false alarm {attrs.get('warnings')}")
            check(attrs.get("file-sha256") == hashlib.sha256(data).hexdigest(), f"{where}: SHA-256")
            check(attrs.get("file-size") == str(len(data)), f"{where}: size")
            check((attrs.get("period-start"), attrs.get("period-end")) == (min(dates), max(dates)),
                  f"{where}: period {attrs.get('period-start')}..{attrs.get('period-end')}")
            check(institutions == dict(counted), f"{where}: institutions {institutions}")
            check(re.fullmatch(r"\d{4}-\d\d-\d\dT\d\d:\d\d:\d\d\+09:00", attrs.get("generated", "")),
                  f"{where}: generated {attrs.get('generated')}")
            check(attrs.get("version") == version, f"{where}: version")
            check(wrong and [int(n) for n, _ in reasons] == [n for n, _ in wrong][:50],
                  f"{where}: wrong-data-type reasons {reasons[:3]}")
            check(all(f"{length}바이트" in reason for (_, reason), (_, length) in zip(reasons, wrong)),
                  f"{where}: a reason does not give the line's length")
            # Dates and numbers in the value column stay on one line.
            check(re.search(r"td\.value[^{]*\{ white-space: nowrap", page)
                  and re.search(r'<td class="value">\d{8}</td>', page) is not None
                  or where == "sample.in", f"{where}: dates in the value column may wrap")

        for name, path in wrong_copies(tmp, bundled).items():
            page, attrs, _, _ = report(program, path, tmp)
            check(attrs.get("warnings") == name and page.count('class="banner"') == 1,
                  f"{name}: warnings {attrs.get('warnings')}")

        # The page is strict UTF-8 whatever the input's name: UTF-8 stays, every
        # other byte (a surrogate, an overlong form, code page 949) shows as \xNN.
        if os.name == "posix":
            names = {"가.in".encode(): "가.in", b"\xed\xa0\x80.in": "\\xED\\xA0\\x80.in",
                     b"\xc0\xaf.in": "\\xC0\\xAF.in", b"\xb0\xa1.in": "\\xB0\\xA1.in"}
            for raw, shown in names.items():
                path = os.path.join(os.fsencode(tmp), raw)
                with open(path, "wb") as f:
                    f.write(open(bundled, "rb").read())
                out = os.path.join(tmp, "named.html")
                done = run(program, path, out)
                try:
                    page = open(out, "rb").read().decode("utf-8") if done.returncode == 0 else ""
                except UnicodeDecodeError as e:
                    page = ""
                    check(False, f"{raw!r}: the page is not UTF-8: {e}")
                check(f'data-file-name="{shown}"' in page and f"<b>{shown}</b>" in page,
                      f"{raw!r}: the name is not shown as {shown}")

    return summary("check_filing")


if __name__ == "__main__":
    sys.exit(main())
