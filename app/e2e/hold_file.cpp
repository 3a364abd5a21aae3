// Holds the file named on its command line open as a loaded driver is held:
// others may read and write it, nobody may delete or rename it. It stays
// until it is ended.

#include <windows.h>

int wmain(int argc, wchar_t** argv) {
  if (argc != 2) return 2;
  const HANDLE file = CreateFileW(argv[1], GENERIC_READ | GENERIC_WRITE,
                                  FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                                  FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return 1;
  Sleep(INFINITE);
  return 0;
}
