/* holder.exe FILE RELEASE: holds FILE open as another Windows program does
 * (an editor, a spreadsheet that shows the result): read access, shared for
 * reading only, so that no other program may write, rename or delete it. It
 * prints "held" once the file is open and keeps it until the file RELEASE
 * appears (or two minutes pass). Exit status 0, or 1 when FILE cannot be
 * opened (the system's error code is printed). */
#include <stdio.h>
#include <windows.h>

int wmain(int argc, wchar_t** argv) {
  if (argc != 3) {
    fprintf(stderr, "usage: holder FILE RELEASE\n");
    return 2;
  }
  HANDLE held = CreateFileW(argv[1], GENERIC_READ, FILE_SHARE_READ, NULL, OPEN_EXISTING,
                            FILE_ATTRIBUTE_NORMAL, NULL);
  if (held == INVALID_HANDLE_VALUE) {
    printf("cannot open: error %lu\n", (unsigned long)GetLastError());
    fflush(stdout);
    return 1;
  }
  printf("held\n");
  fflush(stdout);
  for (int waited = 0; waited < 2400; ++waited) {
    if (GetFileAttributesW(argv[2]) != INVALID_FILE_ATTRIBUTES) break;
    Sleep(50);
  }
  CloseHandle(held);
  return 0;
}
