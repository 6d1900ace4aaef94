#!/usr/bin/env python3
"""The documents hold together: every local link and picture of the Korean guide (docs/ko/) and
every relative link of the Markdown documents leads to a file, and a link's #fragment to an
element or heading there; the guide shows every picture of docs/ko/images/ at its own size; each
picture keeps beside it the text it shows (NAME.txt, which the report's browser test compares
with the page this build draws; the page in the browser keeps its own text, not its report's)
and that text names this build's version; the guide names the
Start-menu folder that the installer makes; and the guide quotes the wrong-file warnings exactly
as grouper-explain says them.

Without a browser, the text kept beside each picture is checked against the page that this
build's grouper-report makes of the same input: each of its lines, in order, must be a text of
that page (a changed word or version fails; text added to the picture is the browser test's).

Usage: check_docs.py SOURCE_DIR GROUPER_EXPLAIN GROUPER_REPORT
"""
import html.parser
import os
import re
import struct
import subprocess
import sys
import tempfile

MARKDOWN = ("README.md", "docs/output.md", "docs/library.md", "docs/windows.md",
            "docs/testing.md", "docs/packages.md", "docs/32-bit.md", "bench/README.md",
            "python/README.md", "bindings/README.md")
failures = []


class Page(html.parser.HTMLParser):
    """The ids, links and pictures of one HTML page, and its text."""

    def __init__(self):
        super().__init__()
        self.ids, self.links, self.images, self.text = set(), [], [], []

    def handle_starttag(self, tag, attrs):
        attrs = dict(attrs)
        if "id" in attrs:
            self.ids.add(attrs["id"])
        for key in ("href", "src"):
            if key in attrs:
                self.links.append(attrs[key])
        if tag == "img":
            self.images.append(attrs)

    def handle_data(self, data):
        self.text.append(data)


def markdown_anchors(path):
    """The anchors of a Markdown file's headings, as GitHub makes them."""
    anchors, seen, fenced = set(), {}, False
    with open(path, encoding="utf-8") as f:
        for line in f:
            fenced ^= line.startswith("```")
            m = None if fenced else re.match(r"#+ (.*)", line)
            if m:
                slug = re.sub(r"[^\w\- ]", "", m.group(1).strip().lower()).replace(" ", "-")
                anchors.add(slug if slug not in seen else f"{slug}-{seen[slug]}")
                seen[slug] = seen.get(slug, 0) + 1
    return anchors


def png_size(path):
    with open(path, "rb") as f:
        head = f.read(24)
    return struct.unpack(">II", head[16:24]) if head.startswith(b"\x89PNG\r\n\x1a\n") else None


def check_link(origin, link, pages):
    if re.match(r"[a-z]+:", link):  # http:, mailto: ... : not ours to check
        return
    target, _, fragment = link.partition("#")
    path = os.path.normpath(os.path.join(os.path.dirname(origin), target)) if target else origin
    if not os.path.exists(path):
        failures.append(f"{origin}: {link} leads nowhere")
    elif fragment and path.endswith(".html") and fragment not in pages[path].ids:
        failures.append(f"{origin}: {link}: no element #{fragment}")
    elif fragment and path.endswith(".md") and fragment not in markdown_anchors(path):
        failures.append(f"{origin}: {link}: no heading #{fragment}")


def warnings_said(explain):
    """The Korean sentence of each wrong-file sign, as grouper-explain writes it."""
    said = []
    with tempfile.TemporaryDirectory() as tmp:
        for name, data in (("utf8", "089 가상".encode("utf-8")), ("cr", b"089\r090\r"),
                           ("empty", b"")):
            path = os.path.join(tmp, name + ".in")
            with open(path, "wb") as f:
                f.write(data)
            done = subprocess.run([explain, path], capture_output=True, timeout=60)
            lines = done.stderr.decode("utf-8").splitlines()
            if done.returncode != 0 or len(lines) != 1:
                failures.append(f"grouper-explain on a {name} file: {done.returncode} {lines}")
                continue
            said.append(re.fullmatch(r"[^:]*: (.*) \[[a-z0-9-]+\]", lines[0]).group(1))
    return said


def program_version(explain):
    done = subprocess.run([explain, "--version"], capture_output=True, timeout=60)
    return done.stdout.decode("utf-8").split()[-1]


REDRAW = ("redraw the pictures: run the test report_browser (with chromium) and copy "
          "build/default/report_browser/guide/report-*.png and report-*.txt to docs/ko/images/")


def check_shown_text(name, path, version, texts):
    """A picture that shows the program's version shows this build's, and its text is the page's."""
    with open(path, encoding="utf-8") as f:
        lines = f.read().splitlines()
    page = PICTURE_PAGES.get(os.path.splitext(name)[0])
    if page is None:
        failures.append(f"docs/ko/images/{name}: no page is known to draw it")
    elif page == "page":
        check_kept_against_browser_page(name, lines, version, texts[page])
    elif page in texts:
        check_kept_against_page(name, lines, texts[page])
    for label, value in zip(lines, lines[1:]):
        if label == "프로그램 버전" and value != version:
            failures.append(f"docs/ko/images/{name} shows version {value}, the program is "
                            f"{version}: {REDRAW}")


# The time of the run, as the report writes it, masked as the pictures' texts keep it.
RUN_TIME = re.compile(r"\d{4}-\d{2}-\d{2}[T ]\d{2}:\d{2}(:\d{2})?"
                      r"( ?\(UTC[+-]\d{2}:\d{2}\)|[+-]\d{2}:\d{2}|Z)?")
# Each picture and the page it is drawn from, as the report's browser test draws them: the
# bundled sample named as a clerk's month, in code page 949 and saved as UTF-8.
PICTURE_PAGES = {"report-top": "cp949", "report-errors": "cp949", "report-warning": "utf8",
                 "page-month": "page"}
# The page in the browser (grouper.html) is drawn by its own browser test, from the sample too.
PAGE_REDRAW = ("redraw the page's picture: run js/test/page.test.mjs with GROUPER_PAGE_PICTURES=DIR "
               "and copy DIR/page-month.png and page-month.txt to docs/ko/images/")


class PageTexts(html.parser.HTMLParser):
    """The texts of a page's body, each with its blanks collapsed, as a browser lays them out."""

    def __init__(self):
        super().__init__()
        self.texts, self.hidden = [], 0

    def handle_starttag(self, tag, attrs):
        self.hidden += tag in ("head", "style", "script", "title")

    def handle_endtag(self, tag):
        self.hidden -= tag in ("head", "style", "script", "title")

    def handle_data(self, data):
        text = " ".join(data.split())
        if text and not self.hidden:
            self.texts.append(RUN_TIME.sub("(시각)", text))


def report_texts(source, report):
    """The texts of the pages that `report` makes of the bundled sample, by encoding."""
    with open(os.path.join(source, "examples", "sample.in"), "rb") as f:
        sample = f.read()
    texts = {}
    with tempfile.TemporaryDirectory() as tmp:
        for encoding, name, data in (
                ("cp949", "2026년 12월.txt", sample),
                ("utf8", "2026년 12월 (UTF-8).txt", sample.decode("cp949").encode("utf-8"))):
            with open(os.path.join(tmp, name), "wb") as f:
                f.write(data)
            done = subprocess.run([report, name, "page.html"], cwd=tmp, capture_output=True,
                                  timeout=60, env=dict(os.environ, TZ="Asia/Seoul"))
            if done.returncode != 0:
                failures.append(f"grouper-report on the sample: {done.returncode}")
                continue
            page = PageTexts()
            with open(os.path.join(tmp, "page.html"), encoding="utf-8") as f:
                page.feed(f.read())
            texts[encoding] = page.texts
    return texts


def browser_page_texts(source):
    """The texts that grouper.html's own markup shows (js/page/page.html)."""
    page = PageTexts()
    with open(os.path.join(source, "js", "page", "page.html"), encoding="utf-8") as f:
        page.feed(f.read())
    return page.texts


def check_kept_against_browser_page(name, kept, version, texts):
    """Each kept line is a text of the page's markup, in order, but the lines its script fills:
    the version line, which names this build's version, and those naming the sample's file."""
    position = 0
    for line in kept:
        filled = re.fullmatch(r"grouper (\S+) (.*)", line)
        if filled and filled.group(2) in texts:
            if filled.group(1) != version:
                failures.append(f"docs/ko/images/{name} shows version {filled.group(1)}, the "
                                f"program is {version}: {PAGE_REDRAW}")
            continue
        if "2026년 12월" in line:
            continue
        try:
            position = texts.index(line, position) + 1
        except ValueError:
            failures.append(f"docs/ko/images/{name}: the page's markup has no {line!r} where the "
                            f"picture shows it: {PAGE_REDRAW}")
            return


def check_kept_against_page(name, kept, texts):
    """Each kept line is a text of the page, in the page's order."""
    position = 0
    for line in kept:
        try:
            position = texts.index(line, position) + 1
        except ValueError:
            failures.append(f"docs/ko/images/{name}: this build's page has no {line!r} where the "
                            f"picture shows it: {REDRAW}")
            return


def start_menu_folder(source, version):
    """The Start-menu folder that the installer offers: the one the package module names for the
    installer's Start-menu page, else the installer's name, which is NSIS's default."""
    with open(os.path.join(source, "cmake", "GrouperPackage.cmake"), encoding="utf-8") as f:
        module = f.read()
    named = re.search(r'MUI_STARTMENUPAGE_DEFAULTFOLDER \\?"([^"\\]+)\\?"', module)
    if named:
        return named.group(1)
    name = re.search(r'set\(CPACK_NSIS_PACKAGE_NAME "([^"]+)"\)', module).group(1)
    return name.replace("${PROJECT_VERSION}", version)


def check_start_menu(source, install, version):
    """install.html names the Start-menu folder ("시작 메뉴의 NAME 폴더") as the installer makes it."""
    text = " ".join("".join(install.text).split())
    said = re.search(r"시작 메뉴의 (.+?) 폴더", text)
    folder = start_menu_folder(source, version)
    if not said or said.group(1) != folder:
        failures.append(f"install.html names the Start-menu folder {said and said.group(1)!r}, "
                        f"the installer makes {folder!r} (cmake/GrouperPackage.cmake)")


def main():
    source, explain, report = os.path.abspath(sys.argv[1]), sys.argv[2], os.path.abspath(sys.argv[3])
    guide = os.path.join(source, "docs", "ko")
    pages = {}
    for name in sorted(os.listdir(guide)):
        if name.endswith(".html"):
            page = Page()
            with open(os.path.join(guide, name), encoding="utf-8") as f:
                page.feed(f.read())
            pages[os.path.join(guide, name)] = page
    if os.path.join(guide, "index.html") not in pages:
        failures.append("no docs/ko/index.html")

    shown = set()
    for path, page in pages.items():
        for link in page.links:
            check_link(path, link, pages)
        for image in page.images:
            picture = os.path.normpath(os.path.join(guide, image.get("src", "")))
            shown.add(picture)
            size = (int(image.get("width", 0)), int(image.get("height", 0)))
            if os.path.exists(picture) and png_size(picture) != size:
                failures.append(f"{path}: {image.get('src')} is {png_size(picture)}, shown as {size}")
            if not image.get("alt"):
                failures.append(f"{path}: {image.get('src')} has no alt text")
    images = os.path.join(guide, "images")
    version = program_version(explain)
    texts = report_texts(source, report)
    texts["page"] = browser_page_texts(source)
    for name in sorted(os.listdir(images)):
        path = os.path.join(images, name)
        picture = os.path.splitext(path)[0] + ".png"
        if name.endswith(".txt") and picture in shown:
            check_shown_text(name, path, version, texts)
        elif path not in shown:
            failures.append(f"docs/ko/images/{name} is shown by no page")
        elif not os.path.exists(os.path.splitext(path)[0] + ".txt"):
            failures.append(f"docs/ko/images/{name} keeps no text of what it shows beside it")
    check_start_menu(source, pages[os.path.join(guide, "install.html")], version)

    for name in MARKDOWN:
        path = os.path.join(source, name)
        with open(path, encoding="utf-8") as f:
            text = re.sub(r"```.*?```", "", f.read(), flags=re.S)
        for link in re.findall(r"\]\(([^)\s]+)\)", text):
            check_link(path, link, pages)

    fix = " ".join("".join(pages[os.path.join(guide, "fix.html")].text).split())
    for sentence in warnings_said(explain):
        if sentence not in fix:
            failures.append(f"fix.html does not quote the warning: {sentence}")

    for failure in failures:
        print("FAIL:", failure)
    print(f"{len(pages)} guide pages, {len(shown)} pictures, {len(MARKDOWN)} Markdown documents:",
          "failed" if failures else "passed")
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
