// The C interface of libgrouper (include/grouper/grouper.h) as P/Invoke
// declarations. "grouper" is grouper.dll on Windows and libgrouper.so on
// Linux (Mono maps it to libgrouper.so.1 through Grouper.dll.config).
// Only .NET Standard 2.0 is used, so that .NET Framework 4.x and .NET 8 both
// load it.
//
// Every call is CallingConvention.Winapi: __stdcall in a 32-bit process on
// Windows, as the 32-bit grouper.dll exports its functions (GROUPER_CALL in
// grouper.h), and the platform's one convention in a 64-bit process and on
// Linux, where the header's macro is empty.
using System;
using System.Runtime.InteropServices;

namespace PatientGroups
{
    // struct grouper_result.
    [StructLayout(LayoutKind.Sequential)]
    internal struct NativeResult
    {
        public int Kind; // GROUPER_KIND_*
        [MarshalAs(UnmanagedType.ByValArray, SizeConst = 4)]
        public byte[] FormVersion; // NUL-terminated
        [MarshalAs(UnmanagedType.ByValArray, SizeConst = 4)]
        public byte[] GroupCode;   // NUL-terminated
        public IntPtr Message;     // code page 949, static
        public IntPtr MessageUtf8; // UTF-8, static
    }

    internal static class NativeMethods
    {
        private const string Library = "grouper";

        // On Windows, grouper.dll of the process's bitness where the program carries both.
        static NativeMethods()
        {
            LibraryLoader.LoadForBitness();
        }

        // GROUPER_MAX_OUTPUT_LINE: the longest result-file or console line.
        internal const int MaxOutputLine = 2047;

        // GROUPER_EXPLAIN_SHOW_IDENTIFIERS.
        internal const int ExplainShowIdentifiers = 1;

        // The length of the read at `buffer` (`length` bytes): through the first
        // line feed, as the batch reads; 0 only for `length` 0. `buffer` is
        // an element of a byte array, pinned for the call (a byte is
        // blittable: no copy is made).
        [DllImport(Library, CallingConvention = CallingConvention.Winapi)]
        internal static extern UIntPtr grouper_next_read([In] ref byte buffer, UIntPtr length);

        // Returns 0; `line` may be IntPtr.Zero when `length` is 0.
        [DllImport(Library, CallingConvention = CallingConvention.Winapi)]
        internal static extern int grouper_group_line(IntPtr line, UIntPtr length, out NativeResult result);

        // The snprintf-like functions: the whole length, at most `size` bytes written.
        [DllImport(Library, CallingConvention = CallingConvention.Winapi)]
        internal static extern UIntPtr grouper_format_output_line(IntPtr line, UIntPtr length,
                                                                  [In] ref NativeResult result,
                                                                  [Out] byte[] buffer, UIntPtr size);

        [DllImport(Library, CallingConvention = CallingConvention.Winapi)]
        internal static extern UIntPtr grouper_format_console_line(ulong lineNumber,
                                                                   [In] ref NativeResult result,
                                                                   [Out] byte[] buffer, UIntPtr size);

        [DllImport(Library, CallingConvention = CallingConvention.Winapi)]
        internal static extern UIntPtr grouper_explain_json(IntPtr line, UIntPtr length, int flags,
                                                            [Out] byte[] buffer, UIntPtr size);

        // A static ASCII string.
        [DllImport(Library, CallingConvention = CallingConvention.Winapi)]
        internal static extern IntPtr grouper_layout([In] ref NativeResult result);

        // A static ASCII string.
        [DllImport(Library, CallingConvention = CallingConvention.Winapi)]
        internal static extern IntPtr grouper_version();

        // A static ASCII string; "" for an unknown kind.
        [DllImport(Library, CallingConvention = CallingConvention.Winapi)]
        internal static extern IntPtr grouper_console_error_text(int kind);

        // GROUPER_VERSION_NUMBER: major * 1000000 + minor * 1000 + patch.
        [DllImport(Library, CallingConvention = CallingConvention.Winapi)]
        internal static extern int grouper_version_number();
    }
}
