#!/usr/bin/env python3
"""grouper-explain against the batch program, end to end.

Usage: explain_check.py GROUPER GROUPER_EXPLAIN GROUPER_SAMPLE SOURCE_DIR

Generates a file of every form version with faults, runs the batch on it and
grouper-explain --json (masked and with --show-identifiers), and checks every
line: it parses with json; its answer is the batch's (the first fault is the
batch's message, the group code the batch's code); the criteria agree with
the group letter; the patient's name and resident number appear only with
--show-identifiers. The evidence: the layout is the form version's; every
fault's columns are its field's place in the layout table of the sources
(src/record/input_layout_table.h, read here on its own); every field that a
rule or a deciding criterion read shows the bytes at its columns, a score the
classifier's number; an admission-order fault lists the three dates. The
table of --csv, read with Python's csv, agrees with the JSON. No wrong-file
warning for the generated file, one for each wrong copy. A pain grade
written "x0" in a generated record names the pain frequency as the item its
mend brings into the check, and the batch, given the mended record, rejects it
on that item. Then the exit statuses 0, 1 and 2 and --lines.
"""
import csv
import io
import json
import re
import os
import subprocess
import sys
import tempfile

VERSIONS = ["089", "010", "090", "011", "091", "012", "092", "013"]
LAYOUTS = {"089": "089/010", "010": "089/010", "090": "090/011", "011": "090/011",
           "091": "091/012", "012": "091/012", "092": "092/013", "013": "092/013"}
# The columns of the layout table: base, 089/010, 090/011, 091/012, 092/013.
FAMILY_COLUMN = {"base": 0, "089/010": 1, "090/011": 2, "091/012": 3, "092/013": 4}
ADMISSION_ORDER = "입원일은 요양개시일,작성일보다"
WRONG_DATA_TYPE = "오류-잘못된 데이타 타입입니다.".encode("cp949")

failures = []
exercised = {"admission order": 0, "irregular rule": 0, "deciding criterion": 0, "score": 0}


def check(condition, what):
    if not condition:
        failures.append(what)


def summary(name):
    """Prints the first failures and the count; the exit status."""
    for f in failures[:20]:
        print("FAILED:", f)
    print(f"{name}: {len(failures)} failures")
    return 1 if failures else 0


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


def layout_table(source_dir):
    """{field: (width, [start per family], item code, item name)} from the layout table's
    rows: ROW(field, code, kind, width, starts..., message, name), the name last."""
    path = os.path.join(source_dir, "src", "record", "input_layout_table.h")
    text = open(path, encoding="utf-8").read()
    table = {}
    for row in re.split(r"\n    ROW\(", text)[1:]:
        m = re.match(r"(\w+), \"([^\"]*)\", \w+, (\d+), (-?\d+), (-?\d+), (-?\d+), (-?\d+), (-?\d+),",
                     row)
        name = re.findall(r'u8"([^"]*)"\),?\s*$', row.split("\n};")[0].strip())
        if m and name:
            table[m.group(1)] = (int(m.group(3)), [int(m.group(k)) for k in range(4, 9)],
                                 m.group(2), name[0])
    return table


def written(line, columns):
    """The bytes of `line` at [start, width], as the explanation converts them:
    the line's text ends at a NUL and its trailing blanks are trimmed."""
    start, width = columns
    text = line.split(b"\0")[0].rstrip(b" \r\n")
    return text[start:start + width].decode("cp949", errors="replace")


def check_evidence(where, line, e, layout):
    """The evidence of one explanation (with identifiers whole) against its line."""
    family = FAMILY_COLUMN[e["layout"]]

    def place(name):
        if name == "form_version":
            return [0, 3]
        width, starts, _, _ = layout[name]
        return [starts[family], width]

    def words(name):
        """A field's item code and name on the form; the version code has a name only."""
        if name == "form_version":
            return [None, "서식 버전"]
        return list(layout[name][2:]) if name in layout else [None, None]

    def check_fields(what, fields):
        for f in fields:
            check([f["item_code"], f["label"]] == words(f["name"]),
                  f"{where}: {what}: {f['name']} is {f['item_code']} {f['label']}")
            if f["columns"] is None:
                exercised["score"] += 1
                check(f["name"] in e["scores"] or f["name"].startswith("set_"),
                      f"{where}: {what}: {f['name']} has no columns")
                if f["name"] in e["scores"]:
                    check(f["value"] == e["scores"][f["name"]], f"{where}: {what}: score")
                continue
            check(f["columns"] == place(f["name"]), f"{where}: {what}: {f['name']} columns")
            check(f["value"] == written(line, f["columns"]),
                  f"{where}: {what}: {f['name']} {f['value']!r} is not as written")

    for fault in e["faults"]:
        if fault["field"] is None:
            check(fault["columns"] is None, f"{where}: columns without a field")
        else:
            check(fault["columns"] == place(fault["field"]), f"{where}: columns of {fault['field']}")
        check([fault["item_code"], fault["label"]] == words(fault["field"]),
              f"{where}: the words of {fault['field']}")
        check_fields(fault["message"], fault["fields"])
        if fault["field"] is None and fault["fields"]:
            exercised["irregular rule"] += 1
        if ADMISSION_ORDER in fault["message"]:
            exercised["admission order"] += 1
            check([f["name"] for f in fault["fields"]] ==
                  ["a_admission_date", "a_care_start_date", "a_assessment_date"],
                  f"{where}: the admission order lists not the three dates")
    decided = {s for s, code in e["criteria"].items() if code is not None and s != "G"}
    check(set(e["decided_by"]) == decided, f"{where}: decided_by is not the sets decided")
    for s, tested in e["decided_by"].items():
        exercised["deciding criterion"] += 1
        check(tested, f"{where}: criterion {e['criteria'][s]} tested nothing")
        check_fields(e["criteria"][s], tested)


def shown(code, label, name):
    """A field or score as the text and the table name it."""
    return name if label is None else label if code is None else f"{code} {label}"


def check_csv(explain, source, lines):
    """The table agrees with the JSON, row by row."""
    done = run(explain, "--csv", source)
    check(done.returncode == 0, "--csv failed")
    data = done.stdout
    check(data.startswith(b"\xef\xbb\xbf"), "the table has no byte-order mark")
    # Outside the quoted cells (whose line feeds part faults), every line end is CR LF.
    unquoted = re.sub(rb'"(?:[^"]|"")*"', b"", data)
    check(data.endswith(b"\r\n") and b"\n" not in unquoted.replace(b"\r\n", b""),
          "row ends are not CR LF")
    rows = list(csv.reader(io.StringIO(data.decode("utf-8-sig"), newline="")))
    header = ["line", "layout", "form_version", "result", "group_code", "message", "fault_count",
              "faults", "patient_name", "resident_number", "doctor_name", "nurse_name",
              "fault_items"]
    check(rows[0] == header, f"header {rows[0]}")
    check(len(rows) == len(lines) + 1, "not one row per line")

    def items(fault):
        if fault["field"] is not None:
            return shown(fault["item_code"], fault["label"], fault["field"])
        return "; ".join(shown(f["item_code"], f["label"], f["name"]) for f in fault["fields"])

    for row, e in zip(rows[1:], lines):
        where = f"csv line {e['line']}"
        ids = e["identifiers"] or {}
        # A base-layout line is named as such, not by its institution code's first bytes.
        expected = [str(e["line"]), e["layout"],
                    "기본 서식" if e["layout"] == "base" else e["form_version"], e["result"],
                    e["group_code"] or "", e["message"] or "", str(len(e["faults"])),
                    "\n".join(f["message"] for f in e["faults"]),
                    ids.get("patient_name") or "", ids.get("resident_number") or "",
                    ids.get("doctor_name") or "", ids.get("nurse_name") or "",
                    "\n".join(items(f) for f in e["faults"])]
        check(row == expected, f"{where}: {row} against {expected}")


def wrong_copies(tmp, source):
    """Copies of the file at `source` in `tmp` that bear each sign of a wrong file, by the
    sign's name: saved as UTF-8, with CR line ends, and an empty file."""
    data = open(source, "rb").read()
    copies = {"utf8": data.decode("cp949").encode("utf-8"),
              "cr-line-ends": data.replace(b"\r\n", b"\r"), "empty": b""}
    paths = {}
    for name, copy in copies.items():
        paths[name] = os.path.join(tmp, name + ".in")
        with open(paths[name], "wb") as f:
            f.write(copy)
    return paths


def check_warnings(explain, tmp, source):
    """No warning for a generated file; one for each kind of wrong copy."""
    done = run(explain, "--json", source)
    check(done.stderr == b"", f"a warning for a generated file: {done.stderr[:200]!r}")
    for name, path in wrong_copies(tmp, source).items():
        done = run(explain, "--json", path)
        check(done.returncode == 0, f"{name}: exit status {done.returncode}")
        said = done.stderr.decode("utf-8").splitlines()
        check(len(said) == 1 and said[0].endswith(f"[{name}]"), f"{name}: warnings {said}")
        check(b"grouper-explain:" not in done.stdout, f"{name}: a warning in the output")


def check_mend_opens(grouper, explain, sample, tmp):
    """The case that a clerk met: one fault, a pain grade that is no number; mended, the batch
    rejected the record on the pain frequency, which the explanation now names."""
    records = run(sample, "--count", "40", "--seed", "1", "--versions", "091").stdout
    # 091/012: the pain frequency at column 242, the visual grade at 243-244.
    line = next(l for l in records.split(b"\r\n") if l[242:243] == b"0" and l[243:245] == b"00")
    paths = {}
    for name, grade in (("faulty", b"x0"), ("mended", b"05")):
        paths[name] = os.path.join(tmp, name + ".txt")
        with open(paths[name], "wb") as f:
            f.write(line[:243] + grade + line[245:] + b"\r\n")
    faulty = explain_json(explain, paths["faulty"])[0]
    opens = [f["opens"] for f in faulty["faults"] if f["field"] == "g_pain_visual_scale"]
    check(opens == [[{"item": "G.2.a", "name": "통증 발생 빈도", "field": "g_pain_frequency_091"}]],
          f"the pain grade's fault names {opens}")
    text = run(explain, paths["faulty"]).stdout.decode("utf-8")
    check("\n       이 값을 고치면 다음 항목도 검사됩니다: G.2.a 통증 발생 빈도\n" in text,
          "the text does not name the pain frequency under the fault")
    result = os.path.join(tmp, "mended.out")
    check(run(grouper, paths["mended"], result).returncode == 0, "the batch failed")
    with open(result, "rb") as f:
        answer = f.read().decode("cp949")
    check("[G.건강상태][2.a.통증 발생 빈도] 통증 발생 빈도가 1 또는 2이어야 합니다." in answer,
          f"the mended record is answered {answer[-80:]!r}")


def main():
    grouper, explain, sample, source_dir = sys.argv[1:5]
    layout = layout_table(source_dir)
    check(len(layout) > 200, "the layout table was not read")
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
            check(m["layout"] == LAYOUTS.get(version, "base"), where + ": layout")
            check_evidence(where, line, w, layout)
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

        check(all(n > 10 for n in exercised.values()), f"the file does not exercise {exercised}")
        check_csv(explain, source, masked)
        check_warnings(explain, tmp, source)
        check_mend_opens(grouper, explain, sample, tmp)
        check(all(list(f)[-1] == "opens" and all(set(o) == {"item", "name", "field"}
                                                  for o in f["opens"])
                  for e in masked for f in e["faults"]), "a fault's opens is not its last key")
        text = run(explain, "--lines", "1", source).stdout.decode("utf-8")
        english = run(explain, "--lang", "en", "--lines", "1", source).stdout.decode("utf-8")
        check(text.startswith("줄 1: 서식") and english.startswith("line 1: form"),
              "text not Korean by default and English with --lang en")
        # A base-layout line by the layout's name; the form's words in both languages.
        base = str(next(e["line"] for e in masked if e["layout"] == "base"))
        for lang, start in (("ko", f"줄 {base}: 기본 서식, "), ("en", f"line {base}: base layout, ")):
            said = run(explain, "--lang", lang, "--lines", base, source).stdout.decode("utf-8")
            check(said.startswith(start), f"--lang {lang}: base-layout line as {said[:40]!r}")
        number, field = next((e["line"], f) for e in whole for tested in e["decided_by"].values()
                             for f in tested if f["item_code"])
        for lang in ("ko", "en"):
            said = run(explain, "--lang", lang, "--lines", str(number), source).stdout.decode()
            start, width = field["columns"]
            check(f"{field['item_code']} {field['label']} [{start}, {width}]" in said,
                  f"--lang {lang}: {field['name']} without its item code and name")

        picked = explain_json(explain, "--lines", "2,4-5", source)
        check([p["line"] for p in picked] == [2, 4, 5], "--lines 2,4-5")

        missing = run(explain, os.path.join(tmp, "missing.txt"))
        check(missing.returncode == 1, "a missing input does not exit 1")
        for bad in ([], ["--lines", "0", source], ["--lines", "3-1", source],
                    ["--unknown", source], [source, source], ["--json", "--csv", source],
                    ["--lang", "fr", source]):
            done = run(explain, *bad)
            check(done.returncode == 2 and b"usage: grouper-explain" in done.stderr,
                  f"bad arguments {bad}: status {done.returncode}")

    return summary("explain_check")


if __name__ == "__main__":
    sys.exit(main())
