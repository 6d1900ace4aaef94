"""Patient group codes of long-term care assessment records, through libgrouper.

``group(line)`` answers one line exactly as the batch program ``grouper``
answers it; ``reads(file)`` cuts a binary file, or the file at a path, into
lines as the batch reads it (the library's grouper_next_read: up to and
including a line feed, a longer physical line going on in the next line), and
``group_file(path)`` answers every line of a file so cut, so that result i
belongs to line i of the batch's result file. ``format_output_line`` and
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
Windows installation); else through the system's search path. A library found
is used only when it serves this module: it has grouper_version_number, its
major version is the module's and its minor version at least the module's, and
it has every function the module calls; else the next place is tried. A library
that ``GROUPER_LIBRARY`` names and that does not serve is an error (OSError,
naming it and the version needed), as is finding none that serves (naming each
library found, its path and version). Dates are checked in the process's time
zone: set ``TZ`` (``Asia/Seoul``) before the first call.

Only the standard library is used (ctypes).
"""

import ctypes
import ctypes.util
import enum
import io
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


# What the module needs of a library: the same major version (the C interface
# changes only with it) and at least the module's minor version, whose
# functions it may call. A library without grouper_version_number is older
# than 1.2.0.
_MAJOR, _MINOR = (int(n) for n in __version__.split(".")[:2])
_NEEDED = "libgrouper %d.%d or a later %d.x" % (_MAJOR, _MINOR, _MAJOR)


_RESULT_P = ctypes.POINTER(_CResult)
_BUFFER_P = ctypes.POINTER(ctypes.c_char)
# Every function the module calls: its name, argument types and result type.
_PROTOTYPES = (
    ("grouper_next_read", [ctypes.c_void_p, ctypes.c_size_t], ctypes.c_size_t),
    ("grouper_group_line", [ctypes.c_char_p, ctypes.c_size_t, _RESULT_P], ctypes.c_int),
    (
        "grouper_format_output_line",
        [ctypes.c_char_p, ctypes.c_size_t, _RESULT_P, _BUFFER_P, ctypes.c_size_t],
        ctypes.c_size_t,
    ),
    (
        "grouper_format_console_line",
        [ctypes.c_ulonglong, _RESULT_P, _BUFFER_P, ctypes.c_size_t],
        ctypes.c_size_t,
    ),
    (
        "grouper_explain_json",
        [ctypes.c_char_p, ctypes.c_size_t, ctypes.c_int, ctypes.c_char_p, ctypes.c_size_t],
        ctypes.c_size_t,
    ),
    ("grouper_layout", [_RESULT_P], ctypes.c_char_p),
    ("grouper_version", [], ctypes.c_char_p),
)


class _DlInfo(ctypes.Structure):
    _fields_ = [
        ("dli_fname", ctypes.c_char_p),
        ("dli_fbase", ctypes.c_void_p),
        ("dli_sname", ctypes.c_char_p),
        ("dli_saddr", ctypes.c_void_p),
    ]


def _loaded_path(lib):
    """The file the system loaded for `lib` (a name that the loader searched
    for becomes its path), else the name it was loaded by."""
    try:
        if sys.platform == "win32":
            kernel32 = ctypes.WinDLL("kernel32")
            get_name = kernel32.GetModuleFileNameW
            get_name.argtypes = [ctypes.c_void_p, ctypes.c_wchar_p, ctypes.c_uint32]
            get_name.restype = ctypes.c_uint32
            buffer = ctypes.create_unicode_buffer(32768)
            if get_name(lib._handle, buffer, len(buffer)):
                return buffer.value
        else:
            dladdr = ctypes.CDLL(None).dladdr
            dladdr.argtypes = [ctypes.c_void_p, ctypes.POINTER(_DlInfo)]
            for symbol in ("grouper_version", "grouper_version_number"):
                if hasattr(lib, symbol):
                    info = _DlInfo()
                    address = ctypes.cast(getattr(lib, symbol), ctypes.c_void_p)
                    if dladdr(address, ctypes.byref(info)) and info.dli_fname:
                        return os.fsdecode(info.dli_fname)
                    break
    except (AttributeError, OSError):
        pass
    return lib._name


def _version_text(lib):
    try:
        function = lib.grouper_version
    except AttributeError:
        return "of no known version"
    function.argtypes = []
    function.restype = ctypes.c_char_p
    return "version " + (function() or b"?").decode("ascii", "replace")


def _unfit(lib):
    """Why `lib` cannot serve this module, or None when it can (its functions'
    prototypes then declared)."""
    try:
        number = lib.grouper_version_number
    except AttributeError:
        return "%s, without grouper_version_number (older than 1.2.0)" % _version_text(lib)
    number.argtypes = []
    number.restype = ctypes.c_int
    found = number()
    if found // 1000000 != _MAJOR or found % 1000000 < _MINOR * 1000:
        return "version %d.%d.%d" % (found // 1000000, found // 1000 % 1000, found % 1000)
    for name, argtypes, restype in _PROTOTYPES:
        try:
            function = getattr(lib, name)
        except AttributeError:
            return "%s, without %s" % (_version_text(lib), name)
        function.argtypes, function.restype = argtypes, restype
    return None


def _load():
    """Loads libgrouper, the first candidate that serves this module, and
    declares the prototypes of its functions."""
    configured = os.environ.get("GROUPER_LIBRARY")
    if configured:
        # A library that was asked for by name must be that one: no fallback.
        lib = _Library(configured)
        why = _unfit(lib)
        if why is not None:
            raise OSError(
                "GROUPER_LIBRARY names %s, %s; the module grouper %s needs %s"
                % (_loaded_path(lib), why, __version__, _NEEDED)
            )
        return lib
    unfit, errors = {}, []
    for candidate in _library_candidates():
        try:
            lib = _Library(candidate)
        except OSError as error:
            errors.append(str(error))
            continue
        why = _unfit(lib)
        if why is None:
            return lib
        # The loader's search may find a file that was a candidate by its path.
        unfit.setdefault(_loaded_path(lib), why)
    if unfit:
        raise OSError(
            "no libgrouper that the module grouper %s can use, which needs %s: %s"
            % (__version__, _NEEDED, "; ".join("%s is %s" % item for item in unfit.items()))
        )
    raise OSError("libgrouper not found (set GROUPER_LIBRARY to its path): " + "; ".join(errors))


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


_TEXT_FILE = "reads() takes a binary file (open it with 'rb'; sys.stdin.buffer for standard input)"


def reads(file):
    """Yields the lines of `file` as the batch reads them, each with its line
    end if it has one: the n-th is line n of the batch's result file. `file` is
    a binary file (an object whose read(n) gives bytes, such as open(path,
    "rb")) or a path (str, bytes or os.PathLike), which is opened and closed
    again. A text file (io.TextIOBase, or one whose read gives str or fails to
    decode) raises TypeError, as does anything else."""
    if isinstance(file, (str, bytes, os.PathLike)):
        return _reads_of_path(file)
    if isinstance(file, io.TextIOBase):
        raise TypeError(_TEXT_FILE)
    if not callable(getattr(file, "read", None)):
        raise TypeError(
            "reads() takes a binary file or a path, not %s" % type(file).__name__
        )
    return _reads(file)


def _reads_of_path(path):
    with open(path, "rb") as f:
        yield from _reads(f)


def _reads(file):
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
        try:
            block = file.read(_BLOCK)
        except UnicodeDecodeError as error:  # a text file of another encoding
            raise TypeError(_TEXT_FILE) from error
        if isinstance(block, str):
            raise TypeError(_TEXT_FILE)
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
