"""Patient group codes of long-term care assessment records, through libgrouper.

``group(line)`` answers one line exactly as the batch program ``grouper``
answers it; ``reads(file)`` cuts a binary file into lines as the batch reads
it (the library's grouper_next_read: up to and including a line feed, a
longer physical line going on in the next line), and ``group_file(path)``
answers every line of a file so cut, so that result i belongs to line i of
the batch's result file. ``format_output_line`` and
``format_console_line`` give the batch's result-file and console lines;
``explain(line)`` tells why a line gets its answer (a dict, as the JSON of
``grouper-explain --json``) and ``explain_file(path)`` does so for every line
of a file, numbered, so that ``pandas.DataFrame(grouper.explain_file(path))``
is a table of a month.

Text: record lines are bytes in code page 949, as in the batch's files, and so
are the formatted lines; a line may also be given as ``str`` (to ``group``,
``format_output_line`` and ``explain``), which is encoded as code page 949 (a
character that code page 949 cannot hold raises ``ValueError``).
``Result.message`` is ``str`` (decoded from the library's UTF-8 copy of the
message).

Thread safety: every function may be called from any number of threads.

The library is loaded on first use from the path in the environment variable
``GROUPER_LIBRARY``; without it, from this module's directory; else from where
the installation put it (``_location.py``, written when the module is
installed: the shared library of a Debian package, ``bin\grouper.dll`` of a
Windows installation); else through the system's search path. Dates are checked in the process's time zone: set
``TZ`` (``Asia/Seoul``) before the first call.

Only the standard library is used (ctypes).
"""

import ctypes
import ctypes.util
import enum
import json
import operator
import os
import sys
from dataclasses import dataclass, field

# The release; the build checks that it equals the project's version.
__version__ = "1.2.0"

__all__ = [
    "Kind",
    "Result",
    "group",
    "reads",
    "group_file",
    "format_output_line",
    "format_console_line",
    "explain",
    "explain_file",
    "version",
    "version_number",
    "EXPLAIN_SHOW_IDENTIFIERS",
]

_MAX_OUTPUT_LINE = 2047  # GROUPER_MAX_OUTPUT_LINE


class Kind(enum.IntEnum):
    """The kinds of answer (GROUPER_KIND_*)."""

    GROUP_CODE = 0  # a valid record: group_code holds its code
    MESSAGE = 1  # the record breaks a rule: message names the first
    WRONG_DATA_TYPE = 2  # the line's length does not fit its form version


class _CResult(ctypes.Structure):
    _fields_ = [
        ("kind", ctypes.c_int),
        ("form_version", ctypes.c_char * 4),
        ("group_code", ctypes.c_char * 4),
        ("message", ctypes.c_char_p),
        ("message_utf8", ctypes.c_char_p),
    ]


@dataclass(frozen=True)
class Result:
    """The answer to one line.

    ``form_version`` is the line's first three bytes (fewer if shorter) and
    ``group_code`` the code ("A11".."A73") of a valid record, else "".
    ``message`` is the message for MESSAGE and WRONG_DATA_TYPE, else "".
    ``layout`` names the layout the line was judged by: "089/010",
    "090/011", "091/012", "092/013" or "base" (for a line whose first three
    bytes are none of the eight codes).
    """

    kind: Kind
    form_version: str
    group_code: str
    message: str
    _c: _CResult = field(repr=False, compare=False)

    @property
    def layout(self):
        return _library().grouper_layout(ctypes.byref(self._c)).decode("ascii")


def _line_bytes(line):
    """A line as the library takes it: bytes as they are, str as code page 949."""
    if isinstance(line, str):
        try:
            return line.encode("cp949")
        except UnicodeEncodeError as error:
            raise ValueError(
                "the line holds %r at %d, which code page 949 cannot hold"
                % (line[error.start : error.end], error.start)
            ) from None
    return bytes(line)


def _library_candidates():
    """The places to load the library from, in order of preference."""
    names = {
        "win32": ["grouper.dll", "libgrouper.dll"],
        "cygwin": ["grouper.dll", "libgrouper.dll"],
        "darwin": ["libgrouper.1.dylib", "libgrouper.dylib"],
    }.get(sys.platform, ["libgrouper.so.1", "libgrouper.so"])
    here = os.path.dirname(os.path.abspath(__file__))
    for name in names:
        if os.path.exists(os.path.join(here, name)):
            yield os.path.join(here, name)
    try:
        from . import _location
    except ImportError:  # the module as it stands in the source tree
        pass
    else:
        installed = os.path.normpath(os.path.join(here, _location.LIBRARY))
        if os.path.exists(installed):
            yield installed
    found = ctypes.util.find_library("grouper")
    if found:
        yield found
    # The dynamic loader's own search (LD_LIBRARY_PATH, its cache, PATH on Windows).
    yield from names


# The 32-bit grouper.dll's functions are __stdcall (what Visual Basic 6 calls);
# everywhere else there is one calling convention.
_Library = (
    ctypes.WinDLL
    if sys.platform == "win32" and ctypes.sizeof(ctypes.c_void_p) == 4
    else ctypes.CDLL
)


def _load():
    """Loads libgrouper and declares the prototypes of its functions."""
    configured = os.environ.get("GROUPER_LIBRARY")
    if configured:
        # A library that was asked for by name must be that one: no fallback.
        lib = _Library(configured)
    else:
        lib = None
        errors = []
        for candidate in _library_candidates():
            try:
                lib = _Library(candidate)
                break
            except OSError as error:
                errors.append(str(error))
        if lib is None:
            raise OSError(
                "libgrouper not found (set GROUPER_LIBRARY to its path): " + "; ".join(errors)
            )

    result_p = ctypes.POINTER(_CResult)
    buffer_p = ctypes.POINTER(ctypes.c_char)
    lib.grouper_next_read.argtypes = [ctypes.c_void_p, ctypes.c_size_t]
    lib.grouper_next_read.restype = ctypes.c_size_t
    lib.grouper_group_line.argtypes = [ctypes.c_char_p, ctypes.c_size_t, result_p]
    lib.grouper_group_line.restype = ctypes.c_int
    lib.grouper_format_output_line.argtypes = [
        ctypes.c_char_p,
        ctypes.c_size_t,
        result_p,
        buffer_p,
        ctypes.c_size_t,
    ]
    lib.grouper_format_output_line.restype = ctypes.c_size_t
    lib.grouper_format_console_line.argtypes = [
        ctypes.c_ulonglong,
        result_p,
        buffer_p,
        ctypes.c_size_t,
    ]
    lib.grouper_format_console_line.restype = ctypes.c_size_t
    lib.grouper_explain_json.argtypes = [
        ctypes.c_char_p,
        ctypes.c_size_t,
        ctypes.c_int,
        ctypes.c_char_p,
        ctypes.c_size_t,
    ]
    lib.grouper_explain_json.restype = ctypes.c_size_t
    lib.grouper_layout.argtypes = [result_p]
    lib.grouper_layout.restype = ctypes.c_char_p
    lib.grouper_version.argtypes = []
    lib.grouper_version.restype = ctypes.c_char_p
    lib.grouper_version_number.argtypes = []
    lib.grouper_version_number.restype = ctypes.c_int
    return lib


_lib = None


def _library():
    global _lib
    if _lib is None:
        _lib = _load()
    return _lib


def _formatted(call):
    """The bytes of a line that `call(buffer, size)` formats as snprintf does."""
    buffer = ctypes.create_string_buffer(_MAX_OUTPUT_LINE + 1)
    length = call(buffer, len(buffer))
    if length >= len(buffer):
        buffer = ctypes.create_string_buffer(length + 1)
        length = call(buffer, len(buffer))
    return buffer.raw[:length]


def group(line):
    """Answers one line (bytes, or str encoded as code page 949; with or without
    its line end) as the batch does."""
    data = _line_bytes(line)
    c = _CResult()
    status = _library().grouper_group_line(data, len(data), ctypes.byref(c))
    if status != 0:
        raise RuntimeError("grouper_group_line failed with status %d" % status)
    return Result(
        kind=Kind(c.kind),
        form_version=c.form_version.decode("cp949", "replace"),
        group_code=c.group_code.decode("ascii", "replace"),
        message=(c.message_utf8 or b"").decode("utf-8"),
        _c=c,
    )


_BLOCK = 1 << 16


def reads(file):
    """Yields the lines of the binary file `file` (an object whose read(n)
    gives bytes, such as open(path, "rb")) as the batch reads them, each with
    its line end if it has one: the n-th is line n of the batch's result file.
    A text file raises TypeError."""
    next_read = _library().grouper_next_read
    data, at, ended = b"", 0, False
    while True:
        rest = len(data) - at
        if rest:
            n = next_read(address + at, rest)
            # A read that stops short of the bytes held is whole; one that
            # takes them all goes on in the file's next bytes, if any.
            if n < rest or data[at + n - 1] == 0x0A or ended:
                yield data[at : at + n]
                at += n
                continue
        elif ended:
            return
        block = file.read(_BLOCK)
        if isinstance(block, str):
            raise TypeError("reads() takes a binary file (open it with 'rb')")
        if not block:
            ended = True
            continue
        data, at = data[at:] + bytes(block), 0
        held = ctypes.c_char_p(data)  # the bytes' own storage, not a copy
        address = ctypes.cast(held, ctypes.c_void_p).value


def group_file(path):
    """Yields the result of every line of the file at `path`, in input order,
    the lines cut as the batch reads them."""
    with open(path, "rb") as f:
        for line in reads(f):
            yield group(line)


def format_output_line(line, result):
    """The result-file line (bytes, CR LF included) of `line` (bytes, or str
    encoded as code page 949) and its result."""
    data = _line_bytes(line)
    lib = _library()
    return _formatted(
        lambda buffer, size: lib.grouper_format_output_line(
            data, len(data), ctypes.byref(result._c), buffer, size
        )
    )


def format_console_line(line_number, result):
    """The console line (bytes, line feed included) of input line `line_number`
    (the first is 1). A number below 0 or beyond 2**64 - 1 raises ValueError."""
    line_number = operator.index(line_number)
    if not 0 <= line_number < 2**64:
        raise ValueError("line_number must be from 0 to 2**64 - 1, not %d" % line_number)
    lib = _library()
    return _formatted(
        lambda buffer, size: lib.grouper_format_console_line(
            line_number, ctypes.byref(result._c), buffer, size
        )
    )


EXPLAIN_SHOW_IDENTIFIERS = 1


def explain(line, show_identifiers=False):
    """Why `line` gets its answer, as the parsed JSON object of grouper-explain
    --json (with "line" None): every fault of a rejected record, the scores and
    criteria of a grouped one. Identifiers are masked unless asked for."""
    data = _line_bytes(line)
    flags = EXPLAIN_SHOW_IDENTIFIERS if show_identifiers else 0
    lib = _library()
    text = _formatted(
        lambda buffer, size: lib.grouper_explain_json(data, len(data), flags, buffer, size)
    )
    return json.loads(text.decode("utf-8"))


def explain_file(path, show_identifiers=False):
    """Yields, line by line, the explanation of every line of the file at
    `path` (cut as the batch reads it): the same dicts as grouper-explain
    --json, with "line" the line's number from 1."""
    with open(path, "rb") as f:
        for number, line in enumerate(reads(f), 1):
            explained = explain(line, show_identifiers)
            explained["line"] = number
            yield explained


def version():
    """The library's version."""
    return _library().grouper_version().decode("ascii")


def version_number():
    """The library's version as one number: major * 1000000 + minor * 1000 +
    patch (1001000 for 1.1.0)."""
    return _library().grouper_version_number()
