// The .NET binding's answers to bad arguments: a null line or result is an
// ArgumentNullException, a range outside the array or a negative line number
// an ArgumentOutOfRangeException, and an empty line the wrong-data-type answer;
// a line given inside a larger array is answered as the same line alone.
// (Lines of any bytes are compared with the batch by check_bindings.py.)
// Prints each failed check; exit status 1 when one failed.
//
// The offsets and size of the binding's copy of struct grouper_result are
// compared with LAYOUT, the lines of grouper_struct_layout ("grouper_result
// SIZE", "grouper_result.FIELD OFFSET").
//
//   mono grouper-check.exe VERSION FILE LAYOUT   (FILE's first line is a valid record)
//   mono grouper-check.exe --without-library     (run where no libgrouper can be found)
using System;
using System.IO;
using System.Linq;
using System.Runtime.InteropServices;
using System.Text.RegularExpressions;
using PatientGroups;

internal static class GrouperCheck
{
    private static int failures;

    private static void Check(bool ok, string what)
    {
        if (ok)
            return;
        failures++;
        Console.WriteLine("FAILED: " + what);
    }

    private static void ExpectThrows<T>(string what, Action call)
        where T : Exception
    {
        try
        {
            call();
            Check(false, what + ": no exception");
        }
        catch (Exception e)
        {
            Check(e is T, what + ": " + e.GetType().Name);
        }
    }

    // NativeResult, the binding's copy, is internal: read through reflection.
    private static void CheckLayout(string layoutFile)
    {
        Type native = typeof(Grouper).Assembly.GetType("PatientGroups.NativeResult", true);
        string[] lines = File.ReadAllLines(layoutFile);
        Check(lines.Length > 1, "the C layout has the size and fields of grouper_result");
        foreach (string line in lines)
        {
            string[] nameValue = line.Split(' ');
            string[] parts = nameValue[0].Split('.');
            int expected = int.Parse(nameValue[1]);
            if (parts.Length == 1)
            {
                Check(Marshal.SizeOf(native) == expected,
                      "Marshal.SizeOf(NativeResult) " + Marshal.SizeOf(native) + ", the C compiler's " + line);
                continue;
            }
            string field = string.Concat(parts[1].Split('_').Select(w => char.ToUpperInvariant(w[0]) + w.Substring(1)));
            int ours;
            try
            {
                ours = (int)Marshal.OffsetOf(native, field);
            }
            catch (ArgumentException e)
            {
                Check(false, "NativeResult." + field + " for " + nameValue[0] + ": " + e.Message);
                continue;
            }
            Check(ours == expected, "Marshal.OffsetOf(NativeResult, " + field + ") " + ours +
                                    ", the C compiler's " + line);
        }
    }

    // Without the library every call throws the binding's own exception, a
    // DllNotFoundException that names the file, the folder of Grouper.dll and
    // the remedy in one sentence: at the first call and again at the next.
    private static int WithoutLibrary()
    {
        string folder = Path.GetDirectoryName(typeof(Grouper).Assembly.Location);
        string[] names = { "Group", "Group again", "Version", "Load", "ExplainJson" };
        Action[] calls = { () => Grouper.Group(new byte[0]), () => Grouper.Group(new byte[0]),
                           () => Grouper.Version(), Grouper.Load,
                           () => Grouper.ExplainJson(new byte[0], false) };
        for (int i = 0; i < calls.Length; i++)
        {
            string what = names[i];
            try
            {
                calls[i]();
                Check(false, what + " without the library: no exception");
            }
            catch (GrouperLibraryNotFoundException e)
            {
                string m = e.Message;
                Check(e is DllNotFoundException && m.StartsWith("libgrouper cannot be loaded: ") &&
                          m.Contains("libgrouper.so.1 in " + folder + " ") && m.Contains("LD_LIBRARY_PATH") &&
                          m.Contains("install the grouper package") && m.IndexOf('\n') < 0 &&
                          m.IndexOf(". ") < 0 && m.EndsWith("."),
                      what + " without the library: " + m);
            }
            catch (Exception e)
            {
                Check(false, what + " without the library: " + e.GetType().Name + ": " + e.Message);
            }
        }
        Console.WriteLine(failures == 0 ? "all checks passed" : failures + " checks failed");
        return failures == 0 ? 0 : 1;
    }

    private static int Main(string[] args)
    {
        if (args.Length == 1 && args[0] == "--without-library")
            return WithoutLibrary();
        CheckLayout(args[2]);
        string version = args[0];
        byte[] record;
        using (LineReader reader = LineReader.Open(args[1])) record = reader.Next();
        Result r = Grouper.Group(record);

        ExpectThrows<ArgumentNullException>("Group(null)", () => Grouper.Group(null));
        ExpectThrows<ArgumentNullException>("Group(null, 0, 0)", () => Grouper.Group(null, 0, 0));
        ExpectThrows<ArgumentNullException>("FormatOutputLine(null)",
                                            () => Grouper.FormatOutputLine(null, r));
        ExpectThrows<ArgumentNullException>("FormatOutputLine(result null)",
                                            () => Grouper.FormatOutputLine(record, null));
        ExpectThrows<ArgumentNullException>("FormatConsoleLine(result null)",
                                            () => Grouper.FormatConsoleLine(1, null));
        ExpectThrows<ArgumentNullException>("ExplainJson(null)", () => Grouper.ExplainJson(null, false));
        foreach (long number in new[] { -1L, long.MinValue })
            ExpectThrows<ArgumentOutOfRangeException>("FormatConsoleLine(" + number + ")",
                                                      () => Grouper.FormatConsoleLine(number, r));
        Check(Grouper.FormatConsoleLine(7L, r).SequenceEqual(Grouper.FormatConsoleLine(7UL, r)),
              "a line number as long or as ulong");
        int[][] ranges = { new[] { -1, 1 }, new[] { 0, -1 }, new[] { 1, record.Length },
                           new[] { record.Length + 1, 0 }, new[] { int.MaxValue, 2 } };
        foreach (int[] range in ranges)
        {
            ExpectThrows<ArgumentOutOfRangeException>("Group(line, " + range[0] + ", " + range[1] + ")",
                                                      () => Grouper.Group(record, range[0], range[1]));
        }

        Result empty = Grouper.Group(new byte[0]);
        Check(empty.Kind == ResultKind.WrongDataType && empty.FormVersion == "" &&
                  empty.Message == "오류-잘못된 데이타 타입입니다.",
              "the empty line: " + empty);
        Check(Grouper.FormatConsoleLine(7, empty).SequenceEqual(
                  Grouper.FormatConsoleLine(7, Grouper.Group(record, 3, 0))),
              "an empty range answers as the empty line");
        Check(Grouper.ExplainJson(new byte[0], false).Contains("\"result\":\"wrong_data_type\""),
              "the empty line's explanation");

        byte[] padded = Enumerable.Repeat((byte)'9', record.Length + 20).ToArray();
        Array.Copy(record, 0, padded, 10, record.Length);
        Result inside = Grouper.Group(padded, 10, record.Length);
        Check(inside.Equals(r), "a line inside a larger array: " + inside + " against " + r);
        Check(Grouper.FormatOutputLine(padded, 10, record.Length, inside)
                  .SequenceEqual(Grouper.FormatOutputLine(record, r)),
              "the result-file line of a line inside a larger array");
        Check(r.Kind == ResultKind.GroupCode && Regex.IsMatch(r.GroupCode, "^A[1-7][1-3]$") &&
                  r.Message == "",
              "a valid record: " + r);
        Check(empty.Layout == "base", "the empty line's layout: " + empty.Layout);
        Check(Grouper.ExplainJson(record, false).Contains("\"layout\":\"" + r.Layout + "\""),
              "a record's layout as its explanation names it: " + r.Layout);
        Check(Grouper.Version() == version, "version " + Grouper.Version());
        int[] parts = version.Split('.').Select(int.Parse).ToArray();
        Check(Grouper.VersionNumber() == parts[0] * 1000000 + parts[1] * 1000 + parts[2],
              "version number " + Grouper.VersionNumber());
        Console.WriteLine(failures == 0 ? "all checks passed" : failures + " checks failed");
        return failures == 0 ? 0 : 1;
    }
}
