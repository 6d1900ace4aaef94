// The result file of grouper-dotnet.exe, written so that a run that does not
// finish never costs an earlier result: the bytes go to a new file beside
// OUTPUT, which Commit renames over it and Dispose, without Commit, removes.
// A pipe or a device (anything that cannot seek, or a name under /dev or
// /proc, such as /dev/stdout) and a symbolic link are written directly: a
// pipe or a device has nothing in it to keep, and a link would be replaced by
// a file.
using System;
using System.IO;
using System.Runtime.InteropServices;

namespace PatientGroups
{
    internal sealed class ResultFile : IDisposable
    {
        public readonly Stream Stream;
        private readonly string temporary; // null when OUTPUT is written directly
        private readonly string target;
        private bool committed;

        private ResultFile(Stream stream, string temporary, string target)
        {
            Stream = stream;
            this.temporary = temporary;
            this.target = target;
        }

        // Throws IOException, UnauthorizedAccessException and the like where
        // the batch could not open OUTPUT for writing.
        public static ResultFile Open(string output)
        {
            if (FileNames.Exists(output))
            {
                // Opened once, without truncating it: a pipe is opened only
                // here, as its reader expects.
                var existing = new FileStream(output, FileMode.Open, FileAccess.Write, FileShare.Read);
                if (!existing.CanSeek || FileNames.IsDevice(output) || FileNames.IsLink(output))
                {
                    if (existing.CanSeek)
                        existing.SetLength(0);
                    return new ResultFile(existing, null, null);
                }
                existing.Dispose();
            }
            var random = new Random();
            for (int attempt = 0;; attempt++)
            {
                string temporary = Path.Combine(Path.GetDirectoryName(output) ?? "",
                                                "." + Path.GetFileName(output) + "." +
                                                    random.Next().ToString("x8") + ".tmp");
                try
                {
                    return new ResultFile(
                        new FileStream(temporary, FileMode.CreateNew, FileAccess.Write, FileShare.Read),
                        temporary, output);
                }
                catch (IOException) when (attempt < 20 && FileNames.Exists(temporary))
                {
                    // Another file has that name: draw another.
                }
                catch (Exception e) when (e is IOException || e is UnauthorizedAccessException)
                {
                    // A folder that takes no new file: write OUTPUT itself, as the batch does.
                    return new ResultFile(
                        new FileStream(output, FileMode.Create, FileAccess.Write, FileShare.Read), null,
                        null);
                }
            }
        }

        // Puts the whole result, its stream closed, in place of OUTPUT.
        public void Commit()
        {
            if (temporary == null)
                return;
            FileNames.Replace(temporary, target);
            committed = true;
        }

        public void Dispose()
        {
            Stream.Dispose();
            if (temporary != null && !committed)
                FileNames.Delete(temporary); // a stray temporary file at worst
        }
    }

    // The file calls on names besides opening. Under MONO_EXTERNAL_ENCODINGS=
    // latin1 Mono opens a file by its name's bytes, but its other file calls
    // take the name as UTF-8 and miss it: with such names these calls go to
    // the C library, with the name's bytes.
    internal static class FileNames
    {
        private static bool Unix
        {
            get {
                return Environment.OSVersion.Platform == PlatformID.Unix;
            }
        }

        public static bool Exists(string name)
        {
            if (GrouperCommand.NamesAreBytes)
                return access(Bytes(name), 0) == 0;
            return File.Exists(name) || Directory.Exists(name);
        }

        public static bool IsLink(string name)
        {
            if (GrouperCommand.NamesAreBytes)
                return readlink(Bytes(name), new byte[1], (UIntPtr)1).ToInt64() >= 0;
            return (File.GetAttributes(name) & FileAttributes.ReparsePoint) != 0;
        }

        public static bool IsDevice(string name)
        {
            if (!Unix)
                return false;
            string full = Path.GetFullPath(name);
            return full.StartsWith("/dev/", StringComparison.Ordinal) ||
                   full.StartsWith("/proc/", StringComparison.Ordinal);
        }

        // Renames `from` over `to`, which may exist.
        public static void Replace(string from, string to)
        {
            if (GrouperCommand.NamesAreBytes)
            {
                if (rename(Bytes(from), Bytes(to)) != 0)
                    throw new IOException("cannot rename to " + to + ": error " +
                                          Marshal.GetLastWin32Error());
            }
            else if (File.Exists(to))
                File.Replace(from, to, null);
            else
                File.Move(from, to);
        }

        public static void Delete(string name)
        {
            try
            {
                if (GrouperCommand.NamesAreBytes)
                    unlink(Bytes(name));
                else
                    File.Delete(name);
            }
            catch (Exception e) when (e is IOException || e is UnauthorizedAccessException)
            {
                // Nothing more can be done.
            }
        }

        private static byte[] Bytes(string name)
        {
            return GrouperCommand.NameEncoding.GetBytes(name + "\0");
        }

        [DllImport("libc", SetLastError = true)]
        private static extern int access(byte[] path, int mode);

        [DllImport("libc", SetLastError = true)]
        private static extern IntPtr readlink(byte[] path, byte[] buffer, UIntPtr size);

        [DllImport("libc", SetLastError = true)]
        private static extern int rename(byte[] from, byte[] to);

        [DllImport("libc", SetLastError = true)]
        private static extern int unlink(byte[] path);
    }
}
