#!/usr/bin/env python3
"""A binding's command against the batch program, byte for byte.

    check_bindings.py --batch GROUPER --sample GROUPER_SAMPLE --explain GROUPER_EXPLAIN
        --record-file FILE --layout STRUCT_LAYOUT --version V --work DIR --names RUNTIME
        --check CHECK... --command COMMAND...
    check_bindings.py --skip WHY

Generates records of every form version with faults, adds lines of any bytes
(records with random bytes written over them, lines of random bytes, a NUL, a
line longer than one read, no final line end), and compares:
  - COMMAND --threads 4 IN OUT with `grouper IN OUT`: the result file, the
    console and the exit status;
  - COMMAND --threads 4 --explain IN with `grouper-explain --json IN`;
  - the result written to a pipe and to /dev/null;
  - COMMAND's refusals: bad arguments, a missing input or a directory, the
    input as output (also through a hard or a symbolic link), each without a
    stack trace, and --help and --version;
  - a run without the library: one line on stderr, exit status 1, the result
    file of an earlier run left as it was;
  - a result file of mode 0600 keeps its mode;
  - a full disk, and a disk with no file left to create (a small tmpfs, where
    this user may mount one), a directory and (as nobody, where this user is
    root) a read-only file as OUTPUT: exit status 1, the system's reason on
    stderr, the earlier result as it was and no temporary file left;
  - SIGINT, SIGTERM and SIGHUP once a run on 300,000 records has made its
    temporary file: the signal's status, the earlier result, no temporary file;
  - Hangul file names, in UTF-8 and in code page 949, under LANG=C and
    LANG=C.UTF-8: the batch's result, or, where RUNTIME ("java" or "mono")
    cannot take the name, a refusal that leaves the result file as it was.
Then runs CHECK VERSION FILE LAYOUT, the binding's checks of bad arguments and
of its copy of the C structures (FILE's first line is a valid record; LAYOUT
holds what the program STRUCT_LAYOUT prints, their offsets and sizes). Exit status 0 when all agree, 1 otherwise, 77
with --skip (CTest's skipped).
"""

import errno
import os
import pwd
import random
import signal
import subprocess
import sys
import threading
import time

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


def read(path):
    with open(path, "rb") as f:
        return f.read()


def write(path, data):
    with open(path, "wb") as f:
        f.write(data)


def plain_refusal(answered):
    """A refusal for a user's error: no stack trace, no exception's name."""
    said = answered.stdout + answered.stderr
    return b"\tat " not in said and b"   at " not in said and b"Exception" not in said


def into_a_pipe(command, fifo):
    """Runs `command` while another thread drains the named pipe `fifo`."""
    drained = []
    reader = threading.Thread(target=lambda: drained.append(read(fifo)), daemon=True)
    reader.start()
    answered = run(command)
    reader.join(timeout=5)
    if reader.is_alive():  # the command never opened the pipe: let the reader go
        os.close(os.open(fifo, os.O_WRONLY | os.O_NONBLOCK))
        reader.join(timeout=5)
    return answered, drained[0] if drained else None


def without_library(work):
    """The environment of a run whose library cannot be found."""
    env = {k: v for k, v in os.environ.items() if k != "LD_LIBRARY_PATH"}
    env["GROUPER_LIBRARY"] = os.path.join(work, "no such folder", "libgrouper.so.1")
    return env


def installed_library():
    """Whether the system's loader would find an installed libgrouper."""
    for ldconfig in ("ldconfig", "/sbin/ldconfig", "/usr/sbin/ldconfig"):
        try:
            listed = subprocess.run([ldconfig, "-p"], stdout=subprocess.PIPE,
                                    stderr=subprocess.DEVNULL).stdout
        except OSError:
            continue
        return b"libgrouper.so" in listed
    return False


def locale_env(lang, extra=()):
    env = {k: v for k, v in os.environ.items() if not k.startswith("LC_")}
    env["LANG"] = lang
    env.update(extra)
    return env


def names_taken(runtime, lang, encoding, extra):
    """Whether RUNTIME passes a file name in `encoding` to the program intact:
    Java decodes its arguments by the locale's encoding, Mono as UTF-8 (or,
    with MONO_EXTERNAL_ENCODINGS=latin1, byte by byte)."""
    if runtime == "java":
        return lang == "C.UTF-8" and encoding == "utf-8"
    return encoding == "utf-8" or dict(extra).get("MONO_EXTERNAL_ENCODINGS") == "latin1"


def check_names(checks, values, command, runtime, data):
    """Hangul names under LANG=C and LANG=C.UTF-8, in UTF-8 and code page 949.

    Mono's MONO_EXTERNAL_ENCODINGS=latin1, which passes code page 949 names
    byte for byte, is not tried here: Mono 6.8's own start-up aborts or hangs
    on such names for some lengths of the folder's name, before the command
    runs, so a check of it would answer differently from machine to machine."""
    work = os.fsencode(values["work"])
    variants = [()]
    for extra in variants:
        for lang in ("C", "C.UTF-8"):
            for encoding in ("utf-8", "cp949"):
                what = "names in %s under LANG=%s%s" % (
                    encoding, lang, "".join(" %s=%s" % kv for kv in extra))
                env = locale_env(lang, extra)
                source = os.path.join(work, "입력 파일.in".encode(encoding))
                result = os.path.join(work, "결과.out".encode(encoding))
                missing = os.path.join(work, "없는 파일.in".encode(encoding))
                write(source, data)
                write(result, b"kept")
                expected = run([values["batch"], source, os.path.join(work, b"names.out")])
                answered = run(command + [source, result], env=env)
                absent = run(command + [missing, result], env=env)
                if names_taken(runtime, lang, encoding, extra):
                    checks.equal(what, (answered.returncode, answered.stdout, read(result)),
                                 (0, expected.stdout, read(os.path.join(work, b"names.out"))))
                    checks.equal(what + ", a missing input", (absent.returncode, absent.stdout),
                                 (1, b"INPUT File Open Error - " + missing + b"\n"))
                    continue
                said = answered.stdout + answered.stderr
                clear = (b"MONO_EXTERNAL_ENCODINGS" in said if runtime == "mono"
                         else answered.stderr.count(b"\n") == 1 and b"LANG" in said)
                checks.equal(what + ": refused, the result file kept",
                             (answered.returncode != 0, read(result), clear,
                              plain_refusal(answered), absent.returncode != 0),
                             (True, b"kept", True, True, True))
                if runtime == "java":
                    checks.equal(what + ": exit status", answered.returncode, 1)


def check_full_disk(checks, command, work, source):
    """The result file on a tmpfs with no room for its bytes, and with no room
    for another file: the run fails with the system's reason, and the earlier
    result is what it was."""
    disk = os.path.join(work, "full")
    os.makedirs(disk, exist_ok=True)
    if os.path.ismount(disk):  # left by an interrupted run
        subprocess.run(["umount", disk])
    reason = os.strerror(errno.ENOSPC)
    cases = [  # (what, options, console's last line): the root folder and the result are 2 files
        ("a full disk", "size=64k", b"OUTPUT File Write Error - "),
        ("no file left to create", "size=64k,nr_inodes=2", b"OUTPUT File Open Error - "),
    ]
    for what, options, console in cases:
        try:
            mounted = run(["mount", "-t", "tmpfs", "-o", options, "tmpfs", disk])
            why = mounted.stderr.decode("utf-8", "replace").strip() if mounted.returncode else None
        except OSError as e:
            why = str(e)
        if why is not None:
            print("skipped: %s: cannot mount a tmpfs here: %s" % (what, (why + "\n").splitlines()[0]))
            return
        try:
            result = os.path.join(disk, "result")
            write(result, b"an earlier result")
            answered = run(command + [source, result])
            said = answered.stderr.decode("utf-8", "replace")
            checks.equal(what, (answered.returncode,
                                answered.stdout.endswith(console + result.encode() + b"\n"),
                                len(said.splitlines()), reason in said, result in said,
                                plain_refusal(answered), read(result), os.listdir(disk)),
                         (1, True, 1, True, True, True, b"an earlier result", ["result"]))
        finally:
            subprocess.run(["umount", disk])


def as_nobody():
    """A way to run a command as the user nobody, where this user may switch to it."""
    if os.geteuid() != 0:
        return None
    for tool in ("setpriv", "/usr/bin/setpriv"):
        try:
            subprocess.run([tool, "--version"], stdout=subprocess.DEVNULL, check=True)
        except (OSError, subprocess.CalledProcessError):
            continue
        return [tool, "--reuid=nobody", "--regid=nogroup", "--clear-groups"]
    return None


def check_refused_reasons(checks, command, work, source):
    """A result file that cannot be opened: exit status 1, the batch's console line, the
    system's words for why on stderr and the earlier file as it was."""
    folder = os.path.join(work, "refused")
    if os.path.isdir(folder):
        subprocess.run(["rm", "-rf", folder])
    os.makedirs(os.path.join(folder, "a folder", "inside"))
    write(os.path.join(folder, "read-only"), b"an earlier result")
    os.chmod(os.path.join(folder, "read-only"), 0o444)
    nobody = as_nobody()
    cases = [("a directory as the result", [], "a folder", errno.EISDIR)]
    if nobody:  # the folder is nobody's, the file root's
        os.chmod(folder, 0o755)
        nobody_entry = pwd.getpwnam("nobody")
        os.chown(folder, nobody_entry.pw_uid, nobody_entry.pw_gid)
        cases.append(("a read-only result, as nobody", nobody, "read-only", errno.EACCES))
    else:
        print("skipped: a read-only result (needs root and setpriv)")
    for what, prefix, name, error in cases:
        target = os.path.join(folder, name)
        before = sorted(os.listdir(folder))
        answered = run(prefix + command + [source, target])
        said = answered.stderr.decode("utf-8", "replace")
        checks.equal(what, (answered.returncode,
                            answered.stdout.endswith(b"OUTPUT File Open Error - " +
                                                     target.encode() + b"\n"),
                            os.strerror(error) in said, len(said.splitlines()),
                            sorted(os.listdir(folder))),
                     (1, True, True, 1, before))
    checks.equal("the read-only result is kept",
                 read(os.path.join(folder, "read-only")), b"an earlier result")


def check_signals(checks, command, values):
    """A run on a large input stopped by SIGINT, SIGTERM or SIGHUP as soon as its
    temporary file is there: the earlier result kept, no temporary file left, and the
    status a shell shows for the signal (128 + its number)."""
    folder = os.path.join(values["work"], "signals")
    os.makedirs(folder, exist_ok=True)
    source = os.path.join(folder, "large.in")
    if not os.path.exists(source):
        with open(source + ".part", "wb") as f:
            subprocess.run([values["sample"], "--count", "300000", "--seed", "3"], stdout=f,
                           check=True)
        os.replace(source + ".part", source)
    result = os.path.join(folder, "t.out")

    def terminal_signals():  # as a terminal's program meets them, whatever CTest ignores
        for sig in (signal.SIGINT, signal.SIGTERM, signal.SIGHUP):
            signal.signal(sig, signal.SIG_DFL)

    for sig in (signal.SIGINT, signal.SIGTERM, signal.SIGHUP):
        for stale in os.listdir(folder):
            if stale.endswith(".tmp"):
                os.remove(os.path.join(folder, stale))
        write(result, b"an earlier result")
        running = subprocess.Popen(command + [source, result], stdout=subprocess.DEVNULL,
                                   stderr=subprocess.DEVNULL, preexec_fn=terminal_signals)
        deadline = time.monotonic() + 60
        while (running.poll() is None and time.monotonic() < deadline and
               not any(n.endswith(".tmp") for n in os.listdir(folder))):
            time.sleep(0.001)
        running.send_signal(sig)
        try:
            status = running.wait(timeout=60)
        except subprocess.TimeoutExpired:
            running.kill()
            status = running.wait()
        checks.equal(sig.name + " in the middle of a run",
                     (status in (-sig, 128 + sig), read(result),
                      sorted(n for n in os.listdir(folder) if n != "large.in")),
                     (True, b"an earlier result", ["t.out"]))


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
    runtime = values["names"]
    os.makedirs(work, exist_ok=True)
    for stale in os.listdir(work):  # left by an earlier run of this check
        if stale.endswith(".tmp"):
            os.remove(os.path.join(work, stale))
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
    write(command_out, b"an earlier result")
    os.chmod(command_out, 0o600)
    answered = run(command + ["--threads", "4", source, command_out])
    checks.equal("a result of mode 0600 keeps it", oct(os.stat(command_out).st_mode & 0o777),
                 oct(0o600))
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

    # A pipe and a device take the result as they come: nothing to truncate.
    fifo = os.path.join(work, "fifo")
    if os.path.exists(fifo):
        os.remove(fifo)
    os.mkfifo(fifo)
    answered, piped = into_a_pipe(command + ["--threads", "4", source, fifo], fifo)
    checks.equal("into a pipe", (answered.returncode, answered.stderr, piped),
                 (0, b"", read(batch_out)))
    checks.equal("console, into a pipe", answered.stdout, batch.stdout)
    answered = run(command + [source, "/dev/null"])
    checks.equal("into /dev/null", (answered.returncode, answered.stdout, answered.stderr),
                 (0, batch.stdout, b""))

    # Without its library the command says so and leaves an earlier result.
    # (Mono asks the system's loader, which finds an installed library.)
    kept = read(command_out)
    installed = runtime == "mono" and installed_library()
    if installed:
        print("skipped: without the library (an installed libgrouper is on the loader's path)")
    for args in [] if installed else ([source, command_out], ["--explain", source], ["--version"]):
        answered = run(command + args, env=without_library(work))
        lines = answered.stderr.decode("utf-8", "replace").splitlines()
        checks.equal("without the library: " + " ".join(args[:1]),
                     (answered.returncode, answered.stdout, len(lines), plain_refusal(answered),
                      "libgrouper cannot be loaded" in answered.stderr.decode("utf-8", "replace")),
                     (1, b"", 1, True, True))
    checks.equal("without the library, the result file is kept", read(command_out), kept)

    helped = run(command + ["--help"])
    said = helped.stdout.decode("utf-8", "replace")
    checks.equal("--help names every option",
                 (helped.returncode, [o for o in ("--threads", "--explain", "--help", "--version")
                                      if o not in said]), (0, []))
    versioned = run(command + ["--version"])
    checks.equal("--version", (versioned.returncode, versioned.stdout.split()[-1:]),
                 (0, [values["version"].encode()]))

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
        checks.equal(what, (answered.returncode, answered.stdout, plain_refusal(answered)),
                     (status, console, True))
    with open(source, "rb") as f:
        checks.equal("the input is left as it was", f.read(), data)

    check_full_disk(checks, command, work, source)
    check_refused_reasons(checks, command, work, source)
    check_signals(checks, command, values)
    check_names(checks, values, command, runtime, b"".join(records[:300]) + ODD_LINES)
    left = [n for n in os.listdir(work) if n.endswith(".tmp")]
    checks.equal("no temporary file is left behind", left, [])

    layout = os.path.join(work, "struct_layout.txt")
    write(layout, run([values["layout"]]).stdout)
    checked = run(check + [values["version"], values["record-file"], layout])
    for stream in (checked.stdout, checked.stderr):
        sys.stdout.write(stream.decode("utf-8", "replace"))
    checks.equal("bad arguments and struct layout (" + os.path.basename(check[-1]) + ")",
                 checked.returncode, 0)
    if runtime == "mono" and not installed_library():
        # The binding's own exception and its sentence where the library is absent.
        checked = run(check + ["--without-library"], env=without_library(work))
        sys.stdout.write(checked.stdout.decode("utf-8", "replace"))
        checks.equal("without the library, each call's exception", checked.returncode, 0)
    return 1 if checks.failed else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
