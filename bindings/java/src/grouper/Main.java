package grouper;

import java.io.BufferedOutputStream;
import java.io.ByteArrayOutputStream;
import java.io.IOException;
import java.io.OutputStream;
import java.io.PrintStream;
import java.io.UncheckedIOException;
import java.nio.charset.Charset;
import java.nio.charset.StandardCharsets;
import java.nio.file.Files;
import java.nio.file.InvalidPathException;
import java.nio.file.Path;
import java.nio.file.Paths;
import java.util.ArrayDeque;
import java.util.ArrayList;
import java.util.List;
import java.util.concurrent.ExecutionException;
import java.util.concurrent.ExecutorService;
import java.util.concurrent.Executors;
import java.util.concurrent.Future;

/**
 * The batch program on the Java binding.
 *
 * <pre>
 * java -jar grouper.jar [--threads N] INPUT OUTPUT  the result file and console of grouper
 * java -jar grouper.jar --explain INPUT             the lines of grouper-explain --json INPUT
 * java -jar grouper.jar --help | --version
 * </pre>
 *
 * The lines are answered in runs on N threads (default 1) and written in input order. The console
 * is code page 949 bytes, the explanation UTF-8. The library is loaded and the input opened
 * before the result file is touched, and the result is written beside OUTPUT and renamed over it
 * once whole ({@link ResultFile}). Exit status: 0 when every line was answered and written, 1
 * when a file could not be opened, read or written (the batch's console message says which; for
 * the result file a line on stderr gives the system's reason), the library could not be loaded
 * or a file name did not reach Java intact (one line on stderr says so), 2 for bad arguments.
 */
public final class Main {
  private static final String PROGRAM = "grouper.jar";
  private static final String USAGE = "usage: java -jar grouper.jar [--threads N] INPUT OUTPUT\n"
      + "       java -jar grouper.jar --explain [--threads N] INPUT\n"
      + "       java -jar grouper.jar --help | --version";
  private static final String HELP = USAGE + "\n\n"
      + "Answers every line of INPUT as the batch program grouper does, into the result file\n"
      + "OUTPUT and the console, byte for byte.\n\n"
      + "  --threads N  answer the lines on N threads (1 to 256; default 1), written in order\n"
      + "  --explain    print why each line of INPUT gets its answer, one JSON object a line,\n"
      + "               as grouper-explain --json does\n"
      + "  --help       print this help and exit\n"
      + "  --version    print the version of libgrouper and exit\n\n"
      + "OUTPUT is written under a temporary name beside it and renamed over it once whole, so\n"
      + "that a run that fails leaves an earlier result as it was; a pipe or a device is written\n"
      + "directly. The library is the file GROUPER_LIBRARY names, else libgrouper on the\n"
      + "system's library path, else the one the jar carries for this platform; dates are\n"
      + "checked in the time zone of TZ (Asia/Seoul).\n"
      + "Exit status: 0 done, 1 a file or the library failed, 2 bad arguments.";
  private static final int RUN_LINES = 256;

  private Main() {}

  public static void main(String[] args) { System.exit(run(args)); }

  static int run(String[] args) {
    int threads = 1;
    boolean explain = false;
    List<String> files = new ArrayList<>();
    for (int i = 0; i < args.length; i++) {
      if (args[i].equals("--help")) {
        System.out.println(HELP);
        return 0;
      } else if (args[i].equals("--version")) {
        if (!loaded())
          return 1;
        System.out.println(PROGRAM + " " + Grouper.version());
        return 0;
      } else if (args[i].equals("--threads") && i + 1 < args.length) {
        try {
          threads = Integer.parseInt(args[++i]);
        } catch (NumberFormatException e) {
          threads = 0;
        }
        if (threads < 1 || threads > 256)
          return usage("--threads takes 1 to 256");
      } else if (args[i].equals("--explain")) {
        explain = true;
      } else if (args[i].startsWith("--")) {
        return usage("unknown option " + args[i]);
      } else {
        files.add(args[i]);
      }
    }
    if (files.size() != (explain ? 1 : 2))
      return usage(null);
    for (String name : files) {
      String lost = lostName(name);
      if (lost != null) {
        System.err.println(PROGRAM + ": " + lost);
        return 1;
      }
    }
    if (!loaded())
      return 1;
    return explain ? explain(files.get(0), threads) : group(files.get(0), files.get(1), threads);
  }

  /** Loads the library; says why on stderr when it cannot. */
  private static boolean loaded() {
    try {
      Grouper.load();
      return true;
    } catch (UnsatisfiedLinkError e) {
      System.err.println(PROGRAM + ": " + e.getMessage());
      return false;
    }
  }

  /**
   * Why the file name {@code name} is not the one that was given, or null. Java on Linux decodes
   * its arguments by the locale's encoding and puts U+FFFD for bytes it cannot decode, and opens
   * files by names encoded the same way: such a name can neither be opened nor created.
   */
  static String lostName(String name) {
    String encoding = System.getProperty("sun.jnu.encoding", Charset.defaultCharset().name());
    String why = "the file name \"" + name
        + "\" did not reach Java intact: Java takes file names in "
        + "the encoding of the locale (" + encoding + "), which cannot hold it; run under a "
        + "locale whose encoding holds the name (LANG=C.UTF-8 for a UTF-8 name) or rename the file";
    if (name.indexOf('\uFFFD') >= 0)
      return why;
    try {
      Paths.get(name);
      return null;
    } catch (InvalidPathException e) {
      return e.getMessage().contains("unmappable")
          ? why
          : "cannot use the file name \"" + name + "\": " + e.getReason();
    }
  }

  private static int usage(String why) {
    if (why != null)
      System.err.println(why);
    System.err.println(USAGE);
    return 2;
  }

  /** What the batch prints on the console when a file fails it; exit status 1. */
  private static int fail(int kind, String name) {
    System.out.print(Grouper.consoleErrorText(kind) + name + "\n");
    System.out.flush();
    return 1;
  }

  private static int group(String inputName, String outputName, int threads) {
    Path input = Paths.get(inputName);
    Path output = Paths.get(outputName);
    LineReader reader;
    try {
      reader = LineReader.open(input);
    } catch (IOException e) {
      return fail(Grouper.CONSOLE_INPUT_OPEN, inputName);
    }
    try {
      // The result file must never be written over its own input.
      if (sameFile(input, output)) {
        System.err.println(PROGRAM + ": cannot open " + outputName + ": it is the input file");
        return fail(Grouper.CONSOLE_OUTPUT_OPEN, outputName);
      }
      ResultFile file;
      try {
        file = ResultFile.open(output);
      } catch (IOException e) {
        because("open", outputName, e);
        return fail(Grouper.CONSOLE_OUTPUT_OPEN, outputName);
      }
      try {
        return group(reader, file, threads, inputName, outputName);
      } finally {
        file.discard(); // a result that is not whole leaves OUTPUT as it was
      }
    } finally {
      closeQuietly(reader);
    }
  }

  /** Writes the answers into {@code file} and the console; commits the file when all is well. */
  private static int group(
      LineReader reader, ResultFile file, int threads, String inputName, String outputName) {
    PrintStream console = System.out;
    console.write('\n');
    Answer answer = (number, line, out) -> {
      Result r = Grouper.group(line);
      out[0].write(Grouper.formatOutputLine(line, r));
      out[1].write(Grouper.formatConsoleLine(number, r));
    };
    Outcome outcome;
    IOException[] failure = {null};
    try (OutputStream result = new BufferedOutputStream(file.stream(), 1 << 16)) {
      Written written = (chunks) -> {
        try {
          result.write(chunks[0]);
        } catch (IOException e) {
          failure[0] = e;
          throw e;
        }
        console.write(chunks[1]);
      };
      outcome = inOrder(reader, threads, 2, answer, written);
      if (outcome == Outcome.COMPLETE) {
        result.flush();
        file.commit();
      }
    } catch (IOException e) {
      failure[0] = e; // the last block, the disk or the rename
      outcome = Outcome.WRITE_ERROR;
    }
    // As the batch: a result that is not whole is the first thing to say.
    if (outcome == Outcome.WRITE_ERROR) {
      if (failure[0] != null)
        because("write", outputName, failure[0]);
      return fail(Grouper.CONSOLE_OUTPUT_WRITE, outputName);
    }
    if (outcome == Outcome.READ_ERROR)
      return fail(Grouper.CONSOLE_INPUT_READ, inputName);
    console.flush();
    return 0;
  }

  /**
   * Says on stderr why a file failed, in the system's words; the console keeps the batch's
   * bytes.
   */
  private static void because(String what, String name, IOException e) {
    System.err.println(PROGRAM + ": cannot " + what + " " + name + ": " + ResultFile.reason(e));
  }

  private static void closeQuietly(LineReader reader) {
    try {
      reader.close();
    } catch (IOException e) {
      // Only read from: nothing of the result depends on closing it.
    }
  }

  private static int explain(String inputName, int threads) {
    try (LineReader reader = LineReader.open(Paths.get(inputName))) {
      PrintStream out = System.out;
      Answer answer = (number, line, chunks) -> {
        String json = Grouper.explainJson(line, false);
        // The library leaves the number out: "line" is its first key.
        String prefix = "{\"line\":null";
        if (json.startsWith(prefix))
          json = "{\"line\":" + number + json.substring(prefix.length());
        chunks[0].write(json.getBytes(StandardCharsets.UTF_8));
        chunks[0].write('\n');
      };
      Outcome outcome = inOrder(reader, threads, 1, answer, chunks -> out.write(chunks[0]));
      out.flush();
      if (outcome != Outcome.COMPLETE || out.checkError()) {
        System.err.println("grouper: cannot "
            + (outcome == Outcome.READ_ERROR ? "read " + inputName : "write the explanation"));
        return 1;
      }
      return 0;
    } catch (IOException e) {
      System.err.println("grouper: cannot open " + inputName);
      return 1;
    }
  }

  private static boolean sameFile(Path input, Path output) {
    try {
      return Files.exists(output) && Files.isSameFile(input, output);
    } catch (IOException e) {
      return false;
    }
  }

  /** Answers input line {@code number} (from 1) into the streams of its run. */
  interface Answer {
    void answer(long number, byte[] line, ByteArrayOutputStream[] out) throws IOException;
  }

  /** Writes a run's bytes, one array per stream. */
  interface Written {
    void write(byte[][] chunks) throws IOException;
  }

  enum Outcome { COMPLETE, READ_ERROR, WRITE_ERROR }

  /**
   * Reads the lines in runs, answers each run on one of {@code threads} threads and writes the
   * runs in input order; at most twice as many runs as threads wait at a time.
   */
  static Outcome inOrder(
      LineReader reader, int threads, int streams, Answer answer, Written written) {
    ExecutorService pool = Executors.newFixedThreadPool(threads);
    ArrayDeque<Future<byte[][]>> pending = new ArrayDeque<>();
    long number = 0;
    try {
      while (true) {
        List<byte[]> run = new ArrayList<>(RUN_LINES);
        Outcome read = Outcome.COMPLETE;
        try {
          for (byte[] line; run.size() < RUN_LINES && (line = reader.next()) != null;)
            run.add(line);
        } catch (IOException e) {
          read = Outcome.READ_ERROR;
        }
        if (!run.isEmpty()) {
          final long first = number + 1;
          number += run.size();
          pending.add(pool.submit(() -> answerRun(first, run, streams, answer)));
        }
        boolean last = run.size() < RUN_LINES || read != Outcome.COMPLETE;
        while (!pending.isEmpty() && (last || pending.size() > 2 * threads)) {
          written.write(pending.remove().get());
        }
        if (last)
          return read;
      }
    } catch (IOException e) {
      return Outcome.WRITE_ERROR;
    } catch (InterruptedException e) {
      Thread.currentThread().interrupt();
      throw new IllegalStateException(e);
    } catch (ExecutionException e) {
      // A binding that fails on a line is a fault, not a result: say so.
      throw new IllegalStateException(e.getCause());
    } finally {
      pool.shutdownNow();
    }
  }

  private static byte[][] answerRun(long first, List<byte[]> run, int streams, Answer answer) {
    ByteArrayOutputStream[] out = new ByteArrayOutputStream[streams];
    for (int i = 0; i < streams; i++) out[i] = new ByteArrayOutputStream(run.size() * 512);
    try {
      for (int i = 0; i < run.size(); i++) answer.answer(first + i, run.get(i), out);
    } catch (IOException e) {
      throw new UncheckedIOException(e);
    }
    byte[][] chunks = new byte[streams][];
    for (int i = 0; i < streams; i++) chunks[i] = out[i].toByteArray();
    return chunks;
  }
}
