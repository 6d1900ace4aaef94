#!/usr/bin/env python3
"""A binding's command against the batch program, byte for byte.

    check_bindings.py --batch GROUPER --sample GROUPER_SAMPLE --explain GROUPER_EXPLAIN
        --record-file FILE --version V --work DIR --check CHECK... --command COMMAND...
    check_bindings.py --skip WHY

Generates records of every form version with faults, adds lines of any bytes
(records with random bytes written over them, lines of random bytes, a NUL, a
line longer than one read, no final line end), and compares:
  - COMMAND --threads 4 IN OUT with `grouper IN OUT`: the result file, the
    console and the exit status;
  - COMMAND --threads 4 --explain IN with `grouper-explain --json IN`;
  - COMMAND's refusals: bad arguments, a missing input or a directory, the
    input as output (also through a hard or a symbolic link).
Then runs CHECK VERSION FILE, the binding's checks of bad arguments (FILE's
first line is a valid record). Exit status 0 when all agree, 1 otherwise, 77
with --skip (CTest's skipped).
"""

import os
import random
import subprocess
import sys

SEED = 21
RECORDS = 4000

# A NUL, a line the batch reads in three pieces, high bytes and a tab, blank
# lines, and a last line without a line end.
ODD_LINES = b"\n   \r\n091\x00after\r\n092" + b"9" * 2500 + b"\r\n\xbf\xc0\xb7\xf9 \t\r\n089 end"


def arguments(argv):
    """The named values, and the CHECK and COMMAND lists, which end the line."""
    values = {}
    check_at, command_at = argv.index("--check"), argv.index("--command")
    head = argv[:check_at]
    for i in range(0, len(head), 2):
        values[head[i].lstrip("-")] = head[i + 1]
    return values, argv[check_at + 1 : command_at], argv[command_at + 1 :]


def any_bytes(records, rng):
    """Records with bytes of any value written over them, and lines of random bytes."""
    lines = []
    for record in rng.sample(records, 150):
        mutated = bytearray(record)
        for _ in range(rng.randint(1, 4)):
            mutated[rng.randrange(len(mutated))] = rng.randrange(256)
        lines.append(bytes(mutated))
    for _ in range(50):
        lines.append(bytes(rng.randrange(256) for _ in range(rng.randint(0, 1200))) + b"\r\n")
    return b"".join(lines)


def run(command, **kwargs):
    return subprocess.run(
        command, stdout=subprocess.PIPE, stderr=subprocess.PIPE, timeout=240, **kwargs
    )


class Checks:
    def __init__(self):
        self.failed = 0

    def equal(self, what, got, expected):
        if got == expected:
            print("ok:", what)
            return
        self.failed += 1
        print("FAILED:", what)
        if isinstance(got, bytes) and isinstance(expected, bytes):
            got_lines, expected_lines = got.split(b"\n"), expected.split(b"\n")
            print("  %d lines against %d" % (len(got_lines), len(expected_lines)))
            for i, (g, e) in enumerate(zip(got_lines, expected_lines)):
                if g != e:
                    print("  first difference, line %d:" % (i + 1))
                    print("    got      %r\n    expected %r" % (g, e))
                    break
        else:
            print(("  got %r, expected %r" % (got, expected))[:2000])


def main(argv):
    if argv[:1] == ["--skip"]:
        print("skipped:", argv[1])
        return 77
    values, check, command = arguments(argv)
    work = values["work"]
    os.makedirs(work, exist_ok=True)
    sample = run(
        [values["sample"], "--count", str(RECORDS), "--seed", str(SEED), "--faults", "0.1"]
    )
    records = sample.stdout.splitlines(keepends=True)
    data = sample.stdout + any_bytes(records, random.Random(SEED)) + ODD_LINES
    source = os.path.join(work, "in")
    with open(source, "wb") as f:
        f.write(data)

    checks = Checks()
    batch_out, command_out = os.path.join(work, "batch.out"), os.path.join(work, "command.out")
    batch = run([values["batch"], source, batch_out])
    answered = run(command + ["--threads", "4", source, command_out])
    checks.equal("console of --threads 4", answered.stdout, batch.stdout)
    checks.equal("exit status", (answered.returncode, answered.stderr), (batch.returncode, b""))
    with open(batch_out, "rb") as f, open(command_out, "rb") as g:
        checks.equal("result file of --threads 4", g.read(), f.read())

    explained = run([values["explain"], "--json", source])
    ours = run(command + ["--threads", "4", "--explain", source])
    checks.equal("--explain", ours.stdout, explained.stdout)
    checks.equal("exit status of --explain", ours.returncode, explained.returncode)

    missing = os.path.join(work, "missing")
    hard, soft = os.path.join(work, "hard"), os.path.join(work, "soft")
    for link in (hard, soft):
        if os.path.lexists(link):
            os.remove(link)
    os.link(source, hard)
    os.symlink(source, soft)
    def refused(name):
        return b"OUTPUT File Open Error - " + name.encode() + b"\n"

    refusals = [
        ("no arguments", [], 2, b""),
        ("three files", [source, command_out, command_out], 2, b""),
        ("--threads 0", ["--threads", "0", source, command_out], 2, b""),
        ("a missing input", [missing, command_out], 1,
         b"INPUT File Open Error - " + missing.encode() + b"\n"),
        ("a directory as input", [work, command_out], 1,
         b"INPUT File Open Error - " + work.encode() + b"\n"),
        ("the input as output", [source, source], 1, refused(source)),
        ("a hard link to the input as output", [source, hard], 1, refused(hard)),
        ("a symbolic link to the input as output", [source, soft], 1, refused(soft)),
    ]
    for what, args, status, console in refusals:
        answered = run(command + args)
        checks.equal(what, (answered.returncode, answered.stdout), (status, console))
    with open(source, "rb") as f:
        checks.equal("the input is left as it was", f.read(), data)

    checked = run(check + [values["version"], values["record-file"]])
    for stream in (checked.stdout, checked.stderr):
        sys.stdout.write(stream.decode("utf-8", "replace"))
    checks.equal("bad arguments (" + os.path.basename(check[-1]) + ")", checked.returncode, 0)
    return 1 if checks.failed else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
