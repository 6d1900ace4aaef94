import grouper.Grouper;
import grouper.LineReader;
import grouper.Result;
import java.io.IOException;
import java.nio.file.Files;
import java.nio.file.Paths;
import java.util.Arrays;
import java.util.Locale;

/**
 * The Java binding's answers to bad arguments: a null line or result is a NullPointerException, a
 * range outside the array an IndexOutOfBoundsException, a negative line number an
 * IllegalArgumentException, and an empty line the wrong-data-type answer; a line given inside a
 * larger array is answered as the same line alone. (Lines of any bytes are compared with the batch
 * by check_bindings.py.) Prints each failed check; exit status 1 when one failed.
 *
 * <p>The offsets and size of struct grouper_result that Grouper copies are compared with LAYOUT, the
 * lines of grouper_struct_layout ("grouper_result SIZE", "grouper_result.FIELD OFFSET").
 *
 * <p>java -cp grouper.jar:jna.jar:check.jar GrouperCheck VERSION FILE LAYOUT (FILE's first line is
 * a valid record)
 */
public final class GrouperCheck {
  private static int failures;

  private static void check(boolean ok, String what) {
    if (!ok) {
      failures++;
      System.out.println("FAILED: " + what);
    }
  }

  private static void expectThrows(
      Class<? extends RuntimeException> type, String what, Runnable call) {
    try {
      call.run();
      check(false, what + ": no exception");
    } catch (RuntimeException e) {
      check(type.isInstance(e), what + ": " + e);
    }
  }

  /** Grouper's copy of the C layout: FIELD_OFFSET for each field, RESULT_SIZE for the size. */
  private static void checkLayout(String layoutFile) throws IOException {
    java.util.List<String> lines = Files.readAllLines(Paths.get(layoutFile));
    check(lines.size() > 1, "the C layout has the size and fields of grouper_result: " + lines);
    for (String line : lines) {
      String[] nameValue = line.split(" ");
      String[] parts = nameValue[0].split("\\.");
      String constant = parts.length == 1 ? "RESULT_SIZE"
                                          : parts[1].toUpperCase(Locale.ROOT) + "_OFFSET";
      int ours;
      try {
        java.lang.reflect.Field field = Grouper.class.getDeclaredField(constant);
        field.setAccessible(true);
        ours = field.getInt(null);
      } catch (ReflectiveOperationException e) {
        check(false, "Grouper." + constant + " for " + nameValue[0] + ": " + e);
        continue;
      }
      check(ours == Integer.parseInt(nameValue[1]),
          "Grouper." + constant + " is " + ours + ", the C compiler's " + line);
    }
  }

  public static void main(String[] args) throws IOException {
    checkLayout(args[2]);
    String version = args[0];
    byte[] record;
    try (LineReader reader = LineReader.open(Paths.get(args[1]))) {
      record = reader.next();
    }
    Result r = Grouper.group(record);

    expectThrows(NullPointerException.class, "group(null)", () -> Grouper.group(null));
    expectThrows(NullPointerException.class, "group(null, 0, 0)", () -> Grouper.group(null, 0, 0));
    expectThrows(NullPointerException.class, "formatOutputLine(null)",
        () -> Grouper.formatOutputLine(null, r));
    expectThrows(NullPointerException.class, "formatOutputLine(result null)",
        () -> Grouper.formatOutputLine(record, null));
    expectThrows(NullPointerException.class, "formatConsoleLine(result null)",
        () -> Grouper.formatConsoleLine(1, null));
    expectThrows(
        NullPointerException.class, "explainJson(null)", () -> Grouper.explainJson(null, false));
    for (long number : new long[] {-1, Long.MIN_VALUE}) {
      expectThrows(IllegalArgumentException.class, "formatConsoleLine(" + number + ")",
          () -> Grouper.formatConsoleLine(number, r));
    }
    int[][] ranges = {
        {-1, 1}, {0, -1}, {1, record.length}, {record.length + 1, 0}, {Integer.MAX_VALUE, 2}};
    for (int[] range : ranges) {
      expectThrows(IndexOutOfBoundsException.class,
          "group(line, " + range[0] + ", " + range[1] + ")",
          () -> Grouper.group(record, range[0], range[1]));
    }

    Result empty = Grouper.group(new byte[0]);
    check(empty.kind() == Result.Kind.WRONG_DATA_TYPE && empty.formVersion().isEmpty()
            && empty.message().equals("오류-잘못된 데이타 타입입니다."),
        "the empty line: " + empty);
    check(Arrays.equals(Grouper.formatConsoleLine(7, empty),
              Grouper.formatConsoleLine(7, Grouper.group(record, 3, 0))),
        "an empty range answers as the empty line");
    check(Grouper.explainJson(new byte[0], false).contains("\"result\":\"wrong_data_type\""),
        "the empty line's explanation");

    byte[] padded = new byte[record.length + 20];
    Arrays.fill(padded, (byte) '9');
    System.arraycopy(record, 0, padded, 10, record.length);
    Result inside = Grouper.group(padded, 10, record.length);
    check(inside.equals(r), "a line inside a larger array: " + inside + " against " + r);
    check(Arrays.equals(Grouper.formatOutputLine(padded, 10, record.length, inside),
              Grouper.formatOutputLine(record, r)),
        "the result-file line of a line inside a larger array");
    check(r.kind() == Result.Kind.GROUP_CODE && r.groupCode().matches("A[1-7][1-3]")
            && r.message().isEmpty(),
        "a valid record: " + r);
    check(empty.layout().equals("base"), "the empty line's layout: " + empty.layout());
    check(Grouper.explainJson(record, false).contains("\"layout\":\"" + r.layout() + "\""),
        "a record's layout as its explanation names it: " + r.layout());
    check(Grouper.version().equals(version), "version " + Grouper.version());
    int[] parts = Arrays.stream(version.split("\\.")).mapToInt(Integer::parseInt).toArray();
    check(Grouper.versionNumber() == parts[0] * 1000000 + parts[1] * 1000 + parts[2],
        "version number " + Grouper.versionNumber());
    System.out.println(failures == 0 ? "all checks passed" : failures + " checks failed");
    System.exit(failures == 0 ? 0 : 1);
  }
}
