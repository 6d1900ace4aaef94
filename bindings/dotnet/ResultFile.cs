// The result file of grouper-dotnet.exe, written so that a run that does not
// finish never costs an earlier result: the bytes go to a new file beside
// OUTPUT, which Commit renames over it and Dispose, without Commit, removes.
// The new file has OUTPUT's mode (on Unix; Windows' ReplaceFile keeps the old
// file's rights itself) and is on the disk before the rename, so that a crash
// leaves either result whole.
// A pipe or a device (anything that cannot seek, or a name under /dev or
// /proc, such as /dev/stdout) and a symbolic link are written directly: a
// pipe or a device has nothing in it to keep, and a link would be replaced by
// a file.
using System;
using System.IO;
using System.Reflection;
using System.Runtime.InteropServices;

namespace PatientGroups
{
    internal sealed class ResultFile : IDisposable
    {
        public readonly Stream Stream;
        private readonly string temporary; // null when OUTPUT is written directly
        private readonly string target;
        private volatile bool committed;
        private volatile bool abandoned; // removed by an interruption: the process is ending
        private readonly Action abandon;

        private ResultFile(Stream stream, string temporary, string target)
        {
            Stream = stream;
            this.temporary = temporary;
            this.target = target;
            if (temporary != null)
            {
                abandon = Abandon;
                Interruptions.Register(abandon);
            }
        }

        // A run ended from outside (Ctrl+C, a closed terminal, kill) leaves
        // no partial result behind (Interruptions).
        private void Abandon()
        {
            if (committed)
                return;
            abandoned = true;
            FileNames.Delete(temporary);
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
            Interruptions.Watch();
            for (int attempt = 0;; attempt++)
            {
                string temporary = Path.Combine(Path.GetDirectoryName(output) ?? "",
                                                "." + Path.GetFileName(output) + "." +
                                                    random.Next().ToString("x8") + ".tmp");
                ResultFile file;
                try
                {
                    // Made and registered for removal with the interruptions held
                    // back, so that no signal falls between the two. FileShare.Delete
                    // lets an interruption remove the name while it is open.
                    file = Interruptions.Uninterrupted(
                        () => new ResultFile(new FileStream(temporary, FileMode.CreateNew,
                                                            FileAccess.Write,
                                                            FileShare.Read | FileShare.Delete),
                                             temporary, output));
                }
                catch (IOException) when (attempt < 20 && FileNames.Exists(temporary))
                {
                    // Another file has that name: draw another.
                    continue;
                }
                catch (UnauthorizedAccessException)
                {
                    // A folder that the user may not add to: write OUTPUT itself,
                    // as the batch does. Any other failure (a full disk) would
                    // cost the earlier result too: it is an open error.
                    return new ResultFile(
                        new FileStream(output, FileMode.Create, FileAccess.Write, FileShare.Read), null,
                        null);
                }
                try
                {
                    if (FileNames.Exists(output))
                        FileNames.KeepMode(output, temporary);
                }
                catch
                {
                    file.Dispose();
                    throw;
                }
                return file;
            }
        }

        // Puts the written bytes on the disk; called before the stream is closed.
        public void FlushToDisk()
        {
            if (temporary != null)
                ((FileStream)Stream).Flush(true);
        }

        // Puts the whole result, its stream flushed to disk and closed, in place of OUTPUT.
        public void Commit()
        {
            if (temporary == null)
                return;
            Interruptions.Uninterrupted(() =>
            {
                if (abandoned)
                    return;
                FileNames.Replace(temporary, target);
                committed = true;
            });
            // Removed by an interruption, which ends the process in a moment:
            // nothing is left to say.
            while (abandoned)
                System.Threading.Thread.Sleep(1000);
        }

        public void Dispose()
        {
            if (temporary != null)
                Interruptions.Forget(abandon);
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

        public static bool IsDirectory(string name)
        {
            if (GrouperCommand.NamesAreBytes)
            {
                const uint TypeBits = 0xF000, Folder = 0x4000;
                uint? mode = StatMode(name);
                return mode != null && (mode.Value & TypeBits) == Folder;
            }
            return Directory.Exists(name);
        }

        // access(2) on the name's bytes: 0, or -1 with the error for
        // Marshal.GetLastWin32Error.
        public static int Access(string name, int mode)
        {
            return access(Bytes(name), mode);
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

        // Gives `to` the permission bits of `from` on Unix: a result that only
        // its owner may read stays so. .NET 7 and later have the calls;
        // Mono asks the C library. Where the mode of `from` cannot be read,
        // `to` is kept to its owner. A file system that keeps no modes (FAT,
        // some network shares) may refuse the change: that is only an error
        // when `to` is left open to more than `from` is (IOException).
        public static void KeepMode(string from, string to)
        {
            if (!Unix)
                return;
            var get = typeof(File).GetMethod("GetUnixFileMode", new[] { typeof(string) });
            var set = get == null ? null
                                  : typeof(File).GetMethod("SetUnixFileMode",
                                                           new[] { typeof(string), get.ReturnType });
            if (set != null)
            {
                try
                {
                    set.Invoke(null, new[] { to, get.Invoke(null, new object[] { from }) });
                }
                catch (TargetInvocationException e) when (e.InnerException != null)
                {
                    throw e.InnerException;
                }
                return;
            }
            uint mode = ModeOf(from) ?? 0x180; // 0600
            if (chmod(Bytes(to), mode) != 0)
            {
                string why = LastError();
                uint? now = ModeOf(to);
                if (now == null || (now.Value & ~mode) != 0)
                    throw new IOException("cannot set the mode of " + to + ": " + why);
            }
        }

        // The permission bits of a file (0777), or null where they cannot be
        // read.
        private static uint? ModeOf(string name)
        {
            uint? mode = StatMode(name);
            return mode == null ? null : (uint?)(mode.Value & 0x1ffu);
        }

        // A file's type and permission bits (st_mode), or null where they
        // cannot be read. statx, whose layout is the same on every processor.
        private static uint? StatMode(string name)
        {
            const int AtCurrentFolder = -100;
            const uint StatxMode = 2;
            const int ModeAt = 28; // stx_mode, after mask, blksize, attributes, nlink, uid, gid
            var status = new byte[256];
            try
            {
                if (statx(AtCurrentFolder, Bytes(name), 0, StatxMode, status) == 0 &&
                    (BitConverter.ToUInt32(status, 0) & StatxMode) != 0)
                    return BitConverter.ToUInt16(status, ModeAt);
            }
            catch (EntryPointNotFoundException)
            {
                // A C library older than statx (glibc 2.28).
            }
            return null;
        }

        // Renames `from` over `to`, which may exist.
        public static void Replace(string from, string to)
        {
            if (GrouperCommand.NamesAreBytes)
            {
                if (rename(Bytes(from), Bytes(to)) != 0)
                    throw new IOException("cannot rename to " + to + ": " + LastError());
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

        // The C library's words for the error of the call just made.
        private static string LastError()
        {
            int error = Marshal.GetLastWin32Error();
            return Marshal.PtrToStringAnsi(strerror(error)) ?? "error " + error;
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

        [DllImport("libc", SetLastError = true)]
        private static extern int statx(int folder, byte[] path, int flags, uint mask, byte[] status);

        [DllImport("libc", SetLastError = true)]
        private static extern int chmod(byte[] path, uint mode);

        [DllImport("libc")]
        private static extern IntPtr strerror(int error);
    }
}
