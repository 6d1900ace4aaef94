package grouper;

import com.sun.jna.Memory;
import java.io.Closeable;
import java.io.IOException;
import java.io.InputStream;
import java.nio.file.Files;
import java.nio.file.Path;
import java.util.Arrays;

/**
 * A file's lines as the batch reads them: the library's {@code grouper_next_read} says where each
 * read ends (at a line feed, or where one read is full, so that a longer physical line goes on in
 * the next read and counts as another line). The n-th line of a reader belongs to the n-th line
 * of the batch's result file. Not for use by several threads at once.
 */
public final class LineReader implements Closeable {
  private static final int BLOCK = 64 * 1024;

  private final InputStream in;
  private final byte[] block = new byte[BLOCK];
  private final Memory mirror = new Memory(BLOCK); // the block where the library reads it
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

  /**
   * The next line, with its line end if it has one; null at the end of the input.
   *
   * @throws UnsatisfiedLinkError when the library cannot be loaded
   */
  public byte[] next() throws IOException {
    while (true) {
      int held = end - begin;
      if (held > 0) {
        int n = Grouper.nextRead(mirror.share(begin, held), held);
        // A read that stops short of the bytes held is whole; one that takes
        // them all goes on in the input's next bytes, if there are any.
        if (n < held || block[begin + n - 1] == '\n' || atEnd) {
          byte[] line = Arrays.copyOfRange(block, begin, begin + n);
          begin += n;
          return line;
        }
      } else if (atEnd) {
        return null;
      }
      fill();
    }
  }

  /** Moves the bytes not yet taken to the front and reads more after them. */
  private void fill() throws IOException {
    int held = end - begin;
    System.arraycopy(block, begin, block, 0, held);
    int n = in.read(block, held, block.length - held);
    if (n < 0) {
      atEnd = true;
      n = 0;
    }
    begin = 0;
    end = held + n;
    mirror.write(0, block, 0, end);
  }

  @Override
  public void close() throws IOException {
    mirror.close();
    in.close();
  }
}
