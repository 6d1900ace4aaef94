package grouper;

import com.sun.jna.Function;
import com.sun.jna.IntegerType;
import com.sun.jna.Library;
import com.sun.jna.Memory;
import com.sun.jna.Native;
import com.sun.jna.NativeLibrary;
import com.sun.jna.Platform;
import com.sun.jna.Pointer;
import java.nio.charset.StandardCharsets;
import java.util.Arrays;
import java.util.Map;
import java.util.Objects;
import java.util.concurrent.ConcurrentHashMap;

/**
 * Patient group codes of long-term care assessment records, through libgrouper.
 *
 * <p>{@link #group(byte[])} answers one line exactly as the batch program {@code grouper} answers
 * it; {@link LineReader} cuts a file into lines as the batch reads it (the library's {@code
 * grouper_next_read}), so that the n-th answer belongs to the n-th line of the batch's result
 * file. {@link #formatOutputLine} and {@link
 * #formatConsoleLine} give the batch's result-file and console lines as bytes; {@link
 * #explainJson} tells why a line gets its answer (the JSON of {@code grouper-explain --json}).
 *
 * <p>Text: record lines and formatted lines are bytes in code page 949, as in the batch's files;
 * the strings of a {@link Result} are decoded from the library's UTF-8.
 *
 * <p>Thread safety: every method may be called from any number of threads at once. No call keeps
 * native memory: a result travels in a block that is freed before the call returns, and the
 * lines and buffers are Java arrays.
 *
 * <p>The library is loaded on first use from the path in the environment variable {@code
 * GROUPER_LIBRARY}, else through JNA's search for {@code grouper} ({@code jna.library.path}, the
 * system's library path, then the class path: the copy a jar carries in {@code linux-x86-64/},
 * {@code win32-x86-64/} or {@code win32-x86/}); a library that cannot be loaded makes every call
 * throw {@link UnsatisfiedLinkError}, saying why on one line. Dates are checked in the process's
 * time zone: run Java with {@code TZ=Asia/Seoul} in its environment.
 */
public final class Grouper {
  /** GROUPER_MAX_OUTPUT_LINE: the longest result-file or console line, in bytes. */
  static final int MAX_OUTPUT_LINE = 2047;

  /** GROUPER_EXPLAIN_SHOW_IDENTIFIERS. */
  private static final int EXPLAIN_SHOW_IDENTIFIERS = 1;

  private Grouper() {}

  /** size_t, as wide as the platform's. */
  public static final class SizeT extends IntegerType {
    private static final long serialVersionUID = 1L;

    public SizeT() { this(0); }

    public SizeT(long value) { super(Native.SIZE_T_SIZE, value, true); }
  }

  /** The functions of grouper.h. A grouper_result is passed as a block of RESULT_SIZE bytes. */
  interface Api extends Library {
    int grouper_group_line(byte[] line, SizeT length, Pointer result);

    SizeT grouper_format_output_line(
        byte[] line, SizeT length, Pointer result, byte[] buffer, SizeT size);

    SizeT grouper_format_console_line(long lineNumber, Pointer result, byte[] buffer, SizeT size);

    SizeT grouper_explain_json(byte[] line, SizeT length, int flags, byte[] buffer, SizeT size);

    Pointer grouper_layout(Pointer result);

    Pointer grouper_version();

    int grouper_version_number();

    Pointer grouper_console_error_text(int kind);
  }

  // struct grouper_result: int kind; char form_version[4]; char group_code[4];
  // const char *message; const char *message_utf8 (each pointer at its own alignment).
  // GrouperCheck compares these with the C compiler's offsetof and sizeof.
  static final int KIND_OFFSET = 0;
  static final int FORM_VERSION_OFFSET = 4;
  static final int GROUP_CODE_OFFSET = 8;
  static final int MESSAGE_OFFSET =
      (12 + Native.POINTER_SIZE - 1) / Native.POINTER_SIZE * Native.POINTER_SIZE;
  static final int MESSAGE_UTF8_OFFSET = MESSAGE_OFFSET + Native.POINTER_SIZE;
  static final int RESULT_SIZE = MESSAGE_UTF8_OFFSET + Native.POINTER_SIZE;

  /**
   * grouper_next_read, which a reader calls once a line, mapped directly (JNA's quicker way to
   * call), with size_t as wide as the platform's.
   */
  private static final class Reads64 {
    static native long grouper_next_read(Pointer buffer, long length);
  }

  private static final class Reads32 {
    static native int grouper_next_read(Pointer buffer, int length);
  }

  /**
   * The options of both mappings: on 32-bit Windows the library's functions are __stdcall
   * (GROUPER_CALL in grouper.h), which JNA calls by its alternative convention; elsewhere the
   * platform has one convention.
   */
  static final Map<String, ?> OPTIONS =
      Platform.isWindows() && !Platform.is64Bit()
          ? Map.of(Library.OPTION_CALLING_CONVENTION, Function.ALT_CONVENTION)
          : Map.of();

  /** Loaded on first use; a class's initialisation is thread-safe. */
  private static final class Loaded {
    static final Api API;
    static final String FAILURE; // why API is null
    static final String TOO_OLD; // why the functions mapped directly are missing, or null

    static {
      String path = System.getenv("GROUPER_LIBRARY");
      // A library asked for by path must be that one: no fallback.
      String name = path != null && !path.isEmpty() ? path : "grouper";
      Api api = null;
      String failure = null;
      try {
        api = Native.load(name, Api.class, OPTIONS);
      } catch (UnsatisfiedLinkError e) {
        failure = "libgrouper cannot be loaded from " + name + ": " + reason(e.getMessage());
      }
      String tooOld = null;
      if (api != null) {
        try {
          NativeLibrary library = NativeLibrary.getInstance(name, OPTIONS);
          Native.register(Native.SIZE_T_SIZE == 8 ? Reads64.class : Reads32.class, library);
          library.getFunction("grouper_version_number");
          library.getFunction("grouper_console_error_text");
        } catch (UnsatisfiedLinkError e) {
          tooOld = "the libgrouper loaded is too old for this binding: " + reason(e.getMessage());
        }
      }
      API = api;
      FAILURE = failure;
      TOO_OLD = tooOld;
    }

    /** The loader's own words (JNA's second line), without the places JNA searched. */
    private static String reason(String message) {
      String[] lines = String.valueOf(message).split("\\R");
      String line = lines.length > 1 && !lines[1].isBlank() ? lines[1] : lines[0];
      return line.strip();
    }
  }

  private static Api api() {
    if (Loaded.API == null)
      throw new UnsatisfiedLinkError(Loaded.FAILURE);
    return Loaded.API;
  }

  /**
   * Loads the library now, if it is not loaded yet, and finds the functions this binding needs
   * beyond those of earlier versions.
   *
   * @throws UnsatisfiedLinkError when it cannot be loaded or is too old; the message says why, on
   *     one line
   */
  public static void load() {
    api();
    if (Loaded.TOO_OLD != null)
      throw new UnsatisfiedLinkError(Loaded.TOO_OLD);
  }

  /**
   * The length of the read at {@code buffer}, which holds {@code length} bytes: grouper_next_read.
   */
  static int nextRead(Pointer buffer, int length) {
    load();
    return Native.SIZE_T_SIZE == 8 ? (int) Reads64.grouper_next_read(buffer, length)
                                   : Reads32.grouper_next_read(buffer, length);
  }

  /** The messages are static text of the library: each is decoded once. */
  private static final ConcurrentHashMap<Long, String> MESSAGES = new ConcurrentHashMap<>();

  private static String message(Pointer utf8) {
    if (utf8 == null)
      return "";
    return MESSAGES.computeIfAbsent(
        Pointer.nativeValue(utf8), address -> utf8.getString(0, StandardCharsets.UTF_8.name()));
  }

  /** Answers one line (with or without its line end) as the batch does. */
  public static Result group(byte[] line) {
    Objects.requireNonNull(line, "line");
    return group(line, 0, line.length);
  }

  /**
   * Answers the {@code length} bytes of {@code line} from {@code offset}.
   *
   * @throws NullPointerException when {@code line} is null
   * @throws IndexOutOfBoundsException when the range lies outside {@code line}
   */
  public static Result group(byte[] line, int offset, int length) {
    byte[] bytes = range(line, offset, length);
    try (Memory block = new Memory(RESULT_SIZE)) {
      block.clear();
      int status = api().grouper_group_line(bytes, new SizeT(bytes.length), block);
      if (status != 0)
        throw new IllegalStateException("grouper_group_line failed: " + status);
      byte[] image = block.getByteArray(0, RESULT_SIZE);
      return new Result(Result.Kind.of(block.getInt(KIND_OFFSET)),
          Result.text(block.getByteArray(FORM_VERSION_OFFSET, 4)),
          Result.text(block.getByteArray(GROUP_CODE_OFFSET, 4)),
          message(block.getPointer(MESSAGE_UTF8_OFFSET)),
          api().grouper_layout(block).getString(0, StandardCharsets.US_ASCII.name()), image);
    }
  }

  /** The result-file line of {@code line} and its result {@code r}, CR LF included. */
  public static byte[] formatOutputLine(byte[] line, Result r) {
    Objects.requireNonNull(line, "line");
    return formatOutputLine(line, 0, line.length, r);
  }

  /** The same for the {@code length} bytes of {@code line} from {@code offset}. */
  public static byte[] formatOutputLine(byte[] line, int offset, int length, Result r) {
    byte[] bytes = range(line, offset, length);
    SizeT size = new SizeT(bytes.length);
    return withResult(r,
        (block, buffer)
            -> api().grouper_format_output_line(
                bytes, size, block, buffer, new SizeT(buffer.length)));
  }

  /**
   * The console line of input line {@code lineNumber} (the first is 1), line feed included.
   *
   * @throws IllegalArgumentException when {@code lineNumber} is negative
   */
  public static byte[] formatConsoleLine(long lineNumber, Result r) {
    if (lineNumber < 0)
      throw new IllegalArgumentException("line number " + lineNumber + " is negative");
    return withResult(r,
        (block, buffer)
            -> api().grouper_format_console_line(
                lineNumber, block, buffer, new SizeT(buffer.length)));
  }

  /**
   * Why {@code line} gets its answer: one JSON object, the keys of {@code grouper-explain --json}
   * with "line" null. The identifiers are masked unless {@code showIdentifiers}.
   */
  public static String explainJson(byte[] line, boolean showIdentifiers) {
    Objects.requireNonNull(line, "line");
    int flags = showIdentifiers ? EXPLAIN_SHOW_IDENTIFIERS : 0;
    SizeT length = new SizeT(line.length);
    byte[] json = formatted(
        (buffer)
            -> api().grouper_explain_json(line, length, flags, buffer, new SizeT(buffer.length)));
    return new String(json, StandardCharsets.UTF_8);
  }

  /** The batch's failures on a file (GROUPER_CONSOLE_*), for {@link #consoleErrorText}. */
  public static final int CONSOLE_INPUT_OPEN = 0;
  public static final int CONSOLE_OUTPUT_OPEN = 1;
  public static final int CONSOLE_OUTPUT_WRITE = 2;
  public static final int CONSOLE_INPUT_READ = 3;

  /**
   * The text that starts the batch's console line for failure {@code kind} (a CONSOLE_*
   * constant), "INPUT File Open Error - " and so on, which the file's name and a line feed
   * follow; "" for any other kind.
   */
  public static String consoleErrorText(int kind) {
    load();
    return api().grouper_console_error_text(kind).getString(0, StandardCharsets.US_ASCII.name());
  }

  /** The library's version (GROUPER_VERSION). */
  public static String version() {
    return api().grouper_version().getString(0, StandardCharsets.US_ASCII.name());
  }

  /**
   * The library's version as one number (GROUPER_VERSION_NUMBER): major * 1000000 + minor * 1000
   * + patch, 1001000 for 1.1.0.
   */
  public static int versionNumber() {
    return api().grouper_version_number();
  }

  private static byte[] range(byte[] line, int offset, int length) {
    Objects.requireNonNull(line, "line");
    Objects.checkFromIndexSize(offset, length, line.length);
    return offset == 0 && length == line.length ? line
                                                : Arrays.copyOfRange(line, offset, offset + length);
  }

  private interface Format {
    SizeT call(byte[] buffer);
  }

  private interface FormatWithResult {
    SizeT call(Pointer result, byte[] buffer);
  }

  /** The bytes that {@code format} writes as snprintf does, with a larger buffer if need be. */
  private static byte[] formatted(Format format) {
    byte[] buffer = new byte[MAX_OUTPUT_LINE + 1];
    long length = format.call(buffer).longValue();
    if (length >= buffer.length) {
      buffer = new byte[Math.toIntExact(length + 1)];
      length = format.call(buffer).longValue();
    }
    return Arrays.copyOf(buffer, (int) length);
  }

  private static byte[] withResult(Result r, FormatWithResult format) {
    Objects.requireNonNull(r, "result");
    try (Memory block = new Memory(RESULT_SIZE)) {
      block.write(0, r.image(), 0, RESULT_SIZE);
      return formatted(buffer -> format.call(block, buffer));
    }
  }
}
