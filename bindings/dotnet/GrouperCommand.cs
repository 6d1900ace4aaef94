// The batch program on the .NET binding:
//
//   mono grouper-dotnet.exe [--threads N] INPUT OUTPUT   the result file and console of grouper INPUT OUTPUT
//   mono grouper-dotnet.exe --explain INPUT              the lines of grouper-explain --json INPUT
//   mono grouper-dotnet.exe --help | --version
//
// The lines are answered in runs by N threads (default 1) and written in
// input order. The console is code page 949 bytes, the explanation UTF-8.
// The library is loaded and the input opened before the result file is
// touched, and the result is written beside OUTPUT and renamed over it once
// whole (ResultFile). Exit status: 0 when every line was answered and
// written, 1 when a file could not be opened, read or written (the batch's
// console message says which; for the result file a line on stderr gives the
// system's reason) or the library could not be loaded (one line on stderr),
// 2 for bad arguments.
//
// File names: Mono takes its arguments as UTF-8 and refuses, before the
// program starts, one that is not; with MONO_EXTERNAL_ENCODINGS=latin1 it
// passes every name byte for byte (each byte a character from U+0000 to
// U+00FF), which the command then prints as those bytes. .NET on Linux puts
// U+FFFD for bytes that are not UTF-8: such a name is refused.
using System;
using System.Collections.Concurrent;
using System.Collections.Generic;
using System.IO;
using System.Text;
using System.Threading;

namespace PatientGroups
{
    internal static class GrouperCommand
    {
        private const string Program = "grouper-dotnet.exe";
        private const string Usage = "usage: grouper-dotnet.exe [--threads N] INPUT OUTPUT\n" +
                                     "       grouper-dotnet.exe --explain [--threads N] INPUT\n" +
                                     "       grouper-dotnet.exe --help | --version";
        private const string Help =
            Usage + "\n\n" +
            "Answers every line of INPUT as the batch program grouper does, into the result file\n" +
            "OUTPUT and the console, byte for byte.\n\n" +
            "  --threads N  answer the lines on N threads (1 to 256; default 1), written in order\n" +
            "  --explain    print why each line of INPUT gets its answer, one JSON object a line,\n" +
            "               as grouper-explain --json does\n" + "  --help       print this help and exit\n" +
            "  --version    print the version of libgrouper and exit\n\n" +
            "OUTPUT is written under a temporary name beside it and renamed over it once whole, so\n" +
            "that a run that fails leaves an earlier result as it was; a pipe, a device or a\n" +
            "symbolic link is written directly. libgrouper is found on the loader's path\n" +
            "(LD_LIBRARY_PATH; beside the program on Windows); dates are checked in the time zone\n" +
            "of TZ (Asia/Seoul). Under Mono, MONO_EXTERNAL_ENCODINGS=latin1 passes file names that\n" +
            "are not UTF-8 (code page 949) byte for byte.\n" +
            "Exit status: 0 done, 1 a file or the library failed, 2 bad arguments.";
        private const int RunLines = 256;

        private static readonly bool OnMono = Type.GetType("Mono.Runtime") != null;

        // Under Mono with MONO_EXTERNAL_ENCODINGS=latin1 a name's characters
        // are its bytes; else it came as UTF-8.
        internal static readonly bool NamesAreBytes = NamesComeAsBytes();
        internal static readonly Encoding NameEncoding = NamesAreBytes ? Latin1() : new UTF8Encoding(false);

        private static int Main(string[] args)
        {
            int threads = 1;
            bool explain = false;
            var files = new List<string>();
            for (int i = 0; i < args.Length; i++)
            {
                if (args[i] == "--help")
                {
                    Console.WriteLine(Help);
                    return 0;
                }
                else if (args[i] == "--version")
                {
                    if (!Loaded())
                        return 1;
                    Console.WriteLine(Program + " " + Grouper.Version());
                    return 0;
                }
                else if (args[i] == "--threads" && i + 1 < args.Length)
                {
                    if (!int.TryParse(args[++i], out threads) || threads < 1 || threads > 256)
                        return Fail2("--threads takes 1 to 256");
                }
                else if (args[i] == "--explain")
                    explain = true;
                else if (args[i].StartsWith("--", StringComparison.Ordinal))
                    return Fail2("unknown option " + args[i]);
                else
                    files.Add(args[i]);
            }
            if (files.Count != (explain ? 1 : 2))
                return Fail2(null);
            foreach (string name in files)
            {
                if (!OnMono && name.IndexOf('\uFFFD') >= 0 &&
                    Environment.OSVersion.Platform == PlatformID.Unix)
                {
                    Console.Error.WriteLine(Program + ": the file name \"" + name +
                                            "\" did not reach .NET intact " +
                                            "(it is not UTF-8); rename the file");
                    return 1;
                }
            }
            if (!Loaded())
                return 1;
            return explain ? Explain(files[0], threads) : Group(files[0], files[1], threads);
        }

        // Loads the library; says why on stderr when it cannot.
        private static bool Loaded()
        {
            try
            {
                Grouper.Load();
                return true;
            }
            catch (DllNotFoundException e)
            {
                Console.Error.WriteLine(Program + ": " + e.Message);
            }
            catch (EntryPointNotFoundException e)
            {
                Console.Error.WriteLine(Program + ": the libgrouper found is too old for this program (" +
                                        FirstLine(e.Message) + ")");
            }
            return false;
        }

        private static bool NamesComeAsBytes()
        {
            string encodings = Environment.GetEnvironmentVariable("MONO_EXTERNAL_ENCODINGS");
            if (!OnMono || string.IsNullOrEmpty(encodings) ||
                Environment.OSVersion.Platform != PlatformID.Unix)
                return false;
            string first = encodings.Split(':')[0];
            first = first.Replace("-", "").Replace("_", "").ToLowerInvariant();
            return first == "latin1" || first == "iso88591";
        }

        private static string FirstLine(string text)
        {
            int end = text.IndexOf('\n');
            return (end < 0 ? text : text.Substring(0, end)).Trim();
        }

        private static Encoding Latin1()
        {
            return Encoding.GetEncoding("iso-8859-1");
        }

        private static int Fail2(string why)
        {
            if (why != null)
                Console.Error.WriteLine(why);
            Console.Error.WriteLine(Usage);
            return 2;
        }

        // The console, written as bytes. A console that went away does not
        // concern the result file: its failures are ignored, as the batch does.
        private sealed class ConsoleBytes
        {
            private readonly Stream stream = new BufferedStream(Console.OpenStandardOutput(), 1 << 16);

            public void Write(byte[] bytes)
            {
                try
                {
                    stream.Write(bytes, 0, bytes.Length);
                }
                catch (IOException)
                {
                }
            }

            public void Flush()
            {
                try
                {
                    stream.Flush();
                }
                catch (IOException)
                {
                }
            }
        }

        // What the batch prints on the console when a file fails it (the name
        // as the bytes it was given as); status 1.
        private static int Fail(ConsoleBytes console, int kind, string name)
        {
            console.Write(Encoding.ASCII.GetBytes(Grouper.ConsoleErrorText(kind)));
            console.Write(NameEncoding.GetBytes(name + "\n"));
            console.Flush();
            return 1;
        }

        private static int Group(string inputName, string outputName, int threads)
        {
            var console = new ConsoleBytes();
            LineReader reader;
            try
            {
                reader = LineReader.Open(inputName);
            }
            catch (Exception e)
                when (e is IOException || e is UnauthorizedAccessException || e is ArgumentException)
            {
                return Fail(console, Grouper.ConsoleInputOpen, inputName);
            }
            using (reader)
            {
                // The result file must never be written over its own input. The
                // input is open and shared with readers only, so opening it for
                // writing under another name or link fails (on Windows, and
                // under Mono, which keeps the sharing rules itself) before
                // anything is written. .NET on Linux checks the path.
                ResultFile file;
                try
                {
                    if (Path.GetFullPath(inputName) == Path.GetFullPath(outputName))
                        throw new IOException("it is the input file");
                    file = ResultFile.Open(outputName);
                }
                catch (Exception e) when (e is IOException || e is UnauthorizedAccessException ||
                                          e is ArgumentException || e is NotSupportedException)
                {
                    if (!(e is ArgumentException))
                        Because("open", outputName, e);
                    return Fail(console, Grouper.ConsoleOutputOpen, outputName);
                }
                using (file)
                {
                    console.Write(new byte[] { (byte)'\n' });
                    Outcome outcome;
                    Exception failure = null;
                    try
                    {
                        using (Stream result = new BufferedStream(file.Stream, 1 << 16))
                        {
                            outcome = InOrder(reader, threads, 2,
                                              (number, line, chunks) =>
                                              {
                                                  Result r = Grouper.Group(line);
                                                  Append(chunks[0], Grouper.FormatOutputLine(line, r));
                                                  Append(chunks[1], Grouper.FormatConsoleLine(number, r));
                                              },
                                              chunks =>
                                              {
                                                  try
                                                  {
                                                      result.Write(chunks[0], 0, chunks[0].Length);
                                                  }
                                                  catch (IOException e)
                                                  {
                                                      failure = e;
                                                      throw;
                                                  }
                                                  console.Write(chunks[1]);
                                              });
                            if (outcome == Outcome.Complete)
                            {
                                result.Flush();
                                file.FlushToDisk();
                            }
                        }
                        if (outcome == Outcome.Complete)
                            file.Commit();
                    }
                    catch (Exception e) when (e is IOException || e is UnauthorizedAccessException)
                    {
                        failure = e; // the last block, the disk, or putting the file in place
                        outcome = Outcome.WriteError;
                    }
                    // As the batch: a result that is not whole is the first thing to say.
                    if (outcome == Outcome.WriteError)
                    {
                        if (failure != null)
                            Because("write", outputName, failure);
                        return Fail(console, Grouper.ConsoleOutputWrite, outputName);
                    }
                    if (outcome == Outcome.ReadError)
                        return Fail(console, Grouper.ConsoleInputRead, inputName);
                    console.Flush();
                    return 0;
                }
            }
        }

        // Says on stderr why the result file failed, in the system's words
        // (Reasons); the console keeps the batch's bytes.
        private static void Because(string what, string name, Exception e)
        {
            Console.Error.WriteLine(Program + ": cannot " + what + " " + name + ": " + Reasons.Of(e, name));
        }

        private static int Explain(string inputName, int threads)
        {
            LineReader reader;
            try
            {
                reader = LineReader.Open(inputName);
            }
            catch (Exception e)
                when (e is IOException || e is UnauthorizedAccessException || e is ArgumentException)
            {
                Console.Error.WriteLine("grouper-dotnet: cannot open " + inputName);
                return 1;
            }
            using (reader) using (Stream output = new BufferedStream(Console.OpenStandardOutput(), 1 << 16))
            {
                const string prefix = "{\"line\":null";
                Outcome outcome;
                try
                {
                    outcome = InOrder(reader, threads, 1,
                                      (number, line, chunks) =>
                                      {
                                          string json = Grouper.ExplainJson(line, false);
                                          // The library leaves the number out: "line" is its first key.
                                          if (json.StartsWith(prefix, StringComparison.Ordinal))
                                              json = "{\"line\":" + number + json.Substring(prefix.Length);
                                          Append(chunks[0], Encoding.UTF8.GetBytes(json + "\n"));
                                      },
                                      chunks => output.Write(chunks[0], 0, chunks[0].Length));
                    output.Flush();
                }
                catch (IOException)
                {
                    outcome = Outcome.WriteError;
                }
                if (outcome == Outcome.Complete)
                    return 0;
                Console.Error.WriteLine("grouper-dotnet: cannot " + (outcome == Outcome.ReadError
                                                                         ? "read " + inputName
                                                                         : "write the explanation"));
                return 1;
            }
        }

        private static void Append(MemoryStream stream, byte[] bytes)
        {
            stream.Write(bytes, 0, bytes.Length);
        }

        private enum Outcome
        {
            Complete,
            ReadError,
            WriteError
        }

        // A run of lines, answered by a worker into one stream per output.
        private sealed class Run
        {
            public long First;
            public List<byte[]> Lines;
            public byte[][] Chunks;
            public Exception Failure;
            public readonly ManualResetEventSlim Done = new ManualResetEventSlim();
        }

        // Reads the lines in runs, answers them on `threads` threads and
        // writes the runs in input order; at most twice as many runs as
        // threads wait at a time.
        private static Outcome InOrder(LineReader reader, int threads, int streams,
                                       Action<long, byte[], MemoryStream[]> answer, Action<byte[][]> write)
        {
            var work = new BlockingCollection<Run>();
            var workers = new Thread[threads];
            for (int i = 0; i < threads; i++)
            {
                workers[i] = new Thread(() =>
                {
                    foreach (Run run in work.GetConsumingEnumerable()) AnswerRun(run, streams, answer);
            });
            workers[i].IsBackground = true;
            workers[i].Start();
        }
        var pending = new Queue<Run>();
        long number = 0;
        try
        {
            while (true)
            {
                var lines = new List<byte[]>(RunLines);
                Outcome read = Outcome.Complete;
                try
                {
                    byte[] line;
                    while (lines.Count < RunLines && (line = reader.Next()) != null)
                        lines.Add(line);
                }
                catch (IOException)
                {
                    read = Outcome.ReadError;
                }
                if (lines.Count > 0)
                {
                    var run = new Run { First = number + 1, Lines = lines };
                    number += lines.Count;
                    pending.Enqueue(run);
                    work.Add(run);
                }
                bool last = lines.Count < RunLines || read != Outcome.Complete;
                while (pending.Count > 0 && (last || pending.Count > 2 * threads))
                {
                    Run run = pending.Dequeue();
                    run.Done.Wait();
                    // A binding that fails on a line is a fault, not a result: say so.
                    if (run.Failure != null)
                        throw new InvalidOperationException("a line failed", run.Failure);
                    write(run.Chunks);
                }
                if (last)
                    return read;
            }
        }
        catch (IOException)
        {
            return Outcome.WriteError;
        }
        finally
        {
            work.CompleteAdding();
        }
    }

    private static void AnswerRun(Run run, int streams, Action<long, byte[], MemoryStream[]> answer)
    {
        try
        {
            var chunks = new MemoryStream[streams];
            for (int i = 0; i < streams; i++)
                chunks[i] = new MemoryStream(run.Lines.Count * 512);
            for (int i = 0; i < run.Lines.Count; i++)
                answer(run.First + i, run.Lines[i], chunks);
            run.Chunks = new byte[streams][];
            for (int i = 0; i < streams; i++)
                run.Chunks[i] = chunks[i].ToArray();
        }
        catch (Exception e)
        {
            run.Failure = e;
        }
        finally
        {
            run.Done.Set();
        }
    }
}
}
