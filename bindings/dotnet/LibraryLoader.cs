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
    // The library could not be loaded. A DllNotFoundException, so that
    // callers that catch that catch it too; its message says in one sentence
    // which library was looked for, where, and what to do (the runtime's own
    // message names neither the file nor the places).
    public sealed class GrouperLibraryNotFoundException : DllNotFoundException
    {
        internal GrouperLibraryNotFoundException(string message, Exception cause)
            : base(message, cause)
        {
        }
    }

    internal static class LibraryLoader
    {
        [DllImport("kernel32", CharSet = CharSet.Unicode, SetLastError = true)]
        private static extern IntPtr LoadLibraryW(string path);

        // Set once a call has reached the library; until then each call tries
        // again, so that a library put in place later is taken.
        private static volatile bool loaded;

        // Throws GrouperLibraryNotFoundException where the library cannot be
        // loaded; costs one read once it has been.
        internal static void EnsureLoaded()
        {
            if (loaded)
                return;
            try
            {
                NativeMethods.grouper_version();
            }
            catch (DllNotFoundException e)
            {
                throw new GrouperLibraryNotFoundException(NotFoundMessage(), e);
            }
            loaded = true;
        }

        // Where this binding and the runtime looked, as LoadForBitness and the
        // runtime's search by name do.
        internal static string NotFoundMessage()
        {
            string folder = AssemblyFolder() ?? "the folder of Grouper.dll";
            if (Environment.OSVersion.Platform == PlatformID.Win32NT)
            {
                bool wide = IntPtr.Size == 8;
                string bits = wide ? "64-bit" : "32-bit";
                return "The " + bits + " grouper.dll cannot be loaded: it was looked for in " +
                       Path.Combine(folder, wide ? "x64" : "x86") + ", in " +
                       Path.Combine(folder, "runtimes", wide ? "win-x64" : "win-x86", "native") +
                       " and by name beside the program and on PATH; reference the NuGet package " +
                       "Grouper (its build\\Grouper.targets puts it beside the program) or copy the " +
                       bits + " grouper.dll of the grouper installation (bin\\" + (wide ? "" : "x86\\") +
                       "grouper.dll) beside the program.";
            }
            // Mono maps "grouper" to libgrouper.so.1 through Grouper.dll.config
            // where that lies beside the assembly, else tries libgrouper.so.
            string name = File.Exists(Path.Combine(folder, "Grouper.dll.config"))
                              ? "libgrouper.so.1"
                              : "libgrouper.so";
            return "libgrouper cannot be loaded: it was looked for as " + name + " in " + folder +
                   " and on the loader's path (LD_LIBRARY_PATH, the system's library folders); " +
                   "install the grouper package (apt install ./grouper_<version>_amd64.deb), or put " +
                   name + " beside Grouper.dll, or name its folder in LD_LIBRARY_PATH.";
        }

        private static string AssemblyFolder()
        {
            try
            {
                string folder = Path.GetDirectoryName(typeof(LibraryLoader).Assembly.Location);
                return string.IsNullOrEmpty(folder) ? null : folder;
            }
            catch (Exception)
            {
                return null;
            }
        }

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
