#!/usr/bin/env python3
"""grouper-month's three files as one set, at the edges: two runs at once in one folder, a run
killed between its renames (the test hook GROUPER_MONTH_TEST_STOP_AFTER_RENAME) and the run after
it, SIGINT, SIGTERM and SIGHUP mid-run, kill -9 and the temporary files it leaves, a directory
where a file goes, inputs that are not files (a pipe, a FIFO without a writer), a full disk; and
grouper-report's page, which a failed run leaves as it was. Linux only.

Usage: check_month_faults.py --month M --grouper G --explain E --report R --sample S [--big N]

--big: the records of the file that runs are interrupted in (300000; fewer where the programs
are slower, as under the sanitizers, so that a pass still lasts long enough to be cut).
"""
import argparse
import hashlib
import os
import re
import resource
import shutil
import signal
import subprocess
import sys
import tempfile
import time

failures = []
# The page's time, for a machine (ISO 8601) and for a clerk ("2026-12-09 20:31 (UTC+09:00)").
STAMP = re.compile(rb"\d{4}-\d\d-\d\d(T\d\d:\d\d:\d\d[+-]\d\d:\d\d| \d\d:\d\d \(UTC[+-]\d\d:\d\d\))")
EXTS = (".out", ".csv", ".html")
JOURNAL = ".grouper-month.journal"


def check(condition, what):
    if not condition:
        failures.append(what)
    return condition


class Tools:
    def __init__(self, o, work):
        self.o, self.work = o, work
        self.env = dict(os.environ, TZ="Asia/Seoul", LANG="C.UTF-8", LC_ALL="C.UTF-8", HOME=work,
                        PATH=os.path.join(work, "nobin"))
        os.makedirs(self.env["PATH"], exist_ok=True)

    def sample(self, path, count, seed, faults="0"):
        with open(path, "wb") as f:
            subprocess.run([self.o.sample, "--count", str(count), "--seed", str(seed), "--faults",
                            faults], stdout=f, check=True)

    def month(self, cwd, *args, hook=None, **kw):
        env = dict(self.env, **({"GROUPER_MONTH_TEST_STOP_AFTER_RENAME": str(hook)} if hook is not None else {}))
        return subprocess.run([self.o.month, "--no-open", *args], cwd=cwd, env=env,
                              capture_output=True, **kw)

    def start(self, cwd, *args):
        return subprocess.Popen([self.o.month, "--no-open", *args], cwd=cwd, env=self.env,
                                stdout=subprocess.PIPE, stderr=subprocess.PIPE,
                                stdin=subprocess.DEVNULL)

    def references(self, path):
        """The batch's result, grouper-explain --csv and grouper-report's page of `path`."""
        ref = os.path.join(self.work, "ref")
        os.makedirs(ref, exist_ok=True)
        subprocess.run([self.o.grouper, path, os.path.join(ref, "r.out")], env=self.env,
                       stdout=subprocess.DEVNULL)
        csv = subprocess.run([self.o.explain, "--csv-ko", path], env=self.env,
                             capture_output=True).stdout
        subprocess.run([self.o.report, path, os.path.join(ref, "r.html")], env=self.env,
                       stdout=subprocess.DEVNULL)
        found = (read(os.path.join(ref, "r.out")), csv, read(os.path.join(ref, "r.html")))
        shutil.rmtree(ref)
        return found


def read(path):
    return open(path, "rb").read() if os.path.exists(path) else None


def products(folder, stem):
    return [read(os.path.join(folder, stem + ext)) for ext in EXTS]


def same(found, expected):
    """Three products against three references, the page but for its time."""
    return (found[0] == expected[0] and found[1] == expected[1] and found[2] is not None and
            STAMP.sub(b"T", found[2]) == STAMP.sub(b"T", expected[2]))


def hidden(folder, stem=None):
    """What the folder holds beside the products of `stem` (every file when None)."""
    keep = {stem + ext for ext in EXTS} if stem else set()
    return sorted(n for n in os.listdir(folder) if n not in keep) if os.path.isdir(folder) else []


def dotted(folder):
    return sorted(n for n in os.listdir(folder) if n.startswith("."))


def digests(folder):
    return {n: hashlib.sha256(read(os.path.join(folder, n))).hexdigest()
            for n in sorted(os.listdir(folder)) if os.path.isfile(os.path.join(folder, n))}


def wait_for(proc, marker, timeout=60):
    """Reads the program's standard output until `marker` shows (its progress lines end only
    when a file is done)."""
    seen, deadline = b"", time.time() + timeout
    while marker not in seen and time.time() < deadline and proc.poll() is None:
        seen += os.read(proc.stdout.fileno(), 4096)
    return marker in seen


def two_runs_and_signals(T, work):
    """The big file: a second run in the same folder is refused and leaves the first alone; a
    signal mid-run leaves the old set and no temporary file; kill -9 leaves temporary files that
    the next run removes, but not a live program's."""
    big = os.path.join(work, "f.txt")
    T.sample(big, T.o.big, 7)
    os.symlink("f.txt", os.path.join(work, "f.in"))  # the same stem: the same folder
    folder = os.path.join(work, "f_grouper")
    first = T.start(work, "f.txt")
    started = wait_for(first, b"[1/3]")
    first.send_signal(signal.SIGSTOP)
    before = {n: os.path.getsize(os.path.join(folder, n)) for n in os.listdir(folder)}
    for other in ("f.in", "f.txt"):
        try:
            second = T.month(work, other, timeout=30)
            said = second.stderr.decode("utf-8", "replace")
            check(started and second.returncode == 1 and "이미" in said and "f_grouper" in said,
                  f"a second run on {other}: status {second.returncode}, {said!r}")
        except subprocess.TimeoutExpired:
            check(False, f"a second run on {other} waited for the first")
        check({n: os.path.getsize(os.path.join(folder, n)) for n in os.listdir(folder)} == before,
              f"a second run on {other} touched the first's files")
    first.send_signal(signal.SIGCONT)
    first.communicate()
    check(first.returncode == 0, f"the first run: status {first.returncode}")
    check(same(products(folder, "f"), T.references(big)), "the first run's files are not whole")
    check(hidden(folder, "f") == [], f"after two runs: {hidden(folder, 'f')}")

    old = digests(folder)
    for sig, marker in ((signal.SIGINT, b"[1/3]"), (signal.SIGTERM, b"[1/3]"),
                        (signal.SIGHUP, b"[1/3]")):
        run = T.start(work, "f.txt")
        reached = wait_for(run, marker)
        run.send_signal(sig)
        run.communicate()
        where = f"{signal.Signals(sig).name} after {marker.decode()}"
        check(reached and run.returncode == -sig, f"{where}: status {run.returncode}")
        check(hidden(folder, "f") == [] and digests(folder) == old,
              f"{where}: left {hidden(folder, 'f')}, the set changed: {digests(folder) != old}")
    # A SIGTERM when every product is written and none renamed (the test hook's 0).
    late = T.month(work, "f.txt", hook=0)
    check(late.returncode == -signal.SIGTERM and hidden(folder, "f") == [] and digests(folder) == old,
          f"SIGTERM before the renames: status {late.returncode}, left {hidden(folder, 'f')}, "
          f"the set changed: {digests(folder) != old}")

    run = T.start(work, "f.txt")
    wait_for(run, b"[1/3]")
    run.kill()
    run.communicate()
    left = hidden(folder, "f")
    check(len(left) >= 2, f"kill -9 in the pass left {left}")
    # Another program's temporary file stays while it runs; a dead one's goes.
    sleeper = subprocess.Popen(["sleep", "60"])
    gone = subprocess.Popen(["true"])
    gone.wait()
    live = f".f.html.{sleeper.pid}.0123456789abcdef.tmp"
    dead = f".f.csv.{gone.pid}.fedcba9876543210.tmp"
    for name in (live, dead):
        open(os.path.join(folder, name), "wb").close()
    small = os.path.join(work, "f.dat")
    T.sample(small, 2000, 3)
    done = T.month(work, "f.dat")
    check(done.returncode == 0 and hidden(folder, "f") == [live],
          f"the run after kill -9: status {done.returncode}, left {hidden(folder, 'f')}")
    check(same(products(folder, "f"), T.references(small)), "the run after kill -9: its files")
    sleeper.kill()
    sleeper.wait()
    shutil.rmtree(folder)
    for name in ("f.txt", "f.in", "f.dat"):
        os.remove(os.path.join(work, name))


def stopped_between_renames(T, work):
    """A run killed right after its first or second rename leaves a mixed set and a journal;
    the next run makes it one set again before it starts its own."""
    path = os.path.join(work, "h.txt")
    folder = os.path.join(work, "h_grouper")
    versions = []
    for seed in (11, 12, 13):
        T.sample(path, 30000, seed, "0.1")
        versions.append(T.references(path))
    for n in (1, 2):
        T.sample(path, 30000, 11, "0.1")
        check(T.month(work, "h.txt").returncode == 0, f"hook {n}: the first run")
        T.sample(path, 30000, 12, "0.1")
        killed = T.month(work, "h.txt", hook=n)
        found = products(folder, "h")
        mixed = [f == v for f, v in zip(found[:2], (versions[1][0], versions[0][1]))]
        check(killed.returncode == -signal.SIGKILL and os.path.exists(os.path.join(folder, JOURNAL))
              and (n == 2 or mixed == [True, True]),
              f"hook {n}: status {killed.returncode}, {hidden(folder, 'h')}, {mixed}")
        T.sample(path, 30000, 13, "0.1")
        after = T.start(work, "h.txt")
        reached = wait_for(after, b"[1/3]")
        after.send_signal(signal.SIGSTOP)
        found = products(folder, "h")
        check(reached and (same(found, versions[1]) or same(found, versions[0])),
              f"hook {n}: the next run began with a mixed set")
        after.send_signal(signal.SIGCONT)
        out, _ = after.communicate()
        check(after.returncode == 0 and same(products(folder, "h"), versions[2]) and
              hidden(folder, "h") == [], f"hook {n}: the next run: {after.returncode}")
    shutil.rmtree(folder)
    os.remove(path)


def in_the_way(T, work):
    """A directory where the page goes: nothing is replaced and the message names it."""
    path = os.path.join(work, "x.txt")
    folder = os.path.join(work, "x_grouper")
    T.sample(path, 3000, 5)
    T.month(work, "x.txt")
    os.remove(os.path.join(folder, "x.html"))
    os.mkdir(os.path.join(folder, "x.html"))
    old = digests(folder)
    T.sample(path, 3000, 6)
    done = T.month(work, "x.txt")
    said = done.stderr.decode("utf-8", "replace")
    check(done.returncode == 1 and "x.html" in said and os.strerror(21) in said,
          f"a directory x.html: status {done.returncode}, {said!r}")
    check(digests(folder) == old and hidden(folder, "x") == [],
          f"a directory x.html: replaced {digests(folder) != old}, left {hidden(folder, 'x')}")
    shutil.rmtree(folder)
    os.remove(path)


def not_files(T, work):
    """Inputs that are not regular files are refused at once, before any folder is made."""
    data = os.path.join(work, "d.txt")
    T.sample(data, 100, 1)
    os.mkfifo(os.path.join(work, "p.in"))
    os.symlink("d.txt", os.path.join(work, "link.in"))
    stdin_folder_there = os.path.exists("/dev/stdin_grouper")
    for name, stdin, status, folder in (
            ("/dev/stdin", subprocess.PIPE, 1, "/dev/stdin_grouper"),
            ("p.in", subprocess.DEVNULL, 1, "p_grouper"),
            ("link.in", subprocess.DEVNULL, 0, "link_grouper")):
        proc = subprocess.Popen([T.o.month, "--no-open", name], cwd=work, env=T.env, stdin=stdin,
                                stdout=subprocess.PIPE, stderr=subprocess.PIPE)
        if stdin == subprocess.PIPE:
            try:
                proc.stdin.write(open(data, "rb").read())  # and left open: a writer that goes on
                proc.stdin.flush()
            except BrokenPipeError:
                pass  # the program refused the pipe and ended before the bytes came
        try:
            _, err = proc.communicate(timeout=20)
        except subprocess.TimeoutExpired:
            proc.kill()
            _, err = proc.communicate()
        made = os.path.exists(os.path.join(work, folder))
        if folder.startswith("/dev/") and made and not stdin_folder_there:
            shutil.rmtree(folder)
        said = err.decode("utf-8", "replace")
        check(proc.returncode == status and made == (status == 0) and
              (status == 0 or "입력 파일을 열 수 없습니다" in said),
              f"input {name}: status {proc.returncode}, folder made {made}, {said!r}")
    shutil.rmtree(os.path.join(work, "link_grouper"), ignore_errors=True)
    for name in ("p.in", "link.in", "d.txt"):
        os.remove(os.path.join(work, name))


def full_disk(T, work):
    """A disk that fills in each pass, and under grouper-report's page: the system's reason,
    no temporary file, the old page kept. A small tmpfs where it can be mounted (as root)."""
    disk = os.path.join(work, "disk")
    os.mkdir(disk)
    if os.geteuid() != 0 or subprocess.run(["mount", "-t", "tmpfs", "-o", "size=16m", "tmpfs",
                                            disk], capture_output=True).returncode != 0:
        print("check_month_faults: a full disk: skipped (no tmpfs can be mounted here)")
        return
    try:
        path = os.path.join(disk, "z.txt")
        T.sample(path, 6000, 9, "0.1")
        sizes = [len(p) for p in T.references(path)]
        folder = os.path.join(disk, "z_grouper")
        filler = os.path.join(disk, "filler")
        for k, ext in enumerate(EXTS):
            os.makedirs(folder, exist_ok=True)
            fill(filler, sum(sizes[:k]) + sizes[k] // 2)
            done = T.month(disk, "z.txt")
            said = done.stderr.decode("utf-8", "replace")
            check(done.returncode == 1 and f"z{ext}: {os.strerror(28)}" in said,
                  f"a disk full in the {ext} pass: status {done.returncode}, {said!r}")
            check(os.listdir(folder) == [], f"a disk full in the {ext} pass: {os.listdir(folder)}")
            os.remove(filler)
        page = os.path.join(disk, "r.html")
        with open(page, "wb") as f:
            f.write(b"old page")
        fill(filler, sizes[2] // 2)
        done = subprocess.run([T.o.report, path, page], env=T.env, capture_output=True)
        check(done.returncode == 1 and os.strerror(28) in done.stderr.decode() and
              read(page) == b"old page" and dotted(disk) == [],
              f"grouper-report on a full disk: {done.returncode} {done.stderr!r} {dotted(disk)}")
    finally:
        subprocess.run(["umount", disk])


def fill(filler, leave):
    """Fills the disk of `filler` until `leave` bytes are free."""
    st = os.statvfs(os.path.dirname(filler))
    with open(filler, "wb") as f:
        f.write(b"\0" * max(0, st.f_bavail * st.f_frsize - leave))


def report_kept(T, work):
    """grouper-report that cannot write its page whole (a file size limit) keeps the old one."""
    path = os.path.join(work, "r.txt")
    page = os.path.join(work, "r.html")
    T.sample(path, 3000, 4, "0.1")
    with open(page, "wb") as f:
        f.write(b"old page")

    def limited():
        signal.signal(signal.SIGXFSZ, signal.SIG_IGN)
        resource.setrlimit(resource.RLIMIT_FSIZE, (4096, 4096))

    done = subprocess.run([T.o.report, path, page], env=T.env, capture_output=True,
                          preexec_fn=limited)
    check(done.returncode == 1 and os.strerror(27) in done.stderr.decode() and
          read(page) == b"old page" and dotted(work) == [],
          f"grouper-report over a size limit: {done.returncode} {done.stderr!r} {dotted(work)}")
    gone = subprocess.Popen(["true"])  # a run killed outright left its temporary file
    gone.wait()
    dead = os.path.join(work, f".r.html.{gone.pid}.0123456789abcdef.tmp")
    open(dead, "wb").close()
    done = subprocess.run([T.o.report, path, page], env=T.env, capture_output=True)
    check(done.returncode == 0 and read(page).endswith(b"</html>\n") and dotted(work) == [],
          f"grouper-report after one killed: {done.returncode} {dotted(work)}")
    os.remove(path)
    os.remove(page)


def main():
    parser = argparse.ArgumentParser()
    for name in ("month", "grouper", "explain", "report", "sample"):
        parser.add_argument("--" + name, required=True)
    parser.add_argument("--big", type=int, default=300000)
    o = parser.parse_args()
    for name in ("month", "grouper", "explain", "report", "sample"):
        setattr(o, name, os.path.abspath(getattr(o, name)))
    with tempfile.TemporaryDirectory() as work:
        T = Tools(o, work)
        for case in (not_files, in_the_way, report_kept, stopped_between_renames, full_disk,
                     two_runs_and_signals):
            case(T, work)
    for f in failures[:30]:
        print("FAILED:", f)
    print(f"check_month_faults: {len(failures)} failures")
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
