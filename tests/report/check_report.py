#!/usr/bin/env python3
"""The monthly report rendered by headless Chromium, checked against the batch's own answers:
totals, form-version rows, group codes, messages and details from the batch's console and result
file, the ADL histogram from grouper-explain; the filing section's fingerprint and its empty
warnings; a page that refers to nothing outside itself, masks identifiers and is not blank on a
screenshot. Exits 77 (skipped) without chromium, unless
REPORT_TEST_REQUIRE_CHROMIUM=1.

It also draws the screenshots of the Korean guide (docs/ko/images/) from the bundled sample, into
WORK/guide/, each with the text it shows (every text of the page that the browser lays out
inside the picture, one per line, the time of the run masked), and checks that each committed
picture has the size of the fresh one and that the text kept beside it (NAME.txt) is the fresh
text: a new version, wording or fault detail fails until the pictures are redrawn. The pixels
themselves differ with the fonts and are not compared. To redraw the pictures, copy them over:
  cp build/default/report_browser/guide/report-*.png build/default/report_browser/guide/report-*.txt \
    docs/ko/images/
"""
import argparse
import collections
import hashlib
import html
import html.parser
import json
import os
import re
import shutil
import struct
import subprocess
import sys
import zlib

VERSIONS = ("089", "010", "090", "011", "091", "012", "092", "013")
FIXED_CODES = ("A11 A12 A21 A22 A23 A31 A32 A33 A41 A51 A61 A62 A71 A72 A73").split()
DETAILS, LINES_PER_LIST = 1000, 50
SOURCE = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
# The guide's pictures: name, the part of the page shown, the browser's window size.
GUIDE_SHOTS = (("report-top.png", "month", (1000, 1300)),
               ("report-errors.png", "errors", (1000, 700)),
               ("report-warning.png", "utf8", (1000, 560)))
failures = []


def check(ok, what):
    if not ok:
        failures.append(what)


def run(args, cwd, **kw):
    return subprocess.run(args, cwd=cwd, capture_output=True, timeout=300, **kw)


def batch_answers(grouper, work, path):
    """Per line (form version row, outcome, code or message) from the batch."""
    done = run([grouper, path, "batch.out"], work)
    assert done.returncode == 0, done.stderr
    console = done.stdout.decode("cp949").split("\n")
    with open(os.path.join(work, "batch.out"), "rb") as f:
        results = f.read().split(b"\r\n")[:-1]
    answers = []
    for number, text in enumerate(line for line in console if line):
        m = re.fullmatch(r"데이타\((\d+)\) \.\. (.*)", text)
        assert m and int(m.group(1)) == number + 1, text
        said = m.group(2)
        version = results[number][:3].decode("latin-1")
        row = version if version in VERSIONS else "base"
        if said.startswith("완료 ("):
            answers.append((row, "grouped", said[len("완료 ("):-1]))
        elif said.startswith("오류-잘못된 데이타 타입입니다."):
            answers.append((row, "wrong_type", None))
        else:
            answers.append((row, "rejected", said))
    assert len(answers) == len(results), (len(answers), len(results))
    return answers


class Dom(html.parser.HTMLParser):
    """Elements with their attributes and text; each table row with its cells."""

    def __init__(self):
        super().__init__()
        self.elements, self.open = [], []

    def handle_starttag(self, tag, attrs):
        element = {"tag": tag, "attrs": dict(attrs), "text": "", "cells": []}
        self.elements.append(element)
        if tag == "td":
            next(e for e in reversed(self.open) if e["tag"] == "tr")["cells"].append(element)
        if tag not in ("meta", "br", "line", "rect", "link", "img", "input"):
            self.open.append(element)

    def handle_endtag(self, tag):
        while self.open:
            if self.open.pop()["tag"] == tag:
                break

    def handle_data(self, data):
        for element in self.open:
            element["text"] += data

    def having(self, attribute):
        return [e for e in self.elements if attribute in e["attrs"]]


def chromium(browser, work, *args):
    profile = os.path.join(work, "chromium-profile")
    flags = ["--headless", "--no-sandbox", "--disable-gpu", "--disable-quic", "--no-first-run",
             "--disable-background-networking", "--disable-component-update", "--disable-sync",
             "--hide-scrollbars", "--user-data-dir=" + profile]
    done = run([browser] + flags + list(args), work)
    assert done.returncode == 0, done.stderr.decode(errors="replace")[-2000:]
    return done.stdout.decode("utf-8")


def png_pixels(path):
    """Width, height, channels and unfiltered rows of an 8-bit RGB(A) PNG."""
    with open(path, "rb") as f:
        data = f.read()
    pos, idat = 8, b""
    while pos < len(data):
        length, kind = struct.unpack(">I4s", data[pos:pos + 8])
        if kind == b"IHDR":
            width, height, depth, color, _, _, interlace = struct.unpack(">IIBBBBB", data[pos + 8:pos + 21])
            assert data[:4] == b"\x89PNG" and depth == 8 and color in (2, 6) and not interlace
        elif kind == b"IDAT":
            idat += data[pos + 8:pos + 8 + length]
        pos += 12 + length
    n = 4 if color == 6 else 3
    raw, stride, rows, up = zlib.decompress(idat), width * n, [], bytearray(width * n)
    for row in range(height):
        kind, line = raw[row * (stride + 1)], bytearray(raw[row * (stride + 1) + 1:(row + 1) * (stride + 1)])
        if kind == 2:
            line = bytearray((x + u) & 255 for x, u in zip(line, up))
        for i in range(stride if kind in (1, 3, 4) else 0):
            a, b, c = line[i - n] if i >= n else 0, up[i], up[i - n] if i >= n else 0
            p = a + b - c
            paeth = a if abs(p - a) <= min(abs(p - b), abs(p - c)) else b if abs(p - b) <= abs(p - c) else c
            line[i] = (line[i] + {1: a, 3: (a + b) // 2, 4: paeth}[kind]) & 255
        rows.append(line)
        up = line
    return width, height, n, rows


def png_size(path):
    with open(path, "rb") as f:
        head = f.read(24)
    return struct.unpack(">II", head[16:24]) if head[:8] == b"\x89PNG\r\n\x1a\n" else None


# Written into a copy of a guide page: the texts that the browser lays out inside the window, in
# page order, into an element that --dump-dom then shows.
SHOWN_TEXT_SCRIPT = """<script>(function () {
  var shown = [], walk = document.createTreeWalker(document.body, NodeFilter.SHOW_TEXT);
  for (var node; (node = walk.nextNode());) {
    var text = node.data.replace(/\\s+/g, " ").trim();
    if (!text || node.parentElement.closest("script")) continue;
    var range = document.createRange();
    range.selectNodeContents(node);
    var rects = range.getClientRects();
    for (var i = 0; i < rects.length; ++i) {
      var r = rects[i];
      if (r.width > 0 && r.height > 0 && r.bottom > 0 && r.top < innerHeight && r.right > 0 &&
          r.left < innerWidth) {
        shown.push(text);
        break;
      }
    }
  }
  var out = document.createElement("pre");
  out.id = "shown-text";
  out.textContent = JSON.stringify(shown);
  document.body.appendChild(out);
})();</script></body>"""
# The time of the run, as the report writes it (machine-readable or for a clerk).
RUN_TIME = re.compile(r"\d{4}-\d{2}-\d{2}[T ]\d{2}:\d{2}(:\d{2})?"
                      r"( ?\(UTC[+-]\d{2}:\d{2}\)|[+-]\d{2}:\d{2}|Z)?")


def shown_text(browser, work, page, width, height):
    """The texts of `page` that a window of the picture's size shows, one per line, time masked."""
    with open(page, encoding="utf-8") as f:
        html_text = f.read()
    probe = page + ".shown.html"
    with open(probe, "w", encoding="utf-8") as f:
        f.write(html_text.replace("</body>", SHOWN_TEXT_SCRIPT, 1))
    dom = chromium(browser, work, "--dump-dom", f"--window-size={width},{height}",
                   "file://" + probe)
    found = re.search(r'<pre id="shown-text">(.*?)</pre>', dom, re.S)
    assert found, "the page's shown text was not written"
    texts = json.loads(html.unescape(found.group(1)))
    return "".join(RUN_TIME.sub("(시각)", text) + "\n" for text in texts)


def guide_screenshots(browser, report, work):
    """The guide's pictures of the report of the bundled sample, named as a clerk's month."""
    guide = os.path.join(work, "guide")
    os.makedirs(guide)
    with open(os.path.join(SOURCE, "examples", "sample.in"), "rb") as f:
        sample = f.read()
    inputs = {"month": ("2026년 12월.txt", sample),
              "utf8": ("2026년 12월 (UTF-8).txt", sample.decode("cp949").encode("utf-8"))}
    pages = {}
    for part, (name, data) in inputs.items():
        with open(os.path.join(guide, name), "wb") as f:
            f.write(data)
        page = os.path.splitext(name)[0] + ".html"
        done = run([report, name, page], guide, env=dict(os.environ, TZ="Asia/Seoul"))
        assert done.returncode == 0, done.stderr
        pages[part] = os.path.join(guide, page)
    # The errors: the same page with the sections above its messages hidden.
    with open(pages["month"], encoding="utf-8") as f:
        page = f.read()
    hide = "<style>header, #filing, #summary, #groups, #adl { display: none }</style></head>"
    pages["errors"] = os.path.join(guide, "errors.html")
    with open(pages["errors"], "w", encoding="utf-8") as f:
        f.write(page.replace("</head>", hide, 1))
    for name, part, (width, height) in GUIDE_SHOTS:
        shot = os.path.join(guide, name)
        chromium(browser, guide, "--screenshot=" + shot, f"--window-size={width},{height}",
                 "file://" + pages[part])
        committed = os.path.join(SOURCE, "docs", "ko", "images", name)
        check(png_size(shot) == (width, height), f"guide picture {name}: {png_size(shot)}")
        check(os.path.exists(committed) and png_size(committed) == png_size(shot),
              f"docs/ko/images/{name} is not the size of the fresh {shot}")
        text = shown_text(browser, guide, pages[part], width, height)
        text_name = os.path.splitext(name)[0] + ".txt"
        with open(os.path.join(guide, text_name), "w", encoding="utf-8") as f:
            f.write(text)
        kept = os.path.join(SOURCE, "docs", "ko", "images", text_name)
        kept_text = open(kept, encoding="utf-8").read() if os.path.exists(kept) else None
        if kept_text != text:
            old_lines, new_lines = (kept_text or "").splitlines(), text.splitlines()
            changed = [line for line in new_lines if line not in old_lines][:3]
            check(False, f"docs/ko/images/{name} shows another page than this build's "
                  f"(docs/ko/images/{text_name} differs from {os.path.join(guide, text_name)}, "
                  f"new: {changed}); redraw the pictures: cp {guide}/report-*.png {guide}/report-*.txt "
                  f"docs/ko/images/")


def main():
    parser = argparse.ArgumentParser()
    for name in ("grouper", "report", "sample", "explain", "work"):
        parser.add_argument("--" + name, required=True)
    parser.add_argument("--count", type=int, default=20000)
    parser.add_argument("--seed", default="29")
    options = parser.parse_args()
    for name in ("grouper", "report", "sample", "explain", "work"):
        setattr(options, name, os.path.abspath(getattr(options, name)))
    browser = os.environ.get("CHROMIUM") or shutil.which("chromium") or shutil.which("chromium-browser")
    if not browser:
        required = os.environ.get("REPORT_TEST_REQUIRE_CHROMIUM") == "1"
        print("chromium is not installed (apt-get install chromium):",
              "the test cannot run" if required else "skipped")
        return 1 if required else 77
    work = options.work
    shutil.rmtree(work, ignore_errors=True)
    os.makedirs(work)

    # The input: generated records with faults, then lines that no generator writes.
    generated = run([options.sample, "--count", str(options.count), "--seed", options.seed,
                     "--faults", "0.1"], work)
    assert generated.returncode == 0, generated.stderr
    with open(os.path.join(work, "month.in"), "wb") as f:
        f.write(generated.stdout + b"\r\n<script>'&\"</script>\r\n" + b"9" * 1500 + b"\r\n")
    answers = batch_answers(options.grouper, work, "month.in")

    # Exit statuses; the input is never the report.
    for args, status in (([], 2), (["month.in"], 2), (["--x", "r.html"], 2),
                         (["month.in", "month.in"], 2), (["missing.in", "r.html"], 1),
                         (["month.in", "/dev/full"], 1)):
        done = run([options.report] + args, work)
        check(done.returncode == status, f"grouper-report {args}: status {done.returncode}")
        check(status != 2 or b"usage: grouper-report" in done.stderr, f"{args}: no usage line")
    check(not os.path.exists(os.path.join(work, "r.html")), "a failed run left a report")
    check(os.path.exists("/dev/full") and not os.path.isfile("/dev/full"), "/dev/full is gone")
    done = run([options.report, "month.in", "month.html"], work)
    assert done.returncode == 0, done.stderr
    with open(os.path.join(work, "month.html"), encoding="utf-8") as f:
        page = f.read()

    # Self-contained, and no identifier in clear.
    check(re.search(r"<meta charset=\"utf-8\">", page), "no utf-8 charset")
    for pattern in (r"<script", r"@import", r"url\(", r"<(link|img|iframe|object|embed)\b",
                    r"\b(src|href|xlink:href|action)\s*=\s*(?![\"']?#)", r"https?:|file:"):
        check(not re.search(pattern, page, re.I), f"the page matches {pattern}")
    # Synthetic names start with 가상; no resident number (13 digits) in clear
    # (the file's SHA-256 may hold a run of digits).
    with open(os.path.join(work, "month.in"), "rb") as f:
        sha256 = hashlib.sha256(f.read()).hexdigest()
    check("가상" not in page and not re.search(
        r"\d{9}", re.sub(r"data-[a-z-]+=\"\d+\"", "", page.replace(sha256, ""))),
          "an unmasked name or resident number")

    dom = Dom()
    dom.feed(chromium(browser, work, "--dump-dom", "file://" + os.path.join(work, "month.html")))
    expect = collections.Counter((kind for _, kind, _ in answers))
    summary = dom.having("data-total-lines")
    check(len(summary) == 1, "one summary element")
    totals = {k: int(summary[0]["attrs"]["data-" + k]) for k in
              ("total-lines", "grouped", "rejected", "wrong-type")}
    check(totals == {"total-lines": len(answers), "grouped": expect["grouped"],
                     "rejected": expect["rejected"], "wrong-type": expect["wrong_type"]},
          f"totals {totals} against the batch's {dict(expect)}")

    filing = dom.having("data-file-sha256")
    check(len(filing) == 1 and filing[0]["attrs"]["data-file-sha256"] == sha256
          and filing[0]["attrs"]["data-warnings"] == ""
          and filing[0]["attrs"]["data-period-start"] <= filing[0]["attrs"]["data-period-end"],
          "the filing section: fingerprint, period or a false warning")
    reasons = dom.having("data-wrong-type-line")
    wrong_lines = [n for n, (_, kind, _) in enumerate(answers, 1) if kind == "wrong_type"]
    check([int(e["attrs"]["data-wrong-type-line"]) for e in reasons] == wrong_lines[:LINES_PER_LIST],
          "wrong-data-type lines without their reasons")

    rows = collections.defaultdict(collections.Counter)
    for row, kind, _ in answers:
        rows[row][kind] += 1
    shown = {e["attrs"]["data-form-version"]: {k: int(e["attrs"]["data-" + k]) for k in
             ("lines", "grouped", "rejected", "wrong-type")} for e in dom.having("data-form-version")}
    check(shown == {row: {"lines": sum(c.values()), "grouped": c["grouped"],
                          "rejected": c["rejected"], "wrong-type": c["wrong_type"]}
                    for row, c in rows.items()}, f"form-version rows {shown}")

    codes = collections.Counter(code for _, kind, code in answers if kind == "grouped")
    bars = [(e["attrs"]["data-group-code"], int(e["attrs"]["data-count"]))
            for e in dom.having("data-group-code")]
    check([code for code, _ in bars] == FIXED_CODES + sorted(set(codes) - set(FIXED_CODES) - {""})
          + ([""] if "" in codes else []), f"bars not one per code in order: {bars}")
    check(dict(bars) == {code: codes[code] for code in set(FIXED_CODES) | set(codes)},
          f"group code counts {bars} against {dict(codes)}")

    explained = run([options.explain, "--json", "month.in"], work)
    adl = collections.Counter(json.loads(line)["scores"]["adl_score"] for line in
                              explained.stdout.decode().splitlines() if '"group_code"' in line
                              and json.loads(line)["result"] == "group_code")
    histogram = {int(e["attrs"]["data-adl-score"]): int(e["attrs"]["data-count"])
                 for e in dom.having("data-adl-score")}
    check(histogram == {score: adl[score] for score in range(21)}, f"ADL {histogram} {adl}")

    # Messages: counts, order, and the line numbers kept for each.
    lines_of = collections.defaultdict(list)
    for number, (_, kind, said) in enumerate(answers, 1):
        if kind == "rejected":
            lines_of[said].append(number)
    listed = {}
    for e in dom.having("data-message-count"):
        _, _, message, _, numbers = (cell["text"] for cell in e["cells"])
        count = int(e["attrs"]["data-message-count"])
        listed[message] = count
        kept = [int(n.replace(",", "")) for n in re.findall(r"[\d,]+", numbers.split(" 외 ")[0])]
        check(kept == lines_of.get(message, [])[:LINES_PER_LIST], f"line numbers of {message}")
        check((" 외 " in numbers) == (count > LINES_PER_LIST), f"no 'more' note for {message}")
    counts = [int(e["attrs"]["data-message-count"]) for e in dom.having("data-message-count")]
    check(counts == sorted(counts, reverse=True), "messages not most frequent first")
    check(listed == {m: len(n) for m, n in lines_of.items()}, "message counts")

    rejected_lines = [n for n, (_, kind, _) in enumerate(answers, 1) if kind == "rejected"]
    details = dom.having("data-details-total")
    check(len(details) == 1 and int(details[0]["attrs"]["data-details-total"]) == len(rejected_lines)
          and int(details[0]["attrs"]["data-details-shown"]) == DETAILS, "details section")
    records = [e for e in dom.elements if e["tag"] == "article"]
    check([e["attrs"].get("id") for e in records] == [f"line-{n}" for n in rejected_lines[:DETAILS]],
          "detailed records are not the first rejected ones")
    check(all(answers[int(e["attrs"]["data-line"]) - 1][2] in e["text"] for e in records),
          "a detailed record lacks the batch's message")
    ids = {e["attrs"]["id"] for e in dom.having("id")}
    links = [e["attrs"]["href"][1:] for e in dom.having("href")]
    check(links and all(link in ids for link in links), "a link to no element")

    # The test's own premises: the caps and every kind of line were exercised.
    check(len(rejected_lines) > DETAILS and max(map(len, lines_of.values())) > LINES_PER_LIST
          and expect["wrong_type"] > 0, "the input does not exercise the caps")

    shot = os.path.join(work, "month.png")
    chromium(browser, work, "--screenshot=" + shot, "--window-size=1200,3000",
             "file://" + os.path.join(work, "month.html"))
    width, height, channels, pixels = png_pixels(shot)
    inked = sum(1 for row in pixels for x in range(0, len(row), channels)
                if min(row[x:x + 3]) < 200)
    check((width, height) == (1200, 3000), f"screenshot is {width}x{height}")
    check(inked > width * height // 50, f"screenshot nearly blank: {inked} inked pixels")
    guide_screenshots(browser, options.report, work)

    for failure in failures:
        print("FAIL:", failure)
    print(f"report browser test: {len(answers)} lines, {totals}, {len(bars)} code bars, "
          f"{len(listed)} messages, {len(records)} detailed records, {inked} inked pixels")
    print(f"{0 if failures else 1} passed, {1 if failures else 0} failed")
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
