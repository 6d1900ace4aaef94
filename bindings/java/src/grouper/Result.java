package grouper;

import java.nio.charset.Charset;
import java.util.Objects;

/**
 * The answer to one line, immutable: its kind, its form version (the line's first three bytes,
 * fewer if shorter), the group code ("A11" to "A73") of a valid record, else "", and the message
 * of a rejected or wrong-data-type line, else "".
 *
 * <p>Only {@link Grouper#group} makes one; it keeps the library's own answer for the formatting
 * calls.
 */
public final class Result {
  /** The kinds of answer (GROUPER_KIND_*). */
  public enum Kind {
    /** The record is valid: {@link #groupCode()} holds its code. */
    GROUP_CODE,
    /** The record breaks a rule: {@link #message()} names the first. */
    MESSAGE,
    /** The line's length does not fit its form version. */
    WRONG_DATA_TYPE;

    static Kind of(int value) {
      if (value < 0 || value >= values().length) {
        throw new IllegalStateException("unknown kind of answer: " + value);
      }
      return values()[value];
    }
  }

  // Code page 949, as the records are written; Java's name for it.
  private static final Charset CP949 = Charset.forName("x-windows-949");

  private final Kind kind;
  private final String formVersion;
  private final String groupCode;
  private final String message;
  private final String layout;
  private final byte[] image; // the library's grouper_result, its messages static

  Result(Kind kind, String formVersion, String groupCode, String message, String layout,
      byte[] image) {
    this.kind = kind;
    this.formVersion = formVersion;
    this.groupCode = groupCode;
    this.message = message;
    this.layout = layout;
    this.image = image;
  }

  /** The text of a NUL-terminated field of up to its array's length, from code page 949. */
  static String text(byte[] field) {
    int n = 0;
    while (n < field.length && field[n] != 0) n++;
    return new String(field, 0, n, CP949);
  }

  byte[] image() { return image; }

  public Kind kind() { return kind; }

  public String formVersion() { return formVersion; }

  public String groupCode() { return groupCode; }

  public String message() { return message; }

  /**
   * The input layout the line was judged by: "089/010", "090/011", "091/012", "092/013", or
   * "base" for a line whose first three bytes are none of the eight form-version codes.
   */
  public String layout() { return layout; }

  @Override
  public boolean equals(Object other) {
    if (!(other instanceof Result))
      return false;
    Result r = (Result) other;
    return kind == r.kind && formVersion.equals(r.formVersion) && groupCode.equals(r.groupCode)
        && message.equals(r.message);
  }

  @Override
  public int hashCode() {
    return Objects.hash(kind, formVersion, groupCode, message);
  }

  @Override
  public String toString() {
    return "Result[" + kind + ", " + formVersion + ", "
        + (kind == Kind.GROUP_CODE ? groupCode : message) + "]";
  }
}
