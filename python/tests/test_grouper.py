"""The Python module against the batch program: every line of a generated file
must get the batch's answer, and the library must be found as documented.

Run by CTest, which names the library, the batch program and the sample
generator of its build in GROUPER_LIBRARY, GROUPER_BINARY and GROUPER_SAMPLE
(by hand, build/default is used).
"""

import os
import shutil
import subprocess
import sys
import tempfile
import unittest

os.environ["TZ"] = "Asia/Seoul"  # before the library's first date check

HERE = os.path.dirname(os.path.abspath(__file__))
MODULE_DIR = os.path.dirname(HERE)
BUILD = os.path.join(os.path.dirname(MODULE_DIR), "build", "default")
sys.path.insert(0, MODULE_DIR)
os.environ.setdefault("GROUPER_LIBRARY", os.path.join(BUILD, "libgrouper.so"))

import grouper  # noqa: E402

BATCH = os.environ.get("GROUPER_BINARY", os.path.join(BUILD, "grouper"))
SAMPLE = os.environ.get("GROUPER_SAMPLE", os.path.join(BUILD, "tools", "grouper-sample"))

# Reads that are no records, among them a line the batch reads in three pieces
# and a last line without a line end.
ODD_LINES = (
    b"\n"
    + b"   \r\n"
    + b"091\x00after a NUL\r\n"
    + b"092" + b"9" * 2500 + b"\r\n"
    + b"\xbf\xc0\xb7\xf9 \t\r\n"
    + b"089 no line end"
)


def batch_reads(data):
    """The batch's reads: at most 1023 bytes, up to and including a line feed."""
    reads, at = [], 0
    while at < len(data):
        end = min(at + 1023, len(data))
        newline = data.find(b"\n", at, end)
        if newline >= 0:
            end = newline + 1
        reads.append(data[at:end])
        at = end
    return reads


class AgainstTheBatch(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.dir = tempfile.mkdtemp()
        cls.input = os.path.join(cls.dir, "in.txt")
        sample = subprocess.run(
            [SAMPLE, "--count", "5000", "--seed", "29", "--faults", "0.1"],
            check=True,
            stdout=subprocess.PIPE,
        ).stdout
        with open(cls.input, "wb") as f:
            f.write(sample + ODD_LINES)
        output = os.path.join(cls.dir, "out.txt")
        cls.console = subprocess.run(
            [BATCH, cls.input, output], check=True, stdout=subprocess.PIPE
        ).stdout
        with open(output, "rb") as f:
            cls.output = f.read()
        with open(cls.input, "rb") as f:
            cls.reads = batch_reads(f.read())

    @classmethod
    def tearDownClass(cls):
        shutil.rmtree(cls.dir)

    def test_every_line_of_a_file_gets_the_batchs_answer(self):
        results = list(grouper.group_file(self.input))
        self.assertEqual(len(results), len(self.reads))
        output = b"".join(
            grouper.format_output_line(read, r) for read, r in zip(self.reads, results)
        )
        console = b"\n" + b"".join(
            grouper.format_console_line(i + 1, r) for i, r in enumerate(results)
        )
        self.assertEqual(output, self.output)
        self.assertEqual(console, self.console)

    def test_result_fields_are_those_of_the_batchs_lines(self):
        lines = self.output.split(b"\r\n")
        kinds = set()
        for read, line in zip(self.reads, lines):
            r = grouper.group(read)
            kinds.add(r.kind)
            self.assertEqual(r, grouper.group(bytearray(read)))
            text = read.split(b"\x00")[0].rstrip(b" \r\n")
            self.assertEqual(r.form_version, text[:3].decode("cp949", "replace"))
            if r.kind == grouper.Kind.GROUP_CODE:
                self.assertRegex(r.group_code, r"^A[1-7][1-3]$")
                self.assertTrue(line.endswith(r.group_code.encode()), line)
                self.assertEqual(r.message, "")
            else:
                self.assertEqual(r.group_code, "")
                self.assertTrue(r.message.startswith("오류-"), r.message)
                self.assertTrue(line.endswith(r.message.encode("cp949")), line)
        self.assertEqual(kinds, set(grouper.Kind))


@unittest.skipUnless(sys.platform.startswith("linux"), "library names of Linux")
class FindingTheLibrary(unittest.TestCase):
    def run_python(self, module_dir, library):
        env = {k: v for k, v in os.environ.items() if k not in ("GROUPER_LIBRARY", "LD_LIBRARY_PATH")}
        if library is not None:
            env["GROUPER_LIBRARY"] = library
        env["PYTHONPATH"] = module_dir
        return subprocess.run(
            [sys.executable, "-c", "import grouper; print(grouper.version(), grouper.group(b'').kind)"],
            env=env,
            stdout=subprocess.PIPE,
            stderr=subprocess.PIPE,
            text=True,
        )

    def test_beside_the_module_then_by_its_environment_variable(self):
        library = os.path.realpath(os.environ["GROUPER_LIBRARY"])
        with tempfile.TemporaryDirectory() as tmp:
            shutil.copytree(os.path.join(MODULE_DIR, "grouper"), os.path.join(tmp, "grouper"))
            os.symlink(library, os.path.join(tmp, "grouper", "libgrouper.so.1"))
            done = self.run_python(tmp, None)
            self.assertEqual(done.stdout.strip(), "1.0.0 2", done.stderr)
            # A library asked for by name is that one, with no fallback.
            missing = os.path.join(tmp, "missing.so")
            done = self.run_python(tmp, missing)
            self.assertNotEqual(done.returncode, 0)
            self.assertIn("missing.so", done.stderr)


if __name__ == "__main__":
    unittest.main()
