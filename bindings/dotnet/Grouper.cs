// Patient group codes of long-term care assessment records, through
// libgrouper: Grouper.Group answers one line exactly as the batch program
// `grouper` answers it, LineReader cuts a file into lines as the batch reads
// it (by the library's grouper_next_read, so the n-th answer belongs to the
// n-th line of the batch's result file), FormatOutputLine and FormatConsoleLine give the batch's result-file
// and console lines, and ExplainJson why a line gets its answer (the JSON of
// grouper-explain --json).
//
// Text: record lines and formatted lines are bytes in code page 949, as in
// the batch's files; a result's message is decoded from the library's UTF-8.
// Thread safety: every method of Grouper may be called from any number of
// threads at once. No call keeps native memory: lines and buffers are pinned
// managed arrays, and a result is marshalled in and out of each call.
// Dates are checked in the process's time zone: set TZ (Asia/Seoul, or KST-9
// for the Windows C runtime) before the first call. A library that cannot be
// loaded makes each call throw GrouperLibraryNotFoundException, a
// DllNotFoundException whose message says in one sentence which library was
// looked for, where, and what to do (Grouper.Load tries it at a time of the
// caller's choosing).
using System;
using System.Collections.Concurrent;
using System.IO;
using System.Runtime.InteropServices;
using System.Text;

namespace PatientGroups
{
    // The kinds of answer (GROUPER_KIND_*).
    public enum ResultKind
    {
        GroupCode = 0,     // the record is valid: GroupCode holds its code
        Message = 1,       // the record breaks a rule: Message names the first
        WrongDataType = 2, // the line's length does not fit its form version
    }

    // The answer to one line, immutable: the form version (the line's first
    // three bytes, fewer if shorter), the group code ("A11" to "A73") of a
    // valid record, else "", and the message of any other line, else "".
    // Only Grouper.Group makes one; it keeps the library's answer for the
    // formatting calls.
    public sealed class Result : IEquatable<Result>
    {
        internal readonly NativeResult Native;

        internal Result(NativeResult native, string message)
        {
            Native = native;
            Kind = (ResultKind)native.Kind;
            FormVersion = Grouper.Cp949Text(native.FormVersion);
            GroupCode = Grouper.Cp949Text(native.GroupCode);
            Message = message;
            Layout = Grouper.AsciiText(NativeMethods.grouper_layout(ref native));
        }

        public ResultKind Kind { get; }
        public string FormVersion { get; }
        public string GroupCode { get; }
        public string Message { get; }
        // The input layout the line was judged by: "089/010", "090/011",
        // "091/012", "092/013", or "base" for a line whose first three bytes
        // are none of the eight form-version codes.
        public string Layout { get; }

        public bool Equals(Result other)
        {
            return other != null && Kind == other.Kind && FormVersion == other.FormVersion &&
                   GroupCode == other.GroupCode && Message == other.Message;
        }

        public override bool Equals(object other)
        {
            return Equals(other as Result);
        }

        public override int GetHashCode()
        {
            int hash = (int)Kind;
            hash = hash * 31 + FormVersion.GetHashCode();
            hash = hash * 31 + GroupCode.GetHashCode();
            return hash * 31 + Message.GetHashCode();
        }

        public override string ToString()
        {
            return Kind + " " + FormVersion + " " + (Kind == ResultKind.GroupCode ? GroupCode : Message);
        }
    }

    public static class Grouper
    {
        // The messages are static text of the library: each is decoded once.
        private static readonly ConcurrentDictionary<IntPtr, string> Messages =
            new ConcurrentDictionary<IntPtr, string>();

        // Code page 949 where the runtime has it (.NET Framework; .NET 8 with
        // the code pages provider registered); else every byte of 0x80 and
        // above reads as U+FFFD. A valid form version is ASCII either way.
        private static readonly Encoding Cp949 = FindCp949();

        // Answers one line (with or without its line end) as the batch does.
        // Throws ArgumentNullException for a null line.
        public static Result Group(byte[] line)
        {
            if (line == null)
                throw new ArgumentNullException(nameof(line));
            return Group(line, 0, line.Length);
        }

        // Answers the `length` bytes of `line` from `offset`. Throws
        // ArgumentNullException for a null line, ArgumentOutOfRangeException
        // for a range outside it.
        public static Result Group(byte[] line, int offset, int length)
        {
            CheckRange(line, offset, length);
            LibraryLoader.EnsureLoaded();
            NativeResult native = default(NativeResult);
            int status = WithPinned(
                line, offset,
                address => NativeMethods.grouper_group_line(address, (UIntPtr)(uint)length, out native));
            if (status != 0)
                throw new InvalidOperationException("grouper_group_line failed: " + status);
            return new Result(native, Utf8Message(native.MessageUtf8));
        }

        // The result-file line (CR LF included) of `line` and its result.
        public static byte[] FormatOutputLine(byte[] line, Result result)
        {
            if (line == null)
                throw new ArgumentNullException(nameof(line));
            return FormatOutputLine(line, 0, line.Length, result);
        }

        // The same for the `length` bytes of `line` from `offset`.
        public static byte[] FormatOutputLine(byte[] line, int offset, int length, Result result)
        {
            CheckRange(line, offset, length);
            if (result == null)
                throw new ArgumentNullException(nameof(result));
            NativeResult native = result.Native;
            return WithPinned(line, offset,
                              address =>
                                  Formatted((buffer, size) => NativeMethods.grouper_format_output_line(
                                                address, (UIntPtr)(uint)length, ref native, buffer, size)));
        }

        // The console line (line feed included) of input line `lineNumber`
        // (the first is 1). Throws ArgumentOutOfRangeException for a negative
        // number.
        public static byte[] FormatConsoleLine(long lineNumber, Result result)
        {
            if (lineNumber < 0)
                throw new ArgumentOutOfRangeException(nameof(lineNumber), lineNumber,
                                                      "a line number is not negative");
            return FormatConsoleLine((ulong)lineNumber, result);
        }

        // The same for a line number of up to 2^64 - 1.
        public static byte[] FormatConsoleLine(ulong lineNumber, Result result)
        {
            if (result == null)
                throw new ArgumentNullException(nameof(result));
            NativeResult native = result.Native;
            return Formatted((buffer, size) => NativeMethods.grouper_format_console_line(
                                 lineNumber, ref native, buffer, size));
        }

        // Why `line` gets its answer: one JSON object with the keys of
        // grouper-explain --json, "line" null. Identifiers are masked unless
        // `showIdentifiers`.
        public static string ExplainJson(byte[] line, bool showIdentifiers)
        {
            if (line == null)
                throw new ArgumentNullException(nameof(line));
            LibraryLoader.EnsureLoaded();
            int flags = showIdentifiers ? NativeMethods.ExplainShowIdentifiers : 0;
            byte[] json = WithPinned(
                line, 0,
                address => Formatted((buffer, size) => NativeMethods.grouper_explain_json(
                                         address, (UIntPtr)(uint)line.Length, flags, buffer, size)));
            return Encoding.UTF8.GetString(json);
        }

        // The library's version (GROUPER_VERSION).
        public static string Version()
        {
            LibraryLoader.EnsureLoaded();
            return AsciiText(NativeMethods.grouper_version());
        }

        // The library's version as one number (GROUPER_VERSION_NUMBER):
        // major * 1000000 + minor * 1000 + patch, 1001000 for 1.1.0.
        public static int VersionNumber()
        {
            LibraryLoader.EnsureLoaded();
            return NativeMethods.grouper_version_number();
        }

        // Loads the library now, and finds the functions this binding needs
        // beyond those of earlier versions. Throws
        // GrouperLibraryNotFoundException (a DllNotFoundException) when the
        // library cannot be loaded, EntryPointNotFoundException when it is
        // too old.
        public static void Load()
        {
            LibraryLoader.EnsureLoaded();
            byte none = 0;
            NativeMethods.grouper_next_read(ref none, UIntPtr.Zero);
            NativeMethods.grouper_version_number();
            NativeMethods.grouper_console_error_text(ConsoleInputOpen);
        }

        // The batch's failures on a file (GROUPER_CONSOLE_*), for ConsoleErrorText.
        public const int ConsoleInputOpen = 0;
        public const int ConsoleOutputOpen = 1;
        public const int ConsoleOutputWrite = 2;
        public const int ConsoleInputRead = 3;

        // The text that starts the batch's console line for failure `kind`
        // (a Console* constant), "INPUT File Open Error - " and so on, which
        // the file's name and a line feed follow; "" for any other kind.
        public static string ConsoleErrorText(int kind)
        {
            LibraryLoader.EnsureLoaded();
            return AsciiText(NativeMethods.grouper_console_error_text(kind));
        }

        // The length of the read at `bytes[offset]`, which holds `length`
        // bytes of the input: grouper_next_read.
        internal static int NextRead(byte[] bytes, int offset, int length)
        {
            LibraryLoader.EnsureLoaded();
            return (int)NativeMethods.grouper_next_read(ref bytes[offset], (UIntPtr)(uint)length).ToUInt32();
        }

        internal static string Cp949Text(byte[] field)
        {
            int n = Array.IndexOf(field, (byte)0);
            return Cp949.GetString(field, 0, n < 0 ? field.Length : n);
        }

        private static void CheckRange(byte[] line, int offset, int length)
        {
            if (line == null)
                throw new ArgumentNullException(nameof(line));
            if (offset < 0 || offset > line.Length)
                throw new ArgumentOutOfRangeException(nameof(offset));
            if (length < 0 || length > line.Length - offset)
                throw new ArgumentOutOfRangeException(nameof(length));
        }

        // Calls `call` with the address of `bytes[offset]`, the array pinned
        // for the call only.
        private static T WithPinned<T>(byte[] bytes, int offset, Func<IntPtr, T> call)
        {
            GCHandle pinned = GCHandle.Alloc(bytes, GCHandleType.Pinned);
            try
            {
                return call(IntPtr.Add(pinned.AddrOfPinnedObject(), offset));
            }
            finally
            {
                pinned.Free();
            }
        }

        // The bytes that `format` writes as snprintf does, with a larger
        // buffer if need be.
        private static byte[] Formatted(Func<byte[], UIntPtr, UIntPtr> format)
        {
            byte[] buffer = new byte[NativeMethods.MaxOutputLine + 1];
            ulong length = format(buffer, (UIntPtr)(uint)buffer.Length).ToUInt64();
            if (length >= (ulong)buffer.Length)
            {
                buffer = new byte[checked((int)length + 1)];
                length = format(buffer, (UIntPtr)(uint)buffer.Length).ToUInt64();
            }
            byte[] text = new byte[length];
            Buffer.BlockCopy(buffer, 0, text, 0, (int)length);
            return text;
        }

        private static string Utf8Message(IntPtr utf8)
        {
            if (utf8 == IntPtr.Zero)
                return "";
            return Messages.GetOrAdd(utf8, address => Encoding.UTF8.GetString(NulTerminated(address)));
        }

        // A static ASCII string of the library.
        internal static string AsciiText(IntPtr text)
        {
            return Encoding.ASCII.GetString(NulTerminated(text));
        }

        private static byte[] NulTerminated(IntPtr text)
        {
            int n = 0;
            while (Marshal.ReadByte(text, n) != 0)
                n++;
            byte[] bytes = new byte[n];
            Marshal.Copy(text, bytes, 0, n);
            return bytes;
        }

        private static Encoding FindCp949()
        {
            try
            {
                return Encoding.GetEncoding(949, EncoderFallback.ReplacementFallback,
                                            DecoderFallback.ReplacementFallback);
            }
            catch (Exception e) when (e is ArgumentException || e is NotSupportedException)
            {
                return Encoding.GetEncoding("us-ascii", EncoderFallback.ReplacementFallback,
                                            new DecoderReplacementFallback("\uFFFD"));
            }
        }
    }

    // A file's lines as the batch reads them: the library's grouper_next_read
    // says where each read ends (at a line feed, or where one read is full, so
    // that a longer physical line goes on in the next read and counts as
    // another line). Not for use by several threads at once.
    public sealed class LineReader : IDisposable
    {
        private readonly Stream input;
        private readonly byte[] block = new byte[64 * 1024];
        private int begin;
        private int end;
        private bool atEnd;

        // Reads from `input`, which it disposes of when it is disposed of.
        public LineReader(Stream input)
        {
            this.input = input ?? throw new ArgumentNullException(nameof(input));
        }

        // Opens the file at `path`, only for reading (others may read it too).
        public static LineReader Open(string path)
        {
            return new LineReader(new FileStream(path, FileMode.Open, FileAccess.Read, FileShare.Read));
        }

        // The next line, with its line end if it has one; null at the end of
        // the input.
        public byte[] Next()
        {
            while (true)
            {
                int held = end - begin;
                if (held > 0)
                {
                    int n = Grouper.NextRead(block, begin, held);
                    // A read that stops short of the bytes held is whole; one
                    // that takes them all goes on in the input's next bytes.
                    if (n < held || block[begin + n - 1] == (byte)'\n' || atEnd)
                    {
                        byte[] line = new byte[n];
                        Buffer.BlockCopy(block, begin, line, 0, n);
                        begin += n;
                        return line;
                    }
                }
                else if (atEnd)
                    return null;
                Fill();
            }
        }

        // Moves the bytes not yet taken to the front and reads more after them.
        private void Fill()
        {
            int held = end - begin;
            Buffer.BlockCopy(block, begin, block, 0, held);
            int n = input.Read(block, held, block.Length - held);
            if (n <= 0)
            {
                atEnd = true;
                n = 0;
            }
            begin = 0;
            end = held + n;
        }

        public void Dispose()
        {
            input.Dispose();
        }
    }
}
