package grouper;

import java.io.IOException;
import java.io.OutputStream;
import java.nio.channels.Channels;
import java.nio.channels.FileChannel;
import java.nio.file.AccessDeniedException;
import java.nio.file.AtomicMoveNotSupportedException;
import java.nio.file.FileAlreadyExistsException;
import java.nio.file.FileSystemException;
import java.nio.file.Files;
import java.nio.file.NoSuchFileException;
import java.nio.file.Path;
import java.nio.file.StandardCopyOption;
import java.nio.file.StandardOpenOption;
import java.nio.file.attribute.PosixFilePermission;
import java.util.HashSet;
import java.util.Set;
import java.util.concurrent.ThreadLocalRandom;

/**
 * The command's result file, written so that a run that does not finish never costs an earlier
 * result: the bytes go to a new file beside OUTPUT, which {@link #commit} renames over it (over
 * the file a symbolic link names, keeping the link) and {@link #discard} removes. The new file
 * has OUTPUT's permissions and is on the disk before the rename, so that a crash leaves either
 * result whole. A pipe or a device (also a name under /dev or /proc, such as /dev/stdout) is
 * written directly: there is nothing in it to keep, and nothing to rename. Used by one thread.
 */
final class ResultFile {
  private final OutputStream stream;
  private final FileChannel channel; // of the temporary file; null when OUTPUT is written directly
  private final Path temporary;
  private final Path target;
  private volatile boolean committed;

  private ResultFile(OutputStream stream, FileChannel channel, Path temporary, Path target) {
    this.stream = stream;
    this.channel = channel;
    this.temporary = temporary;
    this.target = target;
  }

  private static ResultFile direct(Path output) throws IOException {
    return new ResultFile(Files.newOutputStream(output), null, null, null);
  }

  /**
   * Opens the result file for {@code output}: refused (IOException) where the batch could not
   * open OUTPUT for writing, such as a directory or a file it may not write.
   */
  static ResultFile open(Path output) throws IOException {
    boolean exists = Files.exists(output);
    if (exists ? !Files.isRegularFile(output) || isDeviceName(output)
               : Files.isSymbolicLink(output)) // a dangling link: the batch creates what it names
      return direct(output);
    Path target = exists ? output.toRealPath() : output.toAbsolutePath();
    if (exists) // may it be written? (opened without truncating it)
      Files.newOutputStream(target, StandardOpenOption.WRITE).close();
    Path folder = target.getParent();
    for (int attempt = 0;; attempt++) {
      Path temporary = folder.resolve("." + target.getFileName() + "."
          + Long.toHexString(ThreadLocalRandom.current().nextLong() >>> 1) + ".tmp");
      FileChannel channel;
      watchSignals();
      try {
        // Created as the batch creates a file (mode 0666 less the umask), and listed for
        // removal with the shutdown hook held back, so that no signal falls between the two.
        synchronized (PENDING) {
          if (ending)
            throw new IOException("the run is ending");
          channel =
              FileChannel.open(temporary, StandardOpenOption.CREATE_NEW, StandardOpenOption.WRITE);
          PENDING.add(temporary);
        }
      } catch (FileAlreadyExistsException e) {
        if (attempt == 20)
          throw e;
        continue;
      } catch (AccessDeniedException e) {
        // A folder that the user may not add to: write OUTPUT itself, as the batch does. Any
        // other failure (a full disk) would cost the earlier result too: it is an open error.
        return direct(output);
      }
      try {
        if (exists)
          keepPermissions(target, temporary);
      } catch (IOException e) {
        channel.close();
        Files.deleteIfExists(temporary);
        forget(temporary);
        throw e;
      }
      return new ResultFile(Channels.newOutputStream(channel), channel, temporary, target);
    }
  }

  // The temporary files that a run ended by a signal (Ctrl+C, a closed terminal, kill)
  // removes (on Windows once the file is closed, which Java allows). The one shutdown hook is
  // added before the first file is made: added after it, a signal in between would leave it.
  private static final Set<Path> PENDING = new HashSet<>();
  private static boolean hooked;
  private static boolean ending; // the hook ran: no file is made or renamed any more

  private static void watchSignals() {
    synchronized (PENDING) {
      if (hooked)
        return;
      hooked = true;
      Runtime.getRuntime().addShutdownHook(new Thread(ResultFile::removePending));
    }
  }

  private static void removePending() {
    synchronized (PENDING) {
      ending = true;
      for (Path temporary : PENDING) {
        try {
          Files.deleteIfExists(temporary);
        } catch (IOException e) {
          // The process is ending: nothing more can be done.
        }
      }
      PENDING.clear();
    }
  }

  private static void forget(Path temporary) {
    synchronized (PENDING) {
      PENDING.remove(temporary);
    }
  }

  private static boolean isDeviceName(Path output) {
    Path absolute = output.toAbsolutePath().normalize();
    return absolute.startsWith("/dev") || absolute.startsWith("/proc");
  }

  /**
   * Gives {@code to} the permissions of {@code from}: a result that only its owner may read
   * stays so. A file system that keeps no modes (FAT, some network shares) may refuse the change:
   * that is only an error when {@code to} is left open to more than {@code from} is.
   */
  private static void keepPermissions(Path from, Path to) throws IOException {
    Set<PosixFilePermission> wanted;
    try {
      wanted = Files.getPosixFilePermissions(from);
    } catch (UnsupportedOperationException e) {
      return; // Not a POSIX file system (Windows): the new file has the folder's defaults.
    }
    try {
      Files.setPosixFilePermissions(to, wanted);
    } catch (IOException e) {
      if (!wanted.containsAll(Files.getPosixFilePermissions(to)))
        throw e;
    }
  }

  /**
   * Why an operation on a file failed, in the system's words: Java leaves them out for the
   * commonest reasons and keeps only the file's name.
   */
  static String reason(IOException e) {
    if (e instanceof AccessDeniedException)
      return "Permission denied";
    if (e instanceof NoSuchFileException)
      return "No such file or directory";
    if (e instanceof FileAlreadyExistsException)
      return "File exists";
    if (e instanceof FileSystemException && ((FileSystemException) e).getReason() != null)
      return ((FileSystemException) e).getReason();
    return e.getMessage() != null ? e.getMessage() : "input/output error";
  }

  /** Where the result's bytes go; the caller flushes it before {@link #commit}. */
  OutputStream stream() { return stream; }

  /**
   * Puts the whole result in place of OUTPUT: on the disk first (its stream flushed, not
   * closed), then renamed over OUTPUT.
   */
  void commit() throws IOException {
    if (temporary == null)
      return;
    channel.force(true);
    channel.close();
    synchronized (PENDING) { // the result is whole, or removed by a signal: not half of each
      if (ending)
        throw new IOException("the run is ending");
      try {
        Files.move(
            temporary, target, StandardCopyOption.REPLACE_EXISTING, StandardCopyOption.ATOMIC_MOVE);
      } catch (AtomicMoveNotSupportedException e) {
        Files.move(temporary, target, StandardCopyOption.REPLACE_EXISTING);
      }
      committed = true;
      PENDING.remove(temporary);
    }
  }

  /** Removes a result that was not committed; OUTPUT stays as it was. */
  void discard() {
    if (temporary == null || committed)
      return;
    try {
      stream.close();
      Files.deleteIfExists(temporary);
      forget(temporary);
    } catch (IOException e) {
      // Nothing more can be done: a stray temporary file is all that is left.
    }
  }
}
