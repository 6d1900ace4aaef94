#!/usr/bin/env python3
"""The program's code page 949 decoder against Python's cp949 codec.

Usage: cp949_check.py CP949_DUMP

CP949_DUMP prints, for every single byte and every pair of bytes that starts
with a lead byte, the bytes and the UTF-8 the decoder gives, both in hex. Each
must be what bytes.decode("cp949", "replace") gives.
"""
import subprocess
import sys


def main():
    dump = subprocess.run([sys.argv[1]], capture_output=True, check=True, text=True).stdout
    inputs = mismatches = characters = 0
    for line in dump.splitlines():
        given, ours = (bytes.fromhex(part) for part in line.split(" "))
        expected = given.decode("cp949", "replace")
        inputs += 1
        if len(given) == 2 and len(ours.decode("utf-8")) == 1 and ours != "\ufffd".encode():
            characters += 1
        if ours != expected.encode("utf-8"):
            mismatches += 1
            if mismatches <= 10:
                print("%s: ours %r, Python %r" % (given.hex(), ours.decode("utf-8", "replace"),
                                                  expected))
    print("%d inputs, %d pairs decoded as one character, %d mismatches"
          % (inputs, characters, mismatches))
    expected_inputs = 256 + 126 * 256
    if inputs != expected_inputs:
        print("expected %d inputs" % expected_inputs)
        return 1
    return 1 if mismatches else 0


if __name__ == "__main__":
    sys.exit(main())
