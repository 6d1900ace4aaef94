package grouper;

import java.io.IOException;
import java.io.OutputStream;
import java.nio.file.AtomicMoveNotSupportedException;
import java.nio.file.FileAlreadyExistsException;
import java.nio.file.Files;
import java.nio.file.Path;
import java.nio.file.StandardCopyOption;
import java.nio.file.StandardOpenOption;
import java.util.concurrent.ThreadLocalRandom;

/**
 * The command's result file, written so that a run that does not finish never costs an earlier
 * result: the bytes go to a new file beside OUTPUT, which {@link #commit} renames over it (over
 * the file a symbolic link names, keeping the link) and {@link #discard} removes. A pipe or a
 * device (also a name under /dev or /proc, such as /dev/stdout) is written directly: there is
 * nothing in it to keep, and nothing to rename. Used by one thread.
 */
final class ResultFile {
  private final OutputStream stream;
  private final Path temporary; // null when OUTPUT is written directly
  private final Path target;
  private boolean committed;

  private ResultFile(OutputStream stream, Path temporary, Path target) {
    this.stream = stream;
    this.temporary = temporary;
    this.target = target;
  }

  /**
   * Opens the result file for {@code output}: refused (IOException) where the batch could not
   * open OUTPUT for writing, such as a directory or a file it may not write.
   */
  static ResultFile open(Path output) throws IOException {
    boolean exists = Files.exists(output);
    if (exists ? !Files.isRegularFile(output) || isDeviceName(output)
               : Files.isSymbolicLink(output)) // a dangling link: the batch creates what it names
      return new ResultFile(Files.newOutputStream(output), null, null);
    Path target = exists ? output.toRealPath() : output.toAbsolutePath();
    if (exists) // may it be written? (opened without truncating it)
      Files.newOutputStream(target, StandardOpenOption.WRITE).close();
    Path folder = target.getParent();
    for (int attempt = 0;; attempt++) {
      Path temporary = folder.resolve("." + target.getFileName() + "."
          + Long.toHexString(ThreadLocalRandom.current().nextLong() >>> 1) + ".tmp");
      try {
        // Created as the batch creates a file (mode 0666 less the umask).
        OutputStream stream = Files.newOutputStream(
            temporary, StandardOpenOption.CREATE_NEW, StandardOpenOption.WRITE);
        if (exists)
          keepPermissions(target, temporary);
        return new ResultFile(stream, temporary, target);
      } catch (FileAlreadyExistsException e) {
        if (attempt == 20)
          throw e;
      } catch (IOException e) {
        // A folder that takes no new file: write OUTPUT itself, as the batch does.
        return new ResultFile(Files.newOutputStream(output), null, null);
      }
    }
  }

  private static boolean isDeviceName(Path output) {
    Path absolute = output.toAbsolutePath().normalize();
    return absolute.startsWith("/dev") || absolute.startsWith("/proc");
  }

  private static void keepPermissions(Path from, Path to) {
    try {
      Files.setPosixFilePermissions(to, Files.getPosixFilePermissions(from));
    } catch (UnsupportedOperationException | IOException e) {
      // Not a POSIX file system: the new file has the folder's defaults.
    }
  }

  /** Where the result's bytes go; the caller closes it before {@link #commit}. */
  OutputStream stream() { return stream; }

  /** Puts the whole result in place of OUTPUT. */
  void commit() throws IOException {
    if (temporary == null)
      return;
    try {
      Files.move(
          temporary, target, StandardCopyOption.REPLACE_EXISTING, StandardCopyOption.ATOMIC_MOVE);
    } catch (AtomicMoveNotSupportedException e) {
      Files.move(temporary, target, StandardCopyOption.REPLACE_EXISTING);
    }
    committed = true;
  }

  /** Removes a result that was not committed; OUTPUT stays as it was. */
  void discard() {
    if (temporary == null || committed)
      return;
    try {
      stream.close();
      Files.deleteIfExists(temporary);
    } catch (IOException e) {
      // Nothing more can be done: a stray temporary file is all that is left.
    }
  }
}
