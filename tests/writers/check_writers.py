#!/usr/bin/env python3
"""Every program that writes a file, in the faults a clerk's machine meets: one table,
the scenarios by the programs.

The programs (columns): the batch `grouper IN OUT` (its result file), `grouper-month`
(its three products in `<stem>_grouper/`), `grouper-report` (its page) and the Java and
.NET commands (`java -cp ... grouper.Main IN OUT`, `mono grouper-dotnet.exe IN OUT`).
The scenarios (rows) are the table SCENARIOS below: two runs at once, signals in the
middle of a large file, kill -9, a month stopped between two renames, a full disk, a
read-only folder or target (as an unprivileged user), the mode of a target, links, a
directory in the target's place, a pipe or a FIFO as input, names that are not UTF-8 or
hold Hangul and a blank, and (with --wine) a target that another Windows program holds
open.

Each cell checks, in a folder of its own: the target afterwards is the old file or the
whole new one (the bytes of a reference run of the same program on the same names; a
page but for the time it was made), a set never has members of two runs, no temporary
file is left by a run that ended by itself or by a signal it can catch (the folder holds
only the expected names), the input is untouched, and a failure exits non-zero with the
system's reason on standard error. The batch is held to what it promises instead: it
writes its result in place and says a failure on the console (`OUTPUT File Open Error -
NAME`, `OUTPUT File Write Error - NAME`) with status 1.

A cell is `held`, `FAILED: why`, `skipped: why` (the machine cannot try it) or `n/a`
(the scenario does not apply to the program; the reasons are in NOT_APPLICABLE).
Exit status 1 when a cell failed, else 0.

Usage: check_writers.py --grouper G --month M --report R --sample S
           [--java JAVA --classpath CP --library LIBGROUPER | --skip-java WHY]
           [--mono MONO --dotnet EXE | --skip-dotnet WHY]
           [--wine WINDOWS_BUILD_DIR] [--records N] [--medium N] [--only TEXT]
"""
import argparse
import errno
import grp
import hashlib
import os
import pwd
import re
import shutil
import signal
import stat
import subprocess
import sys
import tempfile
import threading
import time

# The page's time, for a machine (ISO 8601) and for a clerk ("2026-12-09 20:31 (UTC+09:00)").
STAMP = re.compile(rb"\d{4}-\d\d-\d\d(T\d\d:\d\d:\d\d[+-]\d\d:\d\d| \d\d:\d\d \(UTC[+-]\d\d:\d\d\))")
COLUMNS = ("grouper", "grouper-month", "grouper-report", "java", "dotnet")
UNDER_WAY_SECONDS = 60
RUN_SECONDS = 240

# Why a scenario does not apply to a program (the cells marked n/a).
NAMED = "its target is named on its command line, not made from the input's name"
ONE_FILE = "it replaces one file: there is no second rename to stop before"
ON_LINUX = "runs here on Linux, which has no sharing rules (the Windows programs are tried)"
FOLDER_ONLY = "it writes nothing outside its folder: a link among its products is not followed"
NOT_APPLICABLE = {
    "two inputs with one stem": {c: NAMED for c in COLUMNS if c != "grouper-month"},
    "stopped after the 1st rename": {c: ONE_FILE for c in COLUMNS if c != "grouper-month"},
    "stopped after the 2nd rename": {c: ONE_FILE for c in COLUMNS if c != "grouper-month"},
    "a symbolic link to another file": {"grouper-month": FOLDER_ONLY},
    "held open by another program (Wine)": {"java": ON_LINUX, "dotnet": ON_LINUX},
}


class Skip(Exception):
    """The machine cannot try this cell."""


def read(path):
    try:
        with open(path, "rb") as f:
            return f.read()
    except (FileNotFoundError, IsADirectoryError, NotADirectoryError):
        return None


def write(path, data):
    with open(path, "wb") as f:
        f.write(data)


def same(a, b):
    """Two products alike, but for the time a page was made."""
    return a is not None and b is not None and STAMP.sub(b"T", a) == STAMP.sub(b"T", b)


def shown(name):
    return os.fsdecode(name) if isinstance(name, bytes) else name


def entries(root):
    """Every name under `root` (relative, bytes), links not followed, with its size."""
    found = {}
    root = os.fsencode(root)
    for folder, dirs, files in os.walk(root):
        for name in dirs + files:
            path = os.path.join(folder, name)
            found[os.path.relpath(path, root)] = os.lstat(path).st_size
    return found


def status_text(status):
    if status is None:
        return "hung (killed after waiting)"
    if status < 0:
        return "killed by " + signal.Signals(-status).name
    return f"status {status}"


def read_position(pid, real_input):
    """How far process `pid` has read the input file (0 when it has not opened it)."""
    position = 0
    try:
        for fd in os.listdir(f"/proc/{pid}/fd"):
            try:
                if os.readlink(f"/proc/{pid}/fd/{fd}") != real_input:
                    continue
                with open(f"/proc/{pid}/fdinfo/{fd}") as info:
                    position = max(position, int(info.readline().split()[1]))
            except (OSError, ValueError, IndexError):
                continue
    except OSError:
        pass
    return position


class Program:
    """A column: how the program is run and what it writes.

    kind "batch" writes its result in place, "set" is the month's three products, "file"
    a single file that the program means to replace whole."""

    def __init__(self, column, command, kind, target=None, env=None):
        self.column, self.command, self.kind = column, command, kind
        self.target, self.env = target, env or {}

    def args(self, input_name, target):
        if self.kind == "set":
            return self.command + ["--no-open", input_name]
        return self.command + [input_name, target]

    def products(self, input_name, target):
        if self.kind != "set":
            return [target]
        stem = os.path.splitext(os.path.basename(input_name))[0]
        folder = os.path.join(os.path.dirname(input_name), stem + b"_grouper")
        return [os.path.join(folder, stem + ext) for ext in (b".out", b".csv", b".html")]

    def reference_kind(self):
        return {"grouper-month": "set", "grouper-report": "page"}.get(self.column, "result")


class Run:
    def __init__(self, popen, out, err):
        self.popen, self.out, self.err, self.status = popen, out, err, None

    def wait(self, timeout=RUN_SECONDS):
        try:
            self.status = self.popen.wait(timeout)
        except subprocess.TimeoutExpired:
            self.popen.kill()
            self.popen.wait()
            self.status = None
        return self.status

    @property
    def stdout(self):
        return read(self.out) or b""

    @property
    def stderr(self):
        return read(self.err) or b""

    def said(self):
        """The end of what the run said, on one line."""
        text = (self.stdout[-200:].strip() + b" | " + self.stderr[-300:].strip())
        return " / ".join(text.decode("utf-8", "replace").splitlines())


class Work:
    """The suite's folder, its data, its reference runs and how programs are started."""

    def __init__(self, o):
        self.o = o
        self.root = tempfile.mkdtemp(prefix="writers.")
        os.chmod(self.root, 0o755)  # the unprivileged user's runs go through it
        for sub in ("data", "ref", "logs", "cells"):
            os.mkdir(os.path.join(self.root, sub))
        self.mounts, self.references, self.count = [], {}, 0
        self.linux = {p.column: p for p in self.programs()}
        self.data = {}
        sample = [o.sample, "--faults", "0.1"]
        for key, count, seed in (("old", 200, 41), ("new", 3000, 42), ("med", o.medium, 43),
                                 ("big", o.records, 44)):
            path = os.path.join(self.root, "data", key + ".in")
            with open(path, "wb") as f:
                subprocess.run(sample + ["--count", str(count), "--seed", str(seed)], stdout=f,
                               check=True)
            os.chmod(path, 0o644)
            self.data[key] = path

    def programs(self):
        o = self.o
        found = [Program("grouper", [o.grouper], "batch", b"t.out"),
                 Program("grouper-month", [o.month], "set"),
                 Program("grouper-report", [o.report], "file", b"t.html")]
        if o.java:
            found.append(Program("java", [o.java, "-cp", o.classpath, "grouper.Main"], "file",
                                 b"t.out", {"GROUPER_LIBRARY": o.library}))
        if o.mono:
            found.append(Program("dotnet", [o.mono, o.dotnet], "file", b"t.out",
                                 {"LD_LIBRARY_PATH": os.path.dirname(o.library or o.grouper)}))
        return found

    def windows_programs(self):
        build = self.o.wine
        wine_env = {"TZ": "KST-9", "WINEDEBUG": "-all", "WINEDLLOVERRIDES": "mscoree,mshtml=",
                    "WINEPREFIX": os.environ.get("WINEPREFIX", os.path.join(build, "wine")),
                    "HOME": os.environ.get("HOME", "/root")}
        return {"grouper": Program("grouper", ["wine", os.path.join(build, "grouper.exe")],
                                   "batch", b"t.out", wine_env),
                "grouper-month": Program("grouper-month", [
                    "wine", os.path.join(build, "tools", "grouper-month.exe")], "set",
                    None, wine_env),
                "grouper-report": Program("grouper-report", [
                    "wine", os.path.join(build, "tools", "grouper-report.exe")], "file",
                    b"t.html", wine_env)}

    def holder(self):
        """holder.exe, built once per run of the suite."""
        exe = os.path.join(self.root, "holder.exe")
        if not os.path.exists(exe):
            if not shutil.which("x86_64-w64-mingw32-gcc"):
                raise Skip("no x86_64-w64-mingw32-gcc to build the holder")
            source = os.path.join(os.path.dirname(os.path.abspath(__file__)), "holder.c")
            subprocess.run(["x86_64-w64-mingw32-gcc", "-municode", "-O2", "-o", exe, source],
                           check=True)
        return exe

    def start(self, program, cwd, args, env=None, nobody=False, stdin=subprocess.DEVNULL,
              home=None):
        self.count += 1
        out = os.path.join(self.root, "logs", f"{self.count}.out")
        err = os.path.join(self.root, "logs", f"{self.count}.err")
        environment = {k: v for k, v in os.environ.items() if not k.startswith("LC_")}
        environment.update(LANG="C.UTF-8", TZ="Asia/Seoul",
                           HOME=home or os.path.join(self.root, "home"))
        environment.update(program.env)
        environment.update(env or {})
        prefix = as_nobody() if nobody else []
        with open(out, "wb") as o, open(err, "wb") as e:
            popen = subprocess.Popen(prefix + args, cwd=cwd, env=environment, stdin=stdin,
                                     stdout=o, stderr=e)
        return Run(popen, out, err)

    def run(self, program, cwd, args, **kwargs):
        done = self.start(program, cwd, args, **kwargs)
        done.wait()
        return done

    def reference(self, program, data, input_name):
        """The products of the Linux program of `program`'s kind on `data` under the
        name `input_name`: paths of files in a folder of their own."""
        kind = program.reference_kind()
        key = (kind, data, input_name)
        if key not in self.references:
            folder = os.path.join(self.root, "ref", str(len(self.references)))
            os.mkdir(folder)
            place_input(os.fsencode(folder), input_name, self.data[data])
            linux = self.linux[{"set": "grouper-month", "page": "grouper-report"}.get(
                kind, "grouper")]
            target = linux.target
            done = self.run(linux, folder, linux.args(input_name, target), home=folder)
            if done.status != 0:
                raise RuntimeError(f"the reference run of {linux.column} failed: "
                                   f"{status_text(done.status)} {done.said()}")
            self.references[key] = [os.path.join(os.fsencode(folder), p)
                                    for p in linux.products(input_name, target)]
        return self.references[key]

    def mount_tmpfs(self, where, size):
        os.makedirs(where)
        done = subprocess.run(["mount", "-t", "tmpfs", "-o", f"size={size}", "tmpfs", where],
                              capture_output=True, text=True)
        if done.returncode != 0:
            raise Skip("a tmpfs cannot be mounted here (" + (done.stderr.strip() or
                                                               "mount failed") + ")")
        self.mounts.append(where)

    def unmount(self, where):
        if where in self.mounts:
            subprocess.run(["umount", where], capture_output=True)
            self.mounts.remove(where)

    def close(self):
        for where in list(self.mounts):
            subprocess.run(["umount", "-l", where], capture_output=True)
        for folder, dirs, _ in os.walk(self.root):
            for name in dirs:
                path = os.path.join(folder, name)
                if not os.path.islink(path):
                    os.chmod(path, 0o755)
        shutil.rmtree(self.root, ignore_errors=True)


def place_input(folder, name, data_path):
    """The input `name` in `folder`: a link to a large data file, or a copy of a small one."""
    path = os.path.join(folder, name)
    os.makedirs(os.path.dirname(path), exist_ok=True)
    if os.path.getsize(data_path) > 10 << 20:
        os.symlink(data_path, path)
    else:
        shutil.copyfile(data_path, path)
        os.chmod(path, 0o644)


def as_nobody():
    """The command prefix that runs a program as an unprivileged user (none when this
    suite is not root)."""
    if os.geteuid() != 0:
        return []
    nobody_ids()
    groups = [g.gr_name for g in grp.getgrall() if g.gr_name in ("nogroup", "nobody")]
    if shutil.which("setpriv") and groups:
        return ["setpriv", "--reuid=nobody", f"--regid={groups[0]}", "--clear-groups", "--"]
    if shutil.which("runuser"):
        return ["runuser", "-u", "nobody", "--"]
    raise Skip("no setpriv or runuser to run as an unprivileged user")


def nobody_ids():
    if os.geteuid() != 0:
        return os.getuid(), os.getgid()
    try:
        user = pwd.getpwnam("nobody")
    except KeyError:
        raise Skip("no user 'nobody' to run as")
    return user.pw_uid, user.pw_gid


class Case:
    """One cell's folder: its input, its target(s), what a run may leave."""

    def __init__(self, w, program, folder, input_name=b"m.txt", target=None, data="new"):
        self.w, self.p = w, program
        self.folder = os.fsencode(folder)
        self.input = input_name
        self.target = target or program.target
        self.products = program.products(input_name, self.target)
        self.extra = set()
        self.home = os.path.join(os.path.dirname(folder), "home")
        os.makedirs(folder, exist_ok=True)  # a full disk's cell has mounted in it
        os.makedirs(self.home, exist_ok=True)
        if data:
            place_input(self.folder, input_name, w.data[data])
        self.old = None
        self.input_before = self.fingerprint()

    def path(self, name):
        return os.path.join(self.folder, name)

    def fingerprint(self):
        path = self.path(self.input)
        if os.path.islink(path):
            st = os.stat(path)
            return os.readlink(path), st.st_size, st.st_mtime_ns
        if os.path.isfile(path):
            return hashlib.sha256(read(path)).hexdigest()
        return None

    def place_old(self, mode=None):
        """The products of an earlier run on other records, where this run will write."""
        self.old = [read(p) for p in self.w.reference(self.p, "old", self.input)]
        for name, data in zip(self.products, self.old):
            os.makedirs(os.path.dirname(self.path(name)), exist_ok=True)
            write(self.path(name), data)
            if mode is not None:
                os.chmod(self.path(name), mode)

    def new(self, data="new", input_name=None):
        return [read(p) for p in self.w.reference(self.p, data, input_name or self.input)]

    def run(self, **kwargs):
        return self.w.run(self.p, self.folder, self.p.args(self.input, self.target),
                          home=self.home, **kwargs)

    def start(self, **kwargs):
        return self.w.start(self.p, self.folder, self.p.args(self.input, self.target),
                            home=self.home, **kwargs)

    def state(self, candidates, products=None):
        """The name of the candidate (a list of products' bytes, None for absent) that the
        products now are, and None; or None and what each product is."""
        products = products or self.products
        got = [read(self.path(name)) for name in products]
        for label, want in candidates.items():
            if all(g == w if w is None or g is None else same(g, w) for g, w in zip(got, want)):
                return label, None
        parts = []
        for i, (name, g) in enumerate(zip(products, got)):
            match = [label for label, want in candidates.items()
                     if (g is None and want[i] is None) or same(g, want[i])]
            what = match[0] if match else ("absent" if g is None else f"neither ({len(g)} bytes)")
            parts.append(f"{shown(os.path.basename(name))} {what}")
        return None, ", ".join(parts)

    def expect(self, candidates, wanted, problems, products=None):
        label, mixed = self.state(candidates, products)
        if label not in wanted:
            problems.append("the target is " + (label or mixed) + ", not " + " or ".join(wanted))

    def expected_names(self, with_products=True):
        names = {self.input} | self.extra
        for product in self.products if with_products else []:
            while product:
                names.add(product)
                product = os.path.dirname(product)
        return names

    def leftovers(self, with_products=True, allowed=()):
        """Names in the folder that no one expects, as text; a hidden lock file that the
        month keeps in its folder is not one of them."""
        found = set(entries(self.folder)) - self.expected_names(with_products) - set(allowed)
        if self.p.kind == "set":
            found = {n for n in found if not re.fullmatch(rb"(.*/)?\.([^/]*\.)?lock", n)}
        return sorted(found)

    def check_clean(self, problems, with_products=True, allowed=(), documents=False):
        left = self.leftovers(with_products, allowed)
        if left:
            problems.append("left " + ", ".join(shown(n) for n in left[:4]))
        if self.p.kind == "set" and not documents and entries(self.home):
            problems.append("wrote into the documents: " +
                            ", ".join(shown(n) for n in sorted(entries(self.home))[:3]))

    def check_input(self, problems):
        if self.fingerprint() != self.input_before:
            problems.append("the input was changed")

    def under_way(self, run, watch_files):
        """Waits until `run` has read some of its input and (where `watch_files`) made or
        changed a file in the folder; False when it ended first or did not start."""
        real = os.fsdecode(os.path.realpath(self.path(self.input)))
        before = entries(self.folder)
        deadline = time.monotonic() + UNDER_WAY_SECONDS
        while time.monotonic() < deadline:
            if run.popen.poll() is not None:
                return False
            if read_position(run.popen.pid, real) > 0 and (
                    not watch_files or entries(self.folder) != before):
                return True
            time.sleep(0.002)
        return False


def failure_said(case, done, reason, problems, name=None):
    """A failure as the program promises to say it: the batch on the console, the others
    non-zero with the system's reason on standard error."""
    if case.p.kind == "batch":
        message = b"OUTPUT File " + (b"Write" if reason == errno.ENOSPC else b"Open") + \
            b" Error - " + (name or case.target)
        if done.status != 1 or message not in done.stdout:
            problems.append(f"{status_text(done.status)}, console {done.stdout[-120:]!r}, "
                            f"not status 1 and {message.decode()!r}")
        return
    if done.status in (0, None) or done.status < 0:
        problems.append(f"{status_text(done.status)} for a failure")
    said = done.stderr.decode("utf-8", "replace")
    if reason and os.strerror(reason) not in said:
        problems.append(f"stderr {said[-160:]!r} lacks {os.strerror(reason)!r}")
    elif not said.strip():
        problems.append("nothing said on stderr")


# The scenarios. Each gets a fresh folder and returns the problems it found.

def two_runs(w, p, folder):
    problems = []
    if p.kind == "file":  # two inputs into one target: one whole result or the other
        case = Case(w, p, folder, b"a.in", data="med")
        place_input(case.folder, b"b.in", w.data["new"])
        case.extra.add(b"b.in")
        case.place_old()
        first = case.start()
        if not case.under_way(first, watch_files=p.column != "grouper-report"):
            raise Skip("the first run did not get under way")
        second = w.run(p, case.folder, p.args(b"b.in", case.target), home=case.home)
        first.wait()
        for done in (first, second):
            if done.status != 0:
                problems.append(f"a run: {status_text(done.status)} {done.said()}")
        case.expect({"a.in's result": case.new("med"), "b.in's result": case.new("new", b"b.in")},
                    ("a.in's result", "b.in's result"), problems)
    else:
        case = Case(w, p, folder, data="med")
        case.place_old()
        first = case.start()
        if not case.under_way(first, watch_files=True):
            raise Skip("the first run did not get under way")
        second = case.run()
        first_running = first.popen.poll() is None
        first.wait()
        if p.kind == "set":
            refused(second, first_running, problems)
        elif second.status != 0:
            problems.append(f"the second run: {status_text(second.status)} {second.said()}")
        if first.status != 0:
            problems.append(f"the first run: {status_text(first.status)} {first.said()}")
        case.expect({"new": case.new("med"), "old": case.old}, ("new",), problems)
    case.check_clean(problems)
    return problems


def refused(second, first_running, problems):
    if second.status == 0 or not first_running:
        problems.append(f"the second run was not refused at once ({status_text(second.status)}"
                        f", the first {'still running' if first_running else 'ended before'})")
    elif not second.stderr.strip():
        problems.append("the second run was refused without a word on stderr")


def one_stem(w, p, folder):
    problems = []
    case = Case(w, p, folder, data="med")
    place_input(case.folder, b"m.in", w.data["new"])
    case.extra.add(b"m.in")
    case.place_old()
    first = case.start()
    if not case.under_way(first, watch_files=True):
        raise Skip("the first run did not get under way")
    second = w.run(p, case.folder, p.args(b"m.in", None), home=case.home)
    first_running = first.popen.poll() is None
    first.wait()
    refused(second, first_running, problems)
    if first.status != 0:
        problems.append(f"the run on m.txt: {status_text(first.status)} {first.said()}")
    case.expect({"m.txt's set": case.new("med"), "m.in's set": case.new("new", b"m.in"),
                 "old": case.old}, ("m.txt's set",), problems)
    case.check_clean(problems)
    return problems


def interrupted(w, p, folder, sig):
    """A run on the large file, stopped by `sig` once under way. Returns the case, the
    run and the problems so far."""
    problems = []
    case = Case(w, p, folder, data="big")
    case.place_old()
    done = case.start()
    if not case.under_way(done, watch_files=p.column != "grouper-report"):
        done.wait()
        raise Skip(f"the run did not get under way ({status_text(done.status)} "
                   f"{done.said()})")
    os.kill(done.popen.pid, sig)
    if done.wait(30) is None:
        problems.append(f"it did not end on {sig.name}")
    if done.status == 0:
        if case.state({"new": case.new("big")}) == ("new", None):
            raise Skip(f"the run ended before {sig.name} reached it")
        problems.append(f"status 0 after {sig.name}, with a result that is not whole")
    if p.kind == "batch":
        if not is_prefix(case.path(case.target), w.reference(p, "big", case.input)[0]):
            problems.append("the result is not a prefix of the whole result")
    else:
        case.expect({"old": case.old}, ("old",), problems)
    case.check_input(problems)
    return case, done, problems


def is_prefix(path, whole_path):
    if not os.path.isfile(path):
        return False
    with open(path, "rb") as part, open(whole_path, "rb") as whole:
        while True:
            block = part.read(1 << 20)
            if not block:
                return True
            if whole.read(len(block)) != block:
                return False


def signalled(sig):
    def cell(w, p, folder):
        case, _, problems = interrupted(w, p, folder, sig)
        case.check_clean(problems)
        return problems
    return cell


def killed(w, p, folder):
    case, _, problems = interrupted(w, p, folder, signal.SIGKILL)
    dead = case.leftovers()
    # A new run on new records under the same name: whole, and nothing of the dead run left
    # in a month's folder (elsewhere the dead run's temporary files may stay: no one owns
    # them).
    os.remove(case.path(case.input))
    place_input(case.folder, case.input, w.data["new"])
    case.input_before = case.fingerprint()
    again = case.run()
    if again.status != 0:
        problems.append(f"the next run: {status_text(again.status)} {again.said()}")
    case.expect({"new": case.new(), "old": case.old}, ("new",), problems)
    case.check_clean(problems, allowed=() if p.kind == "set" else dead)
    return problems


def stopped_after_rename(n):
    def cell(w, p, folder):
        problems = []
        case = Case(w, p, folder)
        case.place_old()
        new = case.new()
        done = case.run(env={"GROUPER_MONTH_TEST_STOP_AFTER_RENAME": str(n)})
        if done.status != -signal.SIGKILL:
            return [f"not stopped after rename {n} ({status_text(done.status)}): "
                    "GROUPER_MONTH_TEST_STOP_AFTER_RENAME is not heeded"]
        for i, name in enumerate(case.products):
            label, what = case.state({"old": [case.old[i]], "new": [new[i]]}, [name])
            if not label:
                problems.append(f"after the stop, {what}")
        again = case.run()
        if again.status != 0:
            problems.append(f"the next run: {status_text(again.status)} {again.said()}")
        case.expect({"new": new, "old": case.old}, ("new",), problems)
        case.check_clean(problems)
        return problems
    return cell


def full_disk(w, p, folder):
    if os.geteuid() != 0:
        raise Skip("mounting a small tmpfs needs root")
    problems = []
    disk = os.path.join(folder, "disk")
    try:
        w.mount_tmpfs(disk, "4m")
        if p.kind == "set":
            case = Case(w, p, folder, input_name=b"disk/m.txt")
        else:
            case = Case(w, p, folder, target=b"disk/" + p.target)
        case.place_old()
        case.extra |= {b"disk", b"disk/filler"}
        # The disk keeps 64 KiB free: far less than a new result.
        free = os.statvfs(disk)
        left = free.f_bavail * free.f_frsize - (64 << 10)
        with open(os.path.join(disk, "filler"), "wb") as f:
            while left > 0:  # written, not truncated: a sparse file takes no room
                left -= f.write(b"\0" * min(left, 1 << 20))
        done = case.run()
        failure_said(case, done, errno.ENOSPC, problems, name=case.target)
        if p.kind != "batch":
            case.expect({"old": case.old, "new": case.new()}, ("old",), problems)
        case.check_input(problems)
        case.check_clean(problems)
    finally:
        w.unmount(disk)
    return problems


def read_only_folder(w, p, folder):
    """The folder of the input and the target may not be written by the user who runs the
    program; the target itself may."""
    uid, gid = nobody_ids()
    as_nobody()
    problems = []
    case = Case(w, p, folder)
    case.place_old(mode=0o666)
    os.mkdir(os.path.join(case.home, "Documents"))
    for name in (case.home, os.path.join(case.home, "Documents")):
        os.chown(name, uid, gid)
    for name in [b""] + [os.path.dirname(n) for n in case.products if os.path.dirname(n)]:
        os.chmod(case.path(name), 0o555)
    done = case.run(nobody=True)
    if p.kind == "set":  # the documented way out: the products go to the documents
        documents = os.path.join(os.fsencode(case.home), b"Documents", b"grouper")
        if done.status != 0 or "문서 폴더" not in done.stdout.decode("utf-8", "replace"):
            problems.append(f"{status_text(done.status)}, not the documents: {done.said()}")
        elif not all(same(read(os.path.join(documents, os.path.basename(n))), want)
                     for n, want in zip(case.products, case.new())):
            problems.append("the products in the documents are not whole")
        case.expect({"old": case.old}, ("old",), problems)
        left = sorted(set(entries(documents)) - {os.path.basename(n) for n in case.products})
        if left:
            problems.append("left in the documents " + ", ".join(shown(n) for n in left))
        case.check_clean(problems, documents=True)
        return problems
    if p.kind == "batch" or done.status == 0:
        if done.status != 0:
            problems.append(f"{status_text(done.status)} {done.said()}")
        case.expect({"new": case.new(), "old": case.old}, ("new",), problems)
    else:
        failure_said(case, done, errno.EACCES, problems)
        case.expect({"old": case.old}, ("old",), problems)
    case.check_clean(problems)
    return problems


def read_only_target(w, p, folder):
    """The target is read-only (0444, not the user's); its folder may be written."""
    uid, gid = nobody_ids()
    as_nobody()
    problems = []
    case = Case(w, p, folder)
    case.place_old(mode=0o444)
    os.chown(case.home, uid, gid)
    for name in [b""] + [os.path.dirname(n) for n in case.products if os.path.dirname(n)]:
        os.chown(case.path(name), uid, gid)
    done = case.run(nobody=True)
    if p.kind == "batch":
        failure_said(case, done, errno.EACCES, problems)
        case.expect({"old": case.old}, ("old",), problems)
    elif done.status == 0:  # replaced whole, still read-only
        case.expect({"new": case.new(), "old": case.old}, ("new",), problems)
        modes = {stat.S_IMODE(os.stat(case.path(n)).st_mode) for n in case.products}
        if modes != {0o444}:
            problems.append("replaced, but the mode became " + ", ".join(map(oct, modes)))
    else:
        failure_said(case, done, errno.EACCES, problems)
        case.expect({"old": case.old}, ("old",), problems)
    case.check_clean(problems)
    return problems


def mode_kept(w, p, folder):
    problems = []
    case = Case(w, p, folder)
    case.place_old(mode=0o600)
    done = case.run()
    if done.status != 0:
        problems.append(f"{status_text(done.status)} {done.said()}")
    case.expect({"new": case.new(), "old": case.old}, ("new",), problems)
    modes = {stat.S_IMODE(os.stat(case.path(n)).st_mode) for n in case.products
             if os.path.exists(case.path(n))}
    if modes != {0o600}:
        problems.append("mode 0600 became " + ", ".join(map(oct, sorted(modes))))
    case.check_clean(problems)
    return problems


def link_to_input(hard):
    def cell(w, p, folder):
        problems = []
        case = Case(w, p, folder)
        link = case.products[0]
        os.makedirs(os.path.dirname(case.path(link)), exist_ok=True)
        if hard:
            os.link(case.path(case.input), case.path(link))
        else:
            os.symlink(os.path.relpath(case.path(case.input),
                                       os.path.dirname(case.path(link))), case.path(link))
        before = os.lstat(case.path(link))
        done = case.run()
        documented = 2 if p.column in ("grouper-month", "grouper-report") else 1
        if p.kind == "batch":
            failure_said(case, done, None, problems, name=link)
        elif done.status != documented or not (done.stdout + done.stderr).strip():
            problems.append(f"{status_text(done.status)}, not {documented} and a word: "
                            f"{done.said()}")
        case.check_input(problems)
        after = os.lstat(case.path(link)) if os.path.lexists(case.path(link)) else None
        if not after or (after.st_ino, after.st_mode) != (before.st_ino, before.st_mode):
            problems.append("the link was replaced")
        case.extra |= {link, os.path.dirname(link)} - {b""}
        case.check_clean(problems, with_products=False)
        return problems
    return cell


def link_to_other(w, p, folder):
    problems = []
    case = Case(w, p, folder)
    case.place_old()
    os.mkdir(case.path(b"elsewhere"))
    os.rename(case.path(case.target), case.path(b"elsewhere/" + case.target))
    os.symlink(b"elsewhere/" + case.target, case.path(case.target))
    case.extra |= {b"elsewhere", b"elsewhere/" + case.target}
    done = case.run()
    if done.status != 0:
        problems.append(f"{status_text(done.status)} {done.said()}")
    if not os.path.islink(case.path(case.target)):
        problems.append("the link was replaced by a file")
    case.expect({"new": case.new(), "old": case.old}, ("new",), problems,
                [b"elsewhere/" + case.target])
    case.check_clean(problems)
    return problems


def directory_in_place(w, p, folder):
    problems = []
    case = Case(w, p, folder)
    case.place_old()
    blocked = case.products[-1]  # the page, for the month: made and renamed last
    os.remove(case.path(blocked))
    os.mkdir(case.path(blocked))
    write(case.path(blocked + b"/keep"), b"kept")
    case.extra.add(blocked + b"/keep")
    done = case.run()
    failure_said(case, done, None if p.kind == "batch" else errno.EISDIR, problems)
    if p.kind == "set":
        if shown(os.path.basename(blocked)) not in done.stderr.decode("utf-8", "replace"):
            problems.append("stderr does not name " + shown(os.path.basename(blocked)))
        label, what = case.state({"old": case.old[:-1], "new": case.new()[:-1]},
                                 case.products[:-1])
        if label != "old":  # all three replaced or none
            problems.append(f"{shown(blocked)} could not be replaced, yet the others are "
                            f"{label or what}")
    if read(case.path(blocked + b"/keep")) != b"kept":
        problems.append("the directory was changed")
    case.check_input(problems)
    case.check_clean(problems)
    return problems


def pipe_input(fifo):
    def cell(w, p, folder):
        problems = []
        case = Case(w, p, folder, data=None)
        data = read(w.data["new"])
        path = case.path(case.input)
        if fifo:
            os.mkfifo(path)
        else:
            os.symlink("/dev/stdin", path)
        if p.kind == "set" and fifo:  # no writer: refused at once, never waiting for one
            done = case.start()
            if done.wait(15) is None:
                problems.append("it waited for a writer of the FIFO (killed after 15 s)")
        elif fifo:
            feeder = threading.Thread(target=feed_fifo, args=(path, data), daemon=True)
            feeder.start()
            done = case.start()
            done.wait()
            release_fifo(path, feeder)
        else:
            done = case.start(stdin=subprocess.PIPE)
            fed = []
            feeder = threading.Thread(target=feed_pipe, args=(done.popen.stdin, data, fed),
                                      daemon=True)
            feeder.start()
            done.wait()
            feeder.join(10)
            if p.kind == "set" and fed:  # far more than a pipe holds: it was read
                problems.append("the whole pipe was read before the answer")
        if p.kind == "set":
            if done.status == 0 or (done.status is not None and not done.stderr.strip()):
                problems.append(f"not refused: {status_text(done.status)} {done.said()}")
            case.check_clean(problems, with_products=False)
            return problems
        if done.status != 0:
            problems.append(f"{status_text(done.status)} {done.said()}")
        case.expect({"new": case.new(), "absent": [None] * len(case.products)}, ("new",),
                    problems)
        case.check_clean(problems)
        return problems
    return cell


def directory_input(w, p, folder):
    """A folder named as the input: refused, the old target kept (the month makes no
    folder); the batch, as when its input cannot be opened, asks for the names and, given
    none, says so."""
    problems = []
    case = Case(w, p, folder, data=None)
    os.mkdir(case.path(case.input))
    if p.kind != "set":
        case.place_old()
    done = case.run()
    if p.column in ("grouper", "java", "dotnet"):
        if done.status != 1 or b"INPUT File Open Error - " not in done.stdout:
            problems.append(f"{status_text(done.status)}, not 1 and INPUT File Open Error: "
                            f"{done.said()}")
    else:
        failure_said(case, done, None if p.kind == "set" else errno.EISDIR, problems)
    if p.kind != "set":
        case.expect({"old": case.old}, ("old",), problems)
    case.check_clean(problems, with_products=p.kind != "set")
    return problems


def feed_fifo(path, data):
    try:
        with open(path, "wb") as f:
            f.write(data)
    except OSError:
        pass


def feed_pipe(pipe, data, fed):
    """Writes `data` into `pipe`; `fed` gets True once all of it was taken."""
    try:
        pipe.write(data)
        pipe.close()
        fed.append(True)
    except OSError:
        pass


def release_fifo(path, feeder):
    """A writer still waiting for a reader, let go."""
    deadline = time.monotonic() + 5
    while feeder.is_alive() and time.monotonic() < deadline:
        try:
            os.close(os.open(path, os.O_RDONLY | os.O_NONBLOCK))
        except OSError:
            pass
        feeder.join(0.05)


def named(input_name, target, may_refuse=("java", "dotnet")):
    """Names for the input and the target; the runtimes that cannot take such a name may
    refuse it (non-zero, a word on stderr, the old target kept)."""
    def cell(w, p, folder):
        problems = []
        case = Case(w, p, folder, input_name,
                    target + (b".html" if p.column == "grouper-report" else b".out"))
        case.place_old()
        done = case.run()
        if done.status == 0:
            case.expect({"new": case.new(), "old": case.old}, ("new",), problems)
        elif p.column in may_refuse:  # the runtime itself may refuse it, on stdout (Mono)
            if done.status is None or done.status <= 0 or not (done.stdout + done.stderr).strip():
                problems.append(f"refused: {status_text(done.status)}, {done.said()}")
            case.expect({"old": case.old}, ("old",), problems)
        else:
            problems.append(f"{status_text(done.status)} {done.said()}")
        case.check_input(problems)
        case.check_clean(problems)
        return problems
    return cell


def held_open(w, p, folder):
    """Under Wine: a product held open by another program, as an editor holds it."""
    if not w.o.wine:
        raise Skip("no Windows build given (--wine BUILD_DIR, as .ci/writers.sh runs it)")
    holder = w.holder()
    windows = w.windows_programs()[p.column]
    problems = []
    case = Case(w, windows, folder)
    case.place_old()
    held = case.products[1 if p.kind == "set" else 0]  # the month: its explanation table
    case.extra.add(b"release")
    hold = w.start(windows, case.folder, ["wine", holder, held, "release"],
                   stdin=subprocess.DEVNULL)
    deadline = time.monotonic() + 90
    while b"held" not in hold.stdout and hold.popen.poll() is None and \
            time.monotonic() < deadline:
        time.sleep(0.1)
    if b"held" not in hold.stdout:
        hold.popen.kill()
        hold.wait()
        raise Skip(f"the holder did not hold {shown(held)}: {hold.said()}")
    try:
        done = case.run()
    finally:
        write(case.path(b"release"), b"")
        if hold.wait(30) is None:
            problems.append("the holder did not let go")
    failure_said(case, done, None, problems, name=held)
    if p.kind != "batch" and shown(os.path.basename(held)) not in \
            done.stderr.decode("utf-8", "replace"):
        problems.append(f"stderr does not name {shown(os.path.basename(held))}: "
                        f"{done.stderr[-200:]!r}")
    case.expect({"old": case.old, "new": case.new()}, ("old",), problems)
    case.check_input(problems)
    case.check_clean(problems)
    return problems


SCENARIOS = [
    ("two runs at once on one target", two_runs),
    ("two inputs with one stem", one_stem),
    ("SIGINT in the middle", signalled(signal.SIGINT)),
    ("SIGTERM in the middle", signalled(signal.SIGTERM)),
    ("SIGHUP in the middle", signalled(signal.SIGHUP)),
    ("kill -9, then a new run", killed),
    ("stopped after the 1st rename", stopped_after_rename(1)),
    ("stopped after the 2nd rename", stopped_after_rename(2)),
    ("a full disk", full_disk),
    ("a read-only folder (unprivileged)", read_only_folder),
    ("a read-only target (unprivileged)", read_only_target),
    ("a target of mode 0600", mode_kept),
    ("a symbolic link to the input", link_to_input(hard=False)),
    ("a hard link to the input", link_to_input(hard=True)),
    ("a symbolic link to another file", link_to_other),
    ("a directory where the target goes", directory_in_place),
    ("a pipe as input (/dev/stdin)", pipe_input(fifo=False)),
    ("a FIFO as input", pipe_input(fifo=True)),
    ("a directory as input", directory_input),
    ("names that are not UTF-8", named(b"\xff\xfe.in", b"\xfe\xff")),
    ("Hangul names with a blank", named("12월 자료.txt".encode(), "12월 결과".encode(),
                                        may_refuse=())),
    ("held open by another program (Wine)", held_open),
]


def cell_text(w, scenario, function, column, skipped_columns):
    why = NOT_APPLICABLE.get(scenario, {}).get(column)
    if why:
        return "n/a", why
    if column in skipped_columns:
        return "skipped", skipped_columns[column]
    program = w.linux[column]
    folder = os.path.join(w.root, "cells", f"{len(os.listdir(os.path.join(w.root, 'cells')))}",
                          "case")
    try:
        problems = function(w, program, folder)
    except Skip as e:
        return "skipped", str(e)
    except Exception as e:  # a fault of the setting up, said in its cell
        return "FAILED", f"{type(e).__name__}: {e}"
    return ("FAILED", "; ".join(problems)) if problems else ("held", "")


def print_table(results):
    width = max(len(s) for s, _ in SCENARIOS)
    print("\n" + " " * width + " | " + " | ".join(f"{c:<14}" for c in COLUMNS))
    print("-" * (width + 17 * len(COLUMNS)))
    notes = {}  # the same words, one note
    for scenario, _ in SCENARIOS:
        cells = []
        for column in COLUMNS:
            word, why = results[scenario][column]
            mark = word
            if word != "held":  # its words follow the table, once for every cell they fit
                mark += f" [{notes.setdefault(f'{word}: {why}', len(notes) + 1)}]"
            cells.append(f"{mark:<14}")
        print(f"{scenario:<{width}} | " + " | ".join(cells))
    print()
    for note, i in notes.items():
        print(f"[{i}] {note}")


def main():
    parser = argparse.ArgumentParser()
    for name in ("grouper", "month", "report", "sample"):
        parser.add_argument("--" + name, required=True)
    parser.add_argument("--java")
    parser.add_argument("--classpath")
    parser.add_argument("--library")
    parser.add_argument("--skip-java")
    parser.add_argument("--mono")
    parser.add_argument("--dotnet")
    parser.add_argument("--skip-dotnet")
    parser.add_argument("--wine", help="the Windows build folder (build/windows)")
    parser.add_argument("--records", type=int, default=1000000,
                        help="records of the large file that the signals stop")
    parser.add_argument("--medium", type=int, default=100000,
                        help="records of the file of two runs at once")
    parser.add_argument("--only", help="only the scenarios whose name holds this text")
    o = parser.parse_args()
    for name in ("grouper", "month", "report", "sample", "library", "dotnet", "wine"):
        if getattr(o, name):
            setattr(o, name, os.path.abspath(getattr(o, name)))
    if o.classpath:  # the programs run in folders of their own
        o.classpath = ":".join(os.path.abspath(p) for p in o.classpath.split(":"))
    skipped = {}
    if not o.java:
        skipped["java"] = o.skip_java or "the Java command was not given (--java)"
    if not o.mono:
        skipped["dotnet"] = o.skip_dotnet or "the .NET command was not given (--mono)"
    if o.wine and not os.path.exists(os.path.join(o.wine, "grouper.exe")):
        parser.error(f"no grouper.exe in {o.wine}")
    # A suite started in the background of a shell has SIGINT ignored, and its programs
    # would inherit that: they are to meet the signals as a terminal's programs do.
    signal.signal(signal.SIGINT, signal.default_int_handler)
    for sig in (signal.SIGTERM, signal.SIGHUP):
        if signal.getsignal(sig) == signal.SIG_IGN:
            signal.signal(sig, signal.SIG_DFL)
    started = time.monotonic()
    w = Work(o)
    results = {}
    try:
        for scenario, function in SCENARIOS:
            if o.only and o.only not in scenario:
                continue
            results[scenario] = {c: cell_text(w, scenario, function, c, skipped)
                                 for c in COLUMNS}
            print(f"{scenario}: " + ", ".join(f"{c} {results[scenario][c][0]}"
                                                for c in COLUMNS), flush=True)
    finally:
        if o.wine:
            subprocess.run(["wineserver", "-k"], capture_output=True,
                           env=dict(os.environ, **w.windows_programs()["grouper"].env))
        w.close()
    SCENARIOS[:] = [s for s in SCENARIOS if s[0] in results]
    print_table(results)
    failed = sum(word == "FAILED" for row in results.values() for word, _ in row.values())
    print(f"\ncheck_writers: {failed} cells failed ({time.monotonic() - started:.0f} s)")
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main())
