// Which grouper.dll a Windows process loads. A program may carry the library
// of both bitnesses: the NuGet package's build\Grouper.targets puts
// x86\grouper.dll and x64\grouper.dll beside it, and a project that reads the
// package's runtimes folder may have runtimes\win-x86\native\ and
// runtimes\win-x64\native\ there; a process can load only the one of its own
// bitness. Before the first call the one of this process's bitness is loaded
// by its full path, and Windows binds [DllImport("grouper")] to that loaded
// module of the same name. Where there is none (and on other systems) nothing
// is loaded here, and the runtime's own search for the plain name applies:
// grouper.dll beside the program or on PATH; libgrouper.so on Linux (for
// Mono, Grouper.dll.config maps it to libgrouper.so.1 where that is installed).
using System;
using System.IO;
using System.Runtime.InteropServices;

namespace PatientGroups
{
    internal static class LibraryLoader
    {
        [DllImport("kernel32", CharSet = CharSet.Unicode, SetLastError = true)]
        private static extern IntPtr LoadLibraryW(string path);

        // Never throws: a library that is not found here is searched for by name.
        internal static void LoadForBitness()
        {
            if (Environment.OSVersion.Platform != PlatformID.Win32NT)
                return;
            try
            {
                string folder = Path.GetDirectoryName(typeof(LibraryLoader).Assembly.Location);
                if (string.IsNullOrEmpty(folder))
                    return;
                bool wide = IntPtr.Size == 8;
                string[] candidates = {
                    Path.Combine(folder, wide ? "x64" : "x86", "grouper.dll"),
                    Path.Combine(folder, "runtimes", wide ? "win-x64" : "win-x86", "native", "grouper.dll"),
                };
                foreach (string candidate in candidates)
                {
                    if (File.Exists(candidate) && LoadLibraryW(candidate) != IntPtr.Zero)
                        return;
                }
            }
            catch (Exception)
            {
                // The plain name's search still applies.
            }
        }
    }
}
