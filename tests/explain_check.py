#!/usr/bin/env python3
"""grouper-explain against the batch program, end to end.

Usage: explain_check.py GROUPER GROUPER_EXPLAIN GROUPER_SAMPLE

Generates a file of every form version with faults, runs the batch on it and
grouper-explain --json (masked and with --show-identifiers), and checks every
line: it parses with json; its answer is the batch's (the first fault is the
batch's message, the group code the batch's code); the criteria agree with
the group letter; the patient's name and resident number appear only with
--show-identifiers. Then the exit statuses 0, 1 and 2 and --lines.
"""
import json
import os
import subprocess
import sys
import tempfile

VERSIONS = ["089", "010", "090", "011", "091", "012", "092", "013"]
WRONG_DATA_TYPE = "오류-잘못된 데이타 타입입니다.".encode("cp949")

failures = []


def check(condition, what):
    if not condition:
        failures.append(what)


def no_duplicate_keys(pairs):
    keys = [k for k, _ in pairs]
    if len(keys) != len(set(keys)):
        raise ValueError("duplicate key")
    return dict(pairs)


def run(*args):
    env = dict(os.environ, TZ="Asia/Seoul")
    return subprocess.run(list(args), env=env, capture_output=True)


def explain_json(explain, *args):
    done = run(explain, "--json", *args)
    check(done.returncode == 0, f"exit status {done.returncode} for {args}")
    return [json.loads(line, object_pairs_hook=no_duplicate_keys)
            for line in done.stdout.decode("utf-8").split("\n")[:-1]]


def main():
    grouper, explain, sample = sys.argv[1:4]
    with tempfile.TemporaryDirectory() as tmp:
        source = os.path.join(tmp, "in.txt")
        result = os.path.join(tmp, "out.txt")
        with open(source, "wb") as f:
            f.write(run(sample, "--count", "3000", "--seed", "11", "--faults", "0.4").stdout)
        check(run(grouper, source, result).returncode == 0, "the batch failed")
        inputs = open(source, "rb").read().split(b"\r\n")[:-1]
        outputs = open(result, "rb").read().split(b"\r\n")[:-1]
        masked = explain_json(explain, source)
        whole = explain_json(explain, "--show-identifiers", source)
        check(len(inputs) == len(outputs) == len(masked) == len(whole) == 3000, "line counts")

        seen = set()
        for number, (line, out, m, w) in enumerate(zip(inputs, outputs, masked, whole), 1):
            where = f"line {number}"
            check(m["line"] == number, where + ": number")
            version = line[:3].decode() if line[:3].decode() in VERSIONS else "base"
            seen.add((version, m["result"]))
            answer = out[len(line.rstrip(b" ")):].lstrip(b" ")
            if m["result"] == "wrong_data_type":
                check(out.endswith(WRONG_DATA_TYPE), where + ": not the batch's answer")
            elif m["result"] == "message":
                check(answer == m["message"].encode("cp949"), where + ": not the batch's message")
                check(m["faults"] and m["faults"][0]["message"] == m["message"],
                      where + ": the first fault is not the message")
                check(m["scores"] is None and m["group_letter"] is None, where + ": scores")
            else:
                check(answer == m["group_code"].encode(), where + ": not the batch's code")
                check(m["faults"] == [] and m["scores"]["adl_score"] >= 0, where + ": grouped")
                # The first set met gives the letter; G (7A) when none is.
                letter = m["group_letter"]
                check(m["criteria"].get(letter), where + ": no code for the group's set")
                check(all(m["criteria"][s] is None for s in m["criteria"] if s < letter),
                      where + ": a set before the group's is met")
            ids = w["identifiers"]
            if ids:
                # The validator takes the blanks out of the names (unless a parse
                # fault kept it from running).
                text = line.decode("cp949", errors="replace").replace(" ", "")
                for value in (ids["patient_name"], ids["resident_number"]):
                    if len(value) > 1:
                        check(value.replace(" ", "") in text,
                              where + ": the identifier is not shown whole")
                        shown = json.dumps(m, ensure_ascii=False)
                        check(value not in shown and value.replace(" ", "") not in shown,
                              where + ": an identifier shows while masked")
        for version in VERSIONS + ["base"]:
            for kind in ("group_code", "message", "wrong_data_type"):
                check((version, kind) in seen, f"no {kind} line of {version}")

        picked = explain_json(explain, "--lines", "2,4-5", source)
        check([p["line"] for p in picked] == [2, 4, 5], "--lines 2,4-5")

        missing = run(explain, os.path.join(tmp, "missing.txt"))
        check(missing.returncode == 1, "a missing input does not exit 1")
        for bad in ([], ["--lines", "0", source], ["--lines", "3-1", source],
                    ["--unknown", source], [source, source]):
            done = run(explain, *bad)
            check(done.returncode == 2 and b"usage: grouper-explain" in done.stderr,
                  f"bad arguments {bad}: status {done.returncode}")

    for f in failures[:20]:
        print("FAILED:", f)
    print(f"explain_check: {len(failures)} failures")
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
