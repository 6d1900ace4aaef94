package grouper;

import java.io.Closeable;
import java.io.IOException;
import java.io.InputStream;
import java.nio.file.Files;
import java.nio.file.Path;
import java.util.Arrays;

/**
 * A file's lines as the batch reads them: each read takes bytes up to and including a line feed,
 * but at most {@link Grouper#MAX_READ} (1,023) bytes, so a longer physical line goes on in the
 * next read and counts as another line. The n-th line of a reader belongs to the n-th line of the
 * batch's result file. Not for use by several threads at once.
 */
public final class LineReader implements Closeable {
  private final InputStream in;
  private final byte[] block = new byte[64 * 1024];
  private int begin;
  private int end;
  private boolean atEnd;

  /** Reads from {@code in}, which it closes when it is closed. */
  public LineReader(InputStream in) { this.in = in; }

  /** Opens the file at {@code path}, only for reading; a directory is no input. */
  public static LineReader open(Path path) throws IOException {
    if (Files.isDirectory(path))
      throw new IOException(path + " is a directory");
    return new LineReader(Files.newInputStream(path));
  }

  /** The next line, with its line end if it has one; null at the end of the input. */
  public byte[] next() throws IOException {
    byte[] line = new byte[Grouper.MAX_READ];
    int count = 0;
    while (count < line.length) {
      if (begin == end && !fill())
        break;
      int take = Math.min(end - begin, line.length - count);
      int newline = -1;
      for (int i = begin; i < begin + take; i++) {
        if (block[i] == '\n') {
          newline = i;
          break;
        }
      }
      if (newline >= 0)
        take = newline - begin + 1;
      System.arraycopy(block, begin, line, count, take);
      count += take;
      begin += take;
      if (newline >= 0)
        break;
    }
    return count == 0 ? null : Arrays.copyOf(line, count);
  }

  private boolean fill() throws IOException {
    if (atEnd)
      return false;
    int n = in.read(block);
    if (n <= 0) {
      atEnd = true;
      return false;
    }
    begin = 0;
    end = n;
    return true;
  }

  @Override
  public void close() throws IOException {
    in.close();
  }
}
