// What a run does when it is ended from outside: Ctrl+C, a closed terminal or
// `kill` (SIGINT, SIGHUP, SIGTERM) first removes the result's temporary file
// (the cleanups that ResultFile registers), then ends the process as the
// signal would have (a shell sees 128 + the signal's number).
//
// Under Mono on Unix the signals are taken by Mono.Unix.UnixSignal (the
// Mono.Posix assembly, Debian's libmono-posix4.0-cil), loaded by reflection,
// so that the command runs where it is missing: there Mono ends the process
// on SIGTERM and SIGHUP without a word to the program (the temporary file
// stays, as after kill -9) and Ctrl+C reaches it only through the console's
// CancelKeyPress. A signal that was ignored when the process started (nohup's
// SIGHUP, SIGINT of a background job) stays ignored. Elsewhere (.NET, Windows)
// CancelKeyPress and the process's exit take Ctrl+C and SIGTERM, and on
// Windows SetConsoleCtrlHandler the console's closing, a logoff and a shutdown.
using System;
using System.Collections.Generic;
using System.IO;
using System.Reflection;
using System.Runtime.InteropServices;
using System.Threading;

namespace PatientGroups
{
    internal static class Interruptions
    {
        private static readonly object Gate = new object();
        private static readonly List<Action> Cleanups = new List<Action>();
        private static bool started;
        private static ConsoleCtrlHandler windowsHandler; // kept from the collector

        private const int SigHup = 1, SigInt = 2, SigTerm = 15;
        private static readonly int[] Watched = { SigInt, SigTerm, SigHup };

        // Takes the signals from now on: called before a file that a
        // cleanup removes is made.
        public static void Watch()
        {
            lock (Gate)
            {
                if (!started)
                {
                    started = true;
                    Start();
                }
            }
        }

        // Runs `cleanup` when the process is ended from outside, until
        // Forget(cleanup); a cleanup runs at most once and must not throw.
        public static void Register(Action cleanup)
        {
            Watch();
            lock (Gate)
                Cleanups.Add(cleanup);
        }

        public static void Forget(Action cleanup)
        {
            lock (Gate)
                Cleanups.Remove(cleanup);
        }

        // Holds the cleanups back while `action` runs (putting the result in
        // place), so that an interruption sees the result either before or
        // after it.
        public static void Uninterrupted(Action action)
        {
            lock (Gate)
                action();
        }

        public static T Uninterrupted<T>(Func<T> action)
        {
            lock (Gate)
                return action();
        }

        private static void RunCleanups()
        {
            lock (Gate)
            {
                foreach (Action cleanup in Cleanups.ToArray())
                    cleanup();
                Cleanups.Clear();
            }
        }

        private static void Start()
        {
            bool unix = Environment.OSVersion.Platform == PlatformID.Unix;
            if (unix && Type.GetType("Mono.Runtime") != null && WatchUnixSignals())
                return;
            Console.CancelKeyPress += (sender, e) => RunCleanups();
            AppDomain.CurrentDomain.ProcessExit += (sender, e) => RunCleanups();
            if (!unix)
                WatchConsoleClosing();
        }

        // A thread waits for the signals; false where Mono.Posix is missing.
        private static bool WatchUnixSignals()
        {
            const string assembly = ", Mono.Posix, Version=4.0.0.0, Culture=neutral, " +
                                    "PublicKeyToken=0738eb9f132ed756";
            Type signalType, signumType;
            PropertyInfo isSet;
            Array signals;
            var numbers = new List<int>();
            try
            {
                signalType = Type.GetType("Mono.Unix.UnixSignal" + assembly);
                signumType = Type.GetType("Mono.Unix.Native.Signum" + assembly);
                if (signalType == null || signumType == null)
                    return false;
                isSet = signalType.GetProperty("IsSet");
                if (isSet == null)
                    return false;
                long ignored = IgnoredSignals();
                foreach (int number in Watched)
                    if ((ignored & (1L << (number - 1))) == 0)
                        numbers.Add(number);
                signals = Array.CreateInstance(signalType, numbers.Count);
                for (int i = 0; i < numbers.Count; i++)
                    signals.SetValue(Activator.CreateInstance(signalType, Enum.ToObject(signumType, numbers[i])), i);
            }
            catch (Exception e) when (e is IOException || e is TargetInvocationException ||
                                      e is TypeLoadException || e is MissingMemberException ||
                                      e is NotSupportedException || e is ArgumentException)
            {
                return false;
            }
            var watcher = new Thread(() =>
            {
                // The flags are looked at every 20 ms: Mono.Posix's WaitAny
                // misses a signal that comes while it sets itself up, and its
                // time-out does not end it.
                int number = 0;
                while (number == 0)
                {
                    Thread.Sleep(20);
                    for (int i = 0; i < numbers.Count && number == 0; i++)
                        if ((bool)isSet.GetValue(signals.GetValue(i)))
                            number = numbers[i];
                }
                RunCleanups();
                // Mono's handlers go (the earlier disposition comes back) and
                // the signal is sent again, now to end the process.
                foreach (object signal in signals)
                    ((IDisposable)signal).Dispose();
                raise(number);
                Thread.Sleep(2000);
                Environment.Exit(128 + number); // a disposition that did not end it
            });
            watcher.IsBackground = true;
            watcher.Start();
            return true;
        }

        // The signals that this process ignores (bit N-1 for signal N), from
        // Linux's /proc; none where it cannot be read.
        private static long IgnoredSignals()
        {
            try
            {
                foreach (string line in File.ReadAllLines("/proc/self/status"))
                    if (line.StartsWith("SigIgn:", StringComparison.Ordinal))
                        return Convert.ToInt64(line.Substring(7).Trim(), 16);
            }
            catch (Exception e) when (e is IOException || e is UnauthorizedAccessException ||
                                      e is FormatException || e is OverflowException)
            {
            }
            return 0;
        }

        private delegate bool ConsoleCtrlHandler(int kind);

        private static void WatchConsoleClosing()
        {
            const int Close = 2, Logoff = 5, Shutdown = 6;
            windowsHandler = kind =>
            {
                if (kind == Close || kind == Logoff || kind == Shutdown)
                    RunCleanups();
                return false; // the process ends as it would have
            };
            try
            {
                SetConsoleCtrlHandler(windowsHandler, true);
            }
            catch (Exception e) when (e is DllNotFoundException || e is EntryPointNotFoundException)
            {
            }
        }

        [DllImport("kernel32.dll")]
        private static extern bool SetConsoleCtrlHandler(ConsoleCtrlHandler handler, bool add);

        [DllImport("libc")]
        private static extern int raise(int signal);
    }
}
