#!/usr/bin/env python3
"""The command lines of the helper programs, side by side: each --help lists the
options that the program takes and its manual page lists the same; a bad command line
gets the same words from every program (an unknown option, a missing value, a value
given to a flag, an empty argument) with the usage and status 2; "--x=v" means
"--x v"; and an output that cannot be written (standard output full or closed) is
said on standard error with the system's reason, with status 1, never passed over; a
file name or an argument that is not UTF-8 is shown escaped. grouper-month says all of this
in Korean unless --lang en comes first, and a file it cannot open in one line with the
system's reason once.

Usage: check_command_lines.py GROUPER_EXPLAIN GROUPER_REPORT GROUPER_SAMPLE GROUPER_MONTH SOURCE_DIR
"""
import errno
import os
import re
import subprocess
import sys
import tempfile

failures = []


def check(condition, what):
    if not condition:
        failures.append(what)


def run(*args, stdout=subprocess.PIPE, close_stdout=False):
    return subprocess.run([str(a) for a in args], stdout=stdout, stderr=subprocess.PIPE,
                          preexec_fn=(lambda: os.close(1)) if close_stdout else None)


def long_options(text):
    return set(re.findall(r"(?<![\w-])--[a-z][a-z-]*", text))


def main():
    explain, report, sample, month, source_dir = sys.argv[1:6]
    bundled = os.path.join(source_dir, "examples", "sample.in")
    tools = {"grouper-explain": explain, "grouper-report": report, "grouper-sample": sample,
             "grouper-month": month}
    # An option of each program that takes a value, where it has one.
    valued = {"grouper-explain": "--lines", "grouper-report": None, "grouper-sample": "--count",
              "grouper-month": None}
    # What makes a program say these things in English (grouper-month's default is Korean).
    english = {name: ["--lang", "en"] if name == "grouper-month" else [] for name in tools}

    for name, program in tools.items():
        done = run(program, *english[name], "--help")
        help_text = done.stdout.decode()
        check(done.returncode == 0 and help_text.startswith(f"usage: {name}"), f"{name} --help")
        listed = long_options(help_text)
        manual = open(os.path.join(source_dir, "docs", "man", name + ".1.in")).read()
        in_manual = long_options(manual.replace("\\-", "-"))
        check(listed == in_manual, f"{name}: --help lists {sorted(listed)}, "
                                   f"the manual {sorted(in_manual)}")
        for option in listed:
            said = run(program, *english[name], option).stderr.decode()
            check("unknown option" not in said, f"{name}: --help lists {option}, refused: {said}")

        bad = [(["--bogus", bundled], "unknown option '--bogus'"),
               (["-x", bundled], "unknown option '-x'"),
               (["--hel", bundled], "unknown option '--hel'"),
               (["--help=1"], "--help takes no value"),
               (["", bundled], "an empty argument")]
        if valued[name]:
            bad.append(([valued[name]], f"{valued[name]} needs a value"))
        for args, message in bad:
            done = run(program, *english[name], *args)
            said = done.stderr.decode().splitlines()
            check(done.returncode == 2 and said[:1] == [f"{name}: {message}"]
                  and said[1:2] and said[1].startswith(f"usage: {name}") and not done.stdout,
                  f"{name} {args}: status {done.returncode}, said {said[:2]}")

    # grouper-month in Korean, by default and when --lang en comes only after the problem.
    korean_help = run(month, "--help").stdout.decode()
    english_help = run(month, "--lang", "en", "--help").stdout.decode()
    check(korean_help.startswith("사용법: grouper-month") and "옵션:" in korean_help and
          long_options(korean_help) == long_options(english_help),
          f"grouper-month's Korean help: {korean_help!r}")
    for args, message in (
            (["--bogus", bundled], "알 수 없는 옵션 '--bogus'"),
            (["--bogus", "--lang", "en"], "알 수 없는 옵션 '--bogus'"),
            (["--lang"], "--lang 뒤에 값이 있어야 합니다"),
            (["--no-open=1"], "--no-open에는 값을 붙일 수 없습니다"),
            ([""], "빈 인수가 있습니다"),
            (["--lang", "fr", bundled], "--lang에는 ko 또는 en을 주십시오"),
            (["--lang", "en", "--lang", "ko", "a", "b"], "입력 파일은 하나만 지정하십시오"),
            (["--lang", "en", "a", "b"], "one file only"),
            (["--lang=en", "--lang", "x"], "--lang takes ko or en")):
        done = run(month, *args)
        said = done.stderr.decode().splitlines()
        usage = "usage: grouper-month" if message.isascii() else "사용법: grouper-month"
        check(done.returncode == 2 and said[:1] == [f"grouper-month: {message}"] and
              said[1:2] and said[1].startswith(usage) and not done.stdout,
              f"grouper-month {args}: status {done.returncode}, said {said[:2]}")

    joined = run(explain, "--lines=1,8", "--lang=en", "--json", bundled)
    apart = run(explain, "--lines", "1,8", "--lang", "en", "--json", bundled)
    check(joined.returncode == 0 and joined.stdout and joined.stdout == apart.stdout,
          "grouper-explain: --x=v is not --x v")

    # A name that is not UTF-8 (code page 949 bytes on a Linux disk) is shown escaped in
    # the UTF-8 message, the same by both programs that open files.
    if os.name == "posix":
        with tempfile.TemporaryDirectory() as tmp:
            missing = os.path.join(tmp.encode(), b"\xb1\xe8 \xbf\xf9.in")
            shown = os.path.join(tmp, "\\xB1\\xE8 \\xBF\\xF9.in")
            for name, args in (("grouper-explain", [missing]),
                               ("grouper-report", [missing, os.path.join(tmp, "r.html")]),
                               ("grouper-month", [b"--lang", b"en", b"--no-open", missing])):
                done = subprocess.run([tools[name].encode()] + args, stderr=subprocess.PIPE)
                said = done.stderr.decode("utf-8", "replace")
                check(done.returncode == 1 and said == f"{name}: cannot open {shown}: "
                      f"{os.strerror(errno.ENOENT)}\n", f"{name}: a code page 949 name: {said!r}")
            # In Korean: one line, the system's reason once.
            done = subprocess.run([month.encode(), b"--no-open", missing], stderr=subprocess.PIPE)
            said = done.stderr.decode("utf-8", "replace")
            check(done.returncode == 1 and said == f"grouper-month: 입력 파일을 열 수 없습니다: "
                  f"{shown}: {os.strerror(errno.ENOENT)}\n",
                  f"grouper-month: a code page 949 name in Korean: {said!r}")

    # An argument that is not UTF-8 is shown escaped in a usage error too, by every program.
    if os.name == "posix":
        for name, program in tools.items():
            done = subprocess.run([program.encode()] + [a.encode() for a in english[name]] +
                                  [b"--\xb1\xe8"], stdout=subprocess.PIPE,
                                  stderr=subprocess.PIPE)
            said = done.stderr.decode("utf-8", "replace").splitlines()[:1]
            check(done.returncode == 2 and said == [f"{name}: unknown option '--\\xB1\\xE8'"],
                  f"{name}: a code page 949 argument: {said}")

    if os.name == "posix" and os.path.exists("/dev/full"):
        with tempfile.TemporaryDirectory() as tmp:
            page = os.path.join(tmp, "month.html")
            commands = {"grouper-explain": [explain, bundled],
                        "grouper-sample": [sample, "--count", "3000"],
                        "grouper-report": [report, bundled, page]}
            for name, command in commands.items():
                for args in (command, [command[0], "--help"]):
                    for reason, how in ((errno.ENOSPC, "full"), (errno.EBADF, "closed")):
                        if how == "full":
                            with open("/dev/full", "wb") as full:
                                done = run(*args, stdout=full)
                        else:
                            done = run(*args, stdout=None, close_stdout=True)
                        said = done.stderr.decode().splitlines()
                        check(done.returncode == 1 and said[-1:] == [
                            f"{name}: cannot write standard output: {os.strerror(reason)}"],
                              f"{args[1:]} to a {how} standard output: "
                              f"status {done.returncode}, said {said}")
            for reason, how in ((errno.ENOSPC, "full"), (errno.EBADF, "closed")):
                for lang, words in (("en", "cannot write standard output"),
                                    ("ko", "표준 출력에 쓸 수 없습니다")):
                    if how == "full":
                        with open("/dev/full", "wb") as full:
                            done = run(month, "--lang", lang, "--help", stdout=full)
                    else:
                        done = run(month, "--lang", lang, "--help", stdout=None,
                                   close_stdout=True)
                    said = done.stderr.decode().splitlines()
                    check(done.returncode == 1 and said[-1:] == [
                        f"grouper-month: {words}: {os.strerror(reason)}"],
                          f"grouper-month --help to a {how} standard output: {said}")
            # The page is whole even when the summary line could not be written.
            check(open(page, encoding="utf-8").read().endswith("</html>\n"), "the page")

    for f in failures[:20]:
        print("FAILED:", f)
    print(f"check_command_lines: {len(failures)} failures")
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
