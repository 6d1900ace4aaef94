// Why a file operation failed, in the system's own words: on Unix the C
// library's strerror text ("No space left on device", "Permission denied",
// "Is a directory"), on Windows the system's message for the error code.
//
// Mono words file errors itself ("Disk full.", "Access to the path ... is
// denied.") and keeps the errno only as the Windows error code that it maps
// it to, in the exception's HResult (0x8007xxxx): that code is mapped back.
// Where several errnos share one code the system is asked again: a folder
// is EISDIR whatever the code, and a refused access is what access(2) says
// for the name (EACCES, EROFS, EPERM). .NET on Unix keeps the errno itself in
// HResult. A code with no errno of the same meaning on every Unix keeps the
// runtime's message.
using System;
using System.ComponentModel;
using System.IO;
using System.Runtime.InteropServices;

namespace PatientGroups
{
    internal static class Reasons
    {
        // errno values below 35 are the same on Linux, the BSDs and macOS.
        private const int Eperm = 1, Enoent = 2, Eacces = 13, Eexist = 17, Eisdir = 21,
                          Emfile = 24, Efbig = 27, Enospc = 28, Erofs = 30;

        private static bool Unix
        {
            get {
                return Environment.OSVersion.Platform == PlatformID.Unix;
            }
        }

        // The reason for `e`, which an operation on the file `name` threw.
        public static string Of(Exception e, string name)
        {
            int hresult = e.HResult;
            bool win32 = (hresult & 0xFFFF0000) == 0x80070000;
            if (!Unix)
                return win32 ? new Win32Exception(hresult & 0xFFFF).Message : FirstLine(e.Message);
            if (FileNames.IsDirectory(name))
                return Strerror(Eisdir);
            int error = 0;
            if (win32)
                error = FromWindows(hresult & 0xFFFF);
            else if (hresult > 0 && hresult < 4096) // .NET: the errno itself
                error = hresult;
            else if (e.InnerException != null && e.InnerException.HResult > 0 &&
                     e.InnerException.HResult < 4096)
                error = e.InnerException.HResult;
            if (error == Eacces)
                error = AccessError(name);
            return error != 0 ? Strerror(error) : FirstLine(e.Message);
        }

        private static int FromWindows(int code)
        {
            switch (code)
            {
            case 2:   // ERROR_FILE_NOT_FOUND
            case 3:   // ERROR_PATH_NOT_FOUND
                return Enoent;
            case 4:   // ERROR_TOO_MANY_OPEN_FILES
                return Emfile;
            case 5:   // ERROR_ACCESS_DENIED: EACCES, EPERM or EROFS
                return Eacces;
            case 19:  // ERROR_WRITE_PROTECT
                return Erofs;
            case 39:  // ERROR_HANDLE_DISK_FULL
            case 112: // ERROR_DISK_FULL
                return Enospc;
            case 80:  // ERROR_FILE_EXISTS
            case 183: // ERROR_ALREADY_EXISTS
                return Eexist;
            case 223: // ERROR_FILE_TOO_LARGE
                return Efbig;
            default:
                return 0;
            }
        }

        // Why writing `name` (or, where it does not exist, adding to its
        // folder) is refused, as access(2) says it; EACCES where it is not.
        private static int AccessError(string name)
        {
            const int WriteOk = 2;
            string asked = name;
            if (!FileNames.Exists(name))
            {
                asked = Path.GetDirectoryName(Path.GetFullPath(name));
                if (string.IsNullOrEmpty(asked))
                    return Eacces;
            }
            if (FileNames.Access(asked, WriteOk) == 0)
                return Eacces;
            int error = Marshal.GetLastWin32Error();
            return error == Eperm || error == Erofs ? error : Eacces;
        }

        private static string Strerror(int error)
        {
            return Marshal.PtrToStringAnsi(strerror(error)) ?? "error " + error;
        }

        private static string FirstLine(string text)
        {
            int end = text.IndexOf('\n');
            return (end < 0 ? text : text.Substring(0, end)).Trim();
        }

        [DllImport("libc")]
        private static extern IntPtr strerror(int error);
    }
}
