"""The Python module against the batch program, and how it finds the library.

CTest names the library, the batch program and the sample generator of its
build in GROUPER_LIBRARY, GROUPER_BINARY and GROUPER_SAMPLE (by hand:
build/default). With GROUPER_TEST_INSTALLED=1 the tests take the module as
installed (a wheel in a virtual environment), imported as a user imports it
and finding its library by itself.
"""

import codecs
import ctypes.util
import os
import pathlib
import shutil
import subprocess
import sys
import tempfile
import unittest

os.environ["TZ"] = "Asia/Seoul"  # before the library's first date check
MODULE_DIR = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
BUILD = os.path.join(os.path.dirname(MODULE_DIR), "build", "default")
if os.environ.get("GROUPER_TEST_INSTALLED") != "1":
    sys.path.insert(0, MODULE_DIR)
    os.environ.setdefault("GROUPER_LIBRARY", os.path.join(BUILD, "libgrouper.so"))
BATCH = os.environ.get("GROUPER_BINARY", os.path.join(BUILD, "grouper"))
SAMPLE = os.environ.get("GROUPER_SAMPLE", os.path.join(BUILD, "tools", "grouper-sample"))
LAYOUT = os.environ.get("GROUPER_STRUCT_LAYOUT", os.path.join(BUILD, "grouper_struct_layout"))

import grouper  # noqa: E402

LIBRARY = os.path.realpath(grouper._library()._name)  # the library the tests use

# Reads that are no records: a NUL, a line the batch reads in three pieces,
# high bytes and a tab, and a last line without a line end.
ODD_LINES = b"\n   \r\n091\x00after\r\n092" + b"9" * 2500 + b"\r\n\xbf\xc0\xb7\xf9 \t\r\n089 end"


def batch_reads(data):
    """The batch's reads: at most 1023 bytes, up to and including a line feed."""
    reads = []
    while data:
        newline = data.find(b"\n", 0, 1023)
        n = newline + 1 if newline >= 0 else min(len(data), 1023)
        reads.append(data[:n])
        data = data[n:]
    return reads


class AgainstTheBatch(unittest.TestCase):
    def test_every_line_of_a_file_gets_the_batchs_answer(self):
        with tempfile.TemporaryDirectory() as tmp:
            path, out = os.path.join(tmp, "in"), os.path.join(tmp, "out")
            args = [SAMPLE, "--count", "5000", "--seed", "29", "--faults", "0.1"]
            data = subprocess.run(args, check=True, stdout=subprocess.PIPE).stdout + ODD_LINES
            with open(path, "wb") as f:
                f.write(data)
            console = subprocess.run([BATCH, path, out], check=True, stdout=subprocess.PIPE).stdout
            with open(out, "rb") as f:
                output = f.read()
            results = list(grouper.group_file(path))

        reads = batch_reads(data)
        self.assertEqual(len(results), len(reads))
        self.assertEqual(
            b"".join(grouper.format_output_line(read, r) for read, r in zip(reads, results)), output
        )
        self.assertEqual(
            b"\n" + b"".join(grouper.format_console_line(i + 1, r) for i, r in enumerate(results)),
            console,
        )
        # The fields say what the batch's lines say.
        for read, r, line in zip(reads, results, output.split(b"\r\n")):
            self.assertEqual(r, grouper.group(bytearray(read)))
            text = read.split(b"\x00")[0].rstrip(b" \r\n")
            self.assertEqual(r.form_version, text[:3].decode("cp949", "replace"))
            if r.kind == grouper.Kind.GROUP_CODE:
                self.assertRegex(r.group_code, r"^A[1-7][1-3]$")
                self.assertEqual((r.message, line[-3:]), ("", r.group_code.encode()))
            else:
                self.assertEqual(r.group_code, "")
                self.assertTrue(r.message.startswith("오류-"), r.message)
                self.assertTrue(line.endswith(r.message.encode("cp949")), line)
        self.assertEqual({r.kind for r in results}, set(grouper.Kind))

        # The explanation of a line agrees with its answer; names stay masked.
        results_kept = 0
        for read, r in list(zip(reads, results))[::7]:
            e = grouper.explain(read)
            self.assertEqual(e["result"], r.kind.name.lower())
            if r.kind == grouper.Kind.GROUP_CODE:
                self.assertEqual((e["group_code"], e["faults"]), (r.group_code, []))
            elif r.kind == grouper.Kind.MESSAGE:
                self.assertEqual(e["faults"][0]["message"], r.message)
            if e["identifiers"] and len(e["identifiers"]["patient_name"]) > 1:
                self.assertTrue(e["identifiers"]["patient_name"][1:].strip("*") == "")
                results_kept += 1
        self.assertGreater(results_kept, 0)


class Trickle:
    """A binary file that gives at most `step` bytes a read, as a pipe may."""

    def __init__(self, data, step):
        self.data, self.step = data, step

    def read(self, n=-1):
        piece, self.data = self.data[: self.step], self.data[self.step :]
        return piece


class CuttingAFileIntoReads(unittest.TestCase):
    # Lines about one read long, on either side of 1023 bytes, with and
    # without their line end, a NUL, and no line end at the end.
    LONG_LINES = b"".join(
        [b"x" * 1022 + b"\n", b"y" * 1023 + b"\n", b"z" * 1023, b"w" * 2047 + b"\r\n",
         b"\n", b"091" + b"9" * 5000 + b"\n", b"a\x00b\n", b"v" * 1021 + b"\r\n", b"last"]
    )

    def test_reads_cut_a_file_as_the_batch_does(self):
        with tempfile.TemporaryDirectory() as tmp:
            path, out = os.path.join(tmp, "in"), os.path.join(tmp, "out")
            with open(path, "wb") as f:
                f.write(self.LONG_LINES)
            subprocess.run([BATCH, path, out], check=True, stdout=subprocess.DEVNULL)
            with open(out, "rb") as f:
                output = f.read()
            with open(path, "rb") as f:
                reads = list(grouper.reads(f))
            # A path is opened, and closed, by reads() itself.
            for given in (path, pathlib.Path(path), os.fsencode(path)):
                self.assertEqual(list(grouper.reads(given)), reads, given)
        self.assertEqual(reads, batch_reads(self.LONG_LINES))
        self.assertEqual(b"".join(grouper.format_output_line(r, grouper.group(r)) for r in reads),
                         output)
        for step in (1, 7, 1023, 1024):
            self.assertEqual(list(grouper.reads(Trickle(self.LONG_LINES, step))), reads, step)
        self.assertEqual(list(grouper.reads(Trickle(b"", 5))), [])

    def test_a_text_file_or_another_object_is_refused(self):
        with tempfile.TemporaryDirectory() as tmp:
            path = os.path.join(tmp, "in")
            with open(path, "wb") as f:
                f.write("091 홍길동\r\n".encode("cp949"))
            opened = [
                open(path, encoding="utf-8"),  # its first read fails to decode
                open(path, encoding="cp949"),
                codecs.getreader("utf-8")(open(path, "rb")),  # no io.TextIOBase
            ]
            try:
                for given in opened + [Trickle("091\n", 2), 5, bytearray(b"091\n")]:
                    with self.assertRaisesRegex(TypeError, "binary file", msg=repr(given)):
                        list(grouper.reads(given))
            finally:
                for f in opened:
                    f.close()


class FormattingArguments(unittest.TestCase):
    def test_a_str_line_is_formatted_as_code_page_949(self):
        line = "091 홍길동 \r\n"
        r = grouper.group(line)
        self.assertEqual(grouper.format_output_line(line, r),
                         grouper.format_output_line(line.encode("cp949"), r))
        with self.assertRaisesRegex(ValueError, "code page 949"):
            grouper.format_output_line("091 \u00e9", r)

    def test_a_line_number_must_be_a_count(self):
        r = grouper.group(b"")
        self.assertTrue(grouper.format_console_line(2**64 - 1, r).startswith(b"\xb5\xa5"))
        for number in (-1, -(2**63), 2**64):
            with self.assertRaises(ValueError, msg=number):
                grouper.format_console_line(number, r)


class ExplainingAFile(unittest.TestCase):
    def test_explain_file_numbers_every_read_and_names_its_layout(self):
        with tempfile.TemporaryDirectory() as tmp:
            path = os.path.join(tmp, "in")
            args = [SAMPLE, "--count", "300", "--seed", "5", "--faults", "0.2"]
            data = subprocess.run(args, check=True, stdout=subprocess.PIPE).stdout + ODD_LINES
            with open(path, "wb") as f:
                f.write(data)
            explained = list(grouper.explain_file(path))
            results = list(grouper.group_file(path))
        reads = batch_reads(data)
        self.assertEqual([e["line"] for e in explained], list(range(1, len(reads) + 1)))
        for read, e, r in zip(reads, explained, results):
            self.assertEqual(e["result"], r.kind.name.lower())
            self.assertEqual(e["layout"], r.layout)
            self.assertEqual({k: v for k, v in e.items() if k != "line"},
                             {k: v for k, v in grouper.explain(read).items() if k != "line"})
        self.assertEqual({r.layout for r in results},
                         {"089/010", "090/011", "091/012", "092/013", "base"})

    def test_a_str_line_is_code_page_949(self):
        line = "091 홍길동"
        self.assertEqual(grouper.group(line), grouper.group(line.encode("cp949")))
        self.assertEqual(grouper.explain(line), grouper.explain(line.encode("cp949")))
        with self.assertRaisesRegex(ValueError, "code page 949"):
            grouper.group("091 \u00e9")

    def test_all_names_every_public_name(self):
        public = {n for n in vars(grouper) if not n.startswith("_")}
        modules = {n for n in public if type(vars(grouper)[n]) is type(os)}
        imported = {"dataclass", "field"}
        self.assertEqual(set(grouper.__all__), public - modules - imported)


class StructLayout(unittest.TestCase):
    def test_the_result_structure_is_laid_out_as_the_c_compiler_lays_it_out(self):
        if "GROUPER_STRUCT_LAYOUT" not in os.environ and not os.path.exists(LAYOUT):
            self.skipTest("no grouper_struct_layout built")
        printed = subprocess.run([LAYOUT], stdout=subprocess.PIPE, check=True).stdout.decode()
        c_layout = dict(line.rsplit(" ", 1) for line in printed.splitlines())
        ours = {"grouper_result": ctypes.sizeof(grouper._CResult)}
        for name, _ in grouper._CResult._fields_:
            ours["grouper_result." + name] = getattr(grouper._CResult, name).offset
        self.assertEqual(ours, {name: int(value) for name, value in c_layout.items()})


class Versions(unittest.TestCase):
    def test_the_version_number_is_the_version_text(self):
        major, minor, patch = map(int, grouper.version().split("."))
        self.assertEqual(grouper.version_number(), major * 1000000 + minor * 1000 + patch)


@unittest.skipUnless(sys.platform.startswith("linux"), "library names of Linux")
class FindingTheLibrary(unittest.TestCase):
    def run_python(self, module_dir, library):
        env = {k: v for k, v in os.environ.items() if k not in ("GROUPER_LIBRARY", "LD_LIBRARY_PATH")}
        env["PYTHONPATH"] = module_dir
        if library is not None:
            env["GROUPER_LIBRARY"] = library
        code = "import grouper; print(grouper.version(), grouper.group(b'').kind)"
        return subprocess.run(
            [sys.executable, "-c", code], env=env, capture_output=True, text=True
        )

    def test_beside_the_module_unless_the_environment_names_one(self):
        expected = f"{grouper.__version__} 2"
        with tempfile.TemporaryDirectory() as tmp:
            shutil.copytree(os.path.join(MODULE_DIR, "grouper"), os.path.join(tmp, "grouper"))
            os.symlink(LIBRARY, os.path.join(tmp, "grouper", "libgrouper.so.1"))
            done = self.run_python(tmp, None)
            self.assertEqual(done.stdout.strip(), expected, done.stderr)
            # A library named in the environment is that one, with no fallback.
            done = self.run_python(tmp, os.path.join(tmp, "missing.so"))
            self.assertNotEqual(done.returncode, 0)
            self.assertIn("missing.so", done.stderr)

    def test_where_the_installation_put_it(self):
        # As installed: the module in lib/python3/dist-packages, the library in
        # the multiarch folder, and _location.py naming it relative to the module.
        with tempfile.TemporaryDirectory() as tmp:
            modules = os.path.join(tmp, "lib", "python3", "dist-packages")
            shutil.copytree(os.path.join(MODULE_DIR, "grouper"), os.path.join(modules, "grouper"))
            os.makedirs(os.path.join(tmp, "lib", "x86_64-linux-gnu"))
            os.symlink(LIBRARY, os.path.join(tmp, "lib", "x86_64-linux-gnu", "libgrouper.so.1"))
            with open(os.path.join(modules, "grouper", "_location.py"), "w") as f:
                f.write('LIBRARY = "../../../x86_64-linux-gnu/libgrouper.so.1"\n')
            done = self.run_python(modules, None)
            self.assertEqual(done.stdout.strip(), f"{grouper.__version__} 2", done.stderr)
            self.assertEqual(grouper.__version__, grouper.version())

    def test_a_library_that_does_not_serve_the_module_is_passed_over(self):
        cc = shutil.which("cc")
        if cc is None:
            self.skipTest("no C compiler for the stand-in libraries")
        number = grouper.version_number()
        version = 'const char *grouper_version(void) { return "%s"; }\n'
        # A library's source and what the module says of it.
        fakes = [
            (version % "1.1.0", "version 1.1.0, without grouper_version_number"),
            (version % "2.0.0" + "int grouper_version_number(void) { return 2000000; }\n",
             "version 2.0.0"),
            (version % grouper.version()
             + "int grouper_version_number(void) { return %d; }\n" % number,
             "version %s, without grouper_next_read" % grouper.version()),
        ]
        needed = "needs libgrouper %d.%d or a later" % (number // 1000000, number // 1000 % 1000)
        for source, said in fakes:
            with tempfile.TemporaryDirectory() as tmp:
                module = os.path.join(tmp, "grouper")
                shutil.copytree(os.path.join(MODULE_DIR, "grouper"), module)
                with open(os.path.join(tmp, "fake.c"), "w") as f:
                    f.write(source)
                fake = os.path.join(module, "libgrouper.so.1")  # the first place looked in
                subprocess.run([cc, "-shared", "-fPIC", "-o", fake, os.path.join(tmp, "fake.c")],
                               check=True)
                os.symlink(LIBRARY, os.path.join(module, "libgrouper.so"))
                done = self.run_python(tmp, None)
                self.assertEqual(done.stdout.strip(), f"{grouper.__version__} 2", done.stderr)
                # Named in the environment, it is an error that names it.
                done = self.run_python(tmp, fake)
                self.assertNotEqual(done.returncode, 0)
                for words in (fake + ", " + said, needed):
                    self.assertIn(words, done.stderr)
                # Where it is the only library found, the error names it too.
                if ctypes.util.find_library("grouper") is None:
                    os.remove(os.path.join(module, "libgrouper.so"))
                    done = self.run_python(tmp, None)
                    self.assertNotEqual(done.returncode, 0)
                    for words in (fake + " is " + said, needed):
                        self.assertIn(words, done.stderr)

if __name__ == "__main__":
    unittest.main()
