#!/usr/bin/env python3
"""grouper-month end to end, on a month's file under a Hangul path with blanks (on
Linux also one whose names are code page 949 bytes): its three files are the batch's
result file, grouper-explain's CSV and grouper-report's page (but for the time the
page was made); nothing else is written anywhere, the input is untouched, and its
summary gives the batch's counts; a second run replaces its own files; where the
folder cannot be made, the files go to "grouper" in the documents; and the page is
opened (a fake xdg-open on the PATH records it) unless --no-open, and a page that does
not open (no xdg-open, or one that fails) is said on standard error but is no error. A read-only folder is tried too where the permissions hold (not as root).

With --wine, MONTH is the Windows program, run under Wine (WINEPREFIX and the other
variables from the caller) once for each ANSI code page that the locales give
(LANG=C.UTF-8: 1252; ko_KR.UTF-8, where generated: 949), against the Linux programs;
the code page 949 names, the browser and the read-only folder are Linux's only.

Usage: check_month.py --month M --grouper G --explain E --report R --sample S [--wine]
"""
import argparse
import os
import re
import shutil
import stat
import subprocess
import sys
import tempfile

failures = []
# The page's time, for a machine (ISO 8601) and for a clerk ("2026-12-09 20:31 (UTC+09:00)").
STAMP = re.compile(rb"\d{4}-\d\d-\d\d(T\d\d:\d\d:\d\d[+-]\d\d:\d\d| \d\d:\d\d \(UTC[+-]\d\d:\d\d\))")


def check(condition, what):
    if not condition:
        failures.append(what)
    return condition


def listing(root):
    """Every path under `root` (bytes, relative), with each file's bytes."""
    found = {}
    for folder, dirs, files in os.walk(os.fsencode(root)):
        for name in dirs + files:
            path = os.path.join(folder, name)
            found[os.path.relpath(path, os.fsencode(root))] = (
                None if os.path.isdir(path) else open(path, "rb").read())
    return found


class Programs:
    def __init__(self, options, work):
        self.o, self.work = options, work
        self.bin = os.path.join(work, "bin")  # the fake xdg-open
        os.mkdir(self.bin)
        self.opened = os.path.join(work, "opened")
        with open(os.path.join(self.bin, "xdg-open"), "w") as f:
            f.write(f'#!/bin/sh\nprintf %s "$1" >"{self.opened}"\n')
        os.chmod(os.path.join(self.bin, "xdg-open"), 0o755)

    def month(self, cwd, *args, lang="C.UTF-8", path=None, home=None):
        env = dict(os.environ, TZ="KST-9" if self.o.wine else "Asia/Seoul", LANG=lang,
                   LC_ALL=lang)
        if not self.o.wine:  # Wine keeps its own: it writes its settings under HOME
            env.update(HOME=home or self.work, PATH=path or self.bin)
        command = (["wine"] if self.o.wine else []) + [self.o.month, *args]
        return subprocess.run(command, cwd=cwd, env=env, capture_output=True,
                              stdin=subprocess.DEVNULL)

    def references(self, input_path):
        """The batch's result and console, grouper-explain's CSV and grouper-report's page."""
        ref = os.fsencode(os.path.join(self.work, "ref"))
        os.makedirs(ref, exist_ok=True)
        env = dict(os.environ, TZ="Asia/Seoul")
        page = os.path.join(ref, os.path.basename(input_path)) + b".html"
        console = subprocess.run([self.o.grouper, input_path, os.path.join(ref, b"ref.out")],
                                 env=env, capture_output=True).stdout
        csv = subprocess.run([self.o.explain, "--csv-ko", input_path], env=env,
                             capture_output=True).stdout
        subprocess.run([self.o.report, input_path, page], env=env, capture_output=True)
        found = (read(os.path.join(ref, b"ref.out")), csv, read(page), console)
        shutil.rmtree(ref)
        return found


def read(path):
    return open(path, "rb").read() if os.path.exists(path) else b""


def counts(console):
    """Grouped, rejected and wrong-data-type lines, from the batch's console lines."""
    lines = console.decode("cp949").splitlines()[1:]
    grouped = sum(".. 완료 (" in line for line in lines)
    wrong = sum(line.endswith("잘못된 데이타 타입입니다. ") for line in lines)
    return len(lines), grouped, len(lines) - grouped - wrong, wrong


def products(folder, stem):
    return [os.path.join(folder, stem + ext) for ext in (b".out", b".csv", b".html")]


def same_products(where, folder, stem, input_path, said):
    """The three files against the programs' own, and the summary against the batch."""
    result, csv, page, console = P.references(input_path)
    out, table, html = (read(p) for p in products(folder, stem))
    check(out == result and len(out) > 0, f"{where}: .out is not the batch's result")
    check(table == csv and len(table) > 0, f"{where}: .csv is not grouper-explain --csv-ko")
    check(STAMP.sub(b"T", html) == STAMP.sub(b"T", page) and b"</html>" in html,
          f"{where}: .html is not grouper-report's page")
    total, grouped, rejected, wrong = counts(console)
    text = said.decode("utf-8", "replace")
    check(f"전체 {total:,}줄: 분류 완료 {grouped:,}건, 오류 기록 {rejected:,}건, "
          f"잘못된 데이타 타입 {wrong:,}건" in text, f"{where}: summary {text[-400:]!r}")


def gesture(work, parent, name, data, lang):
    """One input under `work`/`parent`/`name`: two runs, everything checked."""
    where = f"{os.fsdecode(name)} ({lang})"
    work = os.fsencode(work)
    os.makedirs(os.path.join(work, parent))
    relative = os.path.join(parent, name)
    with open(os.path.join(work, relative), "wb") as f:
        f.write(data)
    stem = os.path.splitext(name)[0]
    folder = os.path.join(parent, stem + b"_grouper")
    for run, content in enumerate((data, data + data[:len(data) // 3])):
        if run == 1:  # a second run after the file was mended: its files are replaced
            with open(os.path.join(work, relative), "wb") as f:
                f.write(content)
        before = listing(work)
        done = P.month(work, "--no-open", relative, lang=lang)
        after = listing(work)
        check(done.returncode == 0 and done.stderr == b"",
              f"{where} run {run + 1}: status {done.returncode}, {done.stderr[-300:]!r}")
        changed = {p for p in set(before) | set(after) if before.get(p, 0) != after.get(p, 0)}
        made = {folder} if run == 0 else set()
        check(changed == made | set(products(folder, stem)),
              f"{where} run {run + 1}: written {sorted(changed)}")
        check(after.get(relative) == content, f"{where}: the input changed")
        same_products(f"{where} run {run + 1}", os.path.join(work, folder), stem,
                      os.path.join(work, relative), done.stdout)
    check(not os.path.exists(P.opened), f"{where}: --no-open opened the page")
    shutil.rmtree(os.path.join(work, parent.split(b"/")[0]))


def fallback(work, lang):
    """The folder cannot be made (a file of its name, or a read-only folder): documents."""
    home = os.path.join(work, "home")
    os.makedirs(os.path.join(home, "Documents"))
    parent = os.path.join(work, "막힌 폴더")
    os.mkdir(parent)
    shutil.copy(os.path.join(work, "month.in"), os.path.join(parent, "12월 자료.txt"))
    ways = {"a file in its place": lambda: open(os.path.join(parent, "12월 자료_grouper"),
                                                "w").close()}
    if not P.o.wine and os.geteuid() != 0:
        ways["a read-only folder"] = lambda: os.chmod(parent, stat.S_IRUSR | stat.S_IXUSR)
    for way, block in ways.items():
        block()
        before = listing(parent)
        done = P.month(parent, "--no-open", "12월 자료.txt", lang=lang, home=home)
        said = done.stdout.decode("utf-8", "replace")
        shown = re.search(r"^폴더: (.*)$", said, re.M)
        folder = shown.group(1) if shown else ""
        if P.o.wine and folder:
            folder = subprocess.run(["winepath", "-u", folder], capture_output=True,
                                    text=True).stdout.strip()
        expected = os.path.join(home, "Documents", "grouper")
        check(done.returncode == 0 and "문서 폴더" in said and
              (P.o.wine and folder.endswith("/grouper") or folder == expected),
              f"fallback, {way}: status {done.returncode}, folder {folder!r}, {said[:300]!r}")
        check(listing(parent) == before, f"fallback, {way}: the input's folder changed")
        if folder and os.path.isdir(folder):
            same_products(f"fallback, {way}", os.fsencode(folder), "12월 자료".encode(),
                          os.path.join(parent, "12월 자료.txt").encode(), done.stdout)
            check(sorted(os.listdir(folder)) == ["12월 자료.csv", "12월 자료.html",
                                                 "12월 자료.out"],
                  f"fallback, {way}: {os.listdir(folder)}")
            # Under Wine the documents may be the user's own: only what was made goes.
            for made in products(os.fsencode(folder), "12월 자료".encode()):
                os.remove(made)
            os.rmdir(folder)
        os.chmod(parent, stat.S_IRWXU)
        for name in os.listdir(parent):
            if name != "12월 자료.txt":
                os.remove(os.path.join(parent, name))
    shutil.rmtree(parent)
    shutil.rmtree(home)


def browser_and_warnings(work):
    """The page opened through xdg-open, none is no error; a UTF-8 copy is warned of."""
    data = open(os.path.join(work, "month.in"), "rb").read()
    with open(os.path.join(work, "utf8 copy.txt"), "wb") as f:
        f.write(data.decode("cp949").encode("utf-8"))
    done = P.month(work, "utf8 copy.txt")
    page = os.path.realpath(os.path.join(work, "utf8 copy_grouper", "utf8 copy.html"))
    opened = open(P.opened).read() if os.path.exists(P.opened) else None
    check(done.returncode == 0 and opened == page, f"the page opened: {opened!r}")
    warned = [line for line in done.stdout.decode().splitlines() if line.startswith("경고: ")]
    check(len(warned) == 1 and "UTF-8" in warned[0], f"a UTF-8 copy: warnings {warned}")
    os.remove(P.opened)
    # A page that does not open is said, in Korean, and is no failure: no xdg-open, or one
    # that fails.
    failing = os.path.join(work, "failing")
    os.mkdir(failing)
    empty = os.path.join(work, "empty")
    os.mkdir(empty)
    with open(os.path.join(failing, "xdg-open"), "w") as f:
        f.write("#!/bin/sh\nexit 4\n")
    os.chmod(os.path.join(failing, "xdg-open"), 0o755)
    for way, path in (("no xdg-open", empty), ("a failing xdg-open", failing)):
        done = P.month(work, "month.in", path=path)
        said = done.stderr.decode("utf-8", "replace")
        check(done.returncode == 0 and "보고서를 브라우저로 열 수 없습니다" in said and
              said.rstrip().endswith(os.path.join("month_grouper", "month.html")),
              f"{way}: status {done.returncode}, {said!r}")
        check("경고" not in done.stdout.decode(), "a warning for a generated file")


def main():
    global P
    parser = argparse.ArgumentParser()
    for name in ("month", "grouper", "explain", "report", "sample"):
        parser.add_argument("--" + name, required=True)
    parser.add_argument("--wine", action="store_true")
    options = parser.parse_args()
    for name in ("month", "grouper", "explain", "report", "sample"):
        setattr(options, name, os.path.abspath(getattr(options, name)))
    langs = ["C.UTF-8"]
    if options.wine and "ko_KR.utf8" in subprocess.run(["locale", "-a"], capture_output=True,
                                                        text=True).stdout:
        langs.append("ko_KR.UTF-8")
    with tempfile.TemporaryDirectory() as work:
        P = Programs(options, work)
        data = subprocess.run([options.sample, "--count", "3000", "--seed", "26",
                               "--faults", "0.1"], capture_output=True).stdout
        with open(os.path.join(work, "month.in"), "wb") as f:
            f.write(data)
        for lang in langs:
            gesture(work, "요양 자료/2026 년".encode(), "2026년 12월.txt".encode(), data, lang)
            if not options.wine:
                gesture(work, "요양 자료".encode("cp949"), "2026년 12월.txt".encode("cp949"),
                        data, lang)
            fallback(work, lang)
        if not options.wine:
            browser_and_warnings(work)
    for f in failures[:20]:
        print("FAILED:", f)
    print(f"check_month: {len(failures)} failures ({', '.join(langs)})")
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
