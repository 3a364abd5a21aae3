// Prints platform/memory/oem437_table.inc: the byte the system's OEM
// conversion (CharToOemW, that is WideCharToMultiByte(CP_OEMCP, 0, ...))
// gives each UTF-16 code unit, best fit included. Run it through
// scripts/make-oem-table.sh, which runs it under Wine (OEM code page 437)
// and writes the file; MemoryWideShell::ToOem reads the table, and a test
// of the win64 build compares the two conversions for every code unit.

#include <fcntl.h>
#include <io.h>
#include <windows.h>

#include <cstdio>

namespace {

// Wine names itself through ntdll; on Windows there is no such export.
const char* WineVersion() {
  using Get = const char* (*)();
  const HMODULE ntdll = GetModuleHandleA("ntdll.dll");
  const auto get = ntdll ? reinterpret_cast<Get>(
                               reinterpret_cast<void*>(GetProcAddress(ntdll, "wine_get_version")))
                         : nullptr;
  return get ? get() : nullptr;
}

}  // namespace

int main() {
  if (GetOEMCP() != 437) {
    std::fprintf(stderr, "the OEM code page is %u; the table is for 437\n", GetOEMCP());
    return 1;
  }
  // The file is checked in with Unix line ends.
  _setmode(_fileno(stdout), _O_BINARY);
  const char* wine = WineVersion();
  std::printf(
      "// Made by scripts/make-oem-table.sh (platform/memory/tools/make_oem437_table.cpp\n"
      "// run on %s%s); do not edit by hand.\n"
      "// How WideCharToMultiByte(CP_OEMCP, 0, ...) converts each UTF-16 code unit alone\n"
      "// with OEM code page 437: every unit is one byte. Listed, in unit order, are the\n"
      "// units whose byte is neither the unit itself (below 0x80) nor '?' (from 0x80\n"
      "// on): the characters of the code page and the best-fit replacements.\n",
      wine ? "Wine " : "Windows", wine ? wine : "");
  int column = 0;
  for (unsigned unit = 0; unit <= 0xFFFF; ++unit) {
    const wchar_t c = static_cast<wchar_t>(unit);
    char bytes[8];
    const int count =
        WideCharToMultiByte(CP_OEMCP, 0, &c, 1, bytes, sizeof bytes, nullptr, nullptr);
    if (count != 1) {
      std::fprintf(stderr, "U+%04X converts to %d bytes\n", unit, count);
      return 1;
    }
    const unsigned byte = static_cast<unsigned char>(bytes[0]);
    if (byte == (unit < 0x80 ? unit : '?')) continue;
    std::printf("%s{0x%04x, 0x%02x},", column == 0 ? "" : " ", unit, byte);
    if (++column == 6) {
      std::printf("\n");
      column = 0;
    }
  }
  if (column != 0) std::printf("\n");
  return 0;
}
