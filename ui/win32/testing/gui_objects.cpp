#include "ui/win32/testing/gui_objects.h"

#include <windows.h>
#include <winternl.h>

#include <cstdint>

namespace ui::win32::testing {

namespace {

bool UnderWine() {
  HMODULE ntdll = GetModuleHandleW(L"ntdll.dll");
  return ntdll != nullptr && GetProcAddress(ntdll, "wine_get_version") != nullptr;
}

// Wine's layout of a handle table entry (include/ntgdi.h); a freed entry has
// type 0.
struct GdiHandleEntry {
  std::uint64_t object;
  std::uint32_t owner;
  std::uint16_t unique;
  std::uint8_t type;
  std::uint8_t flags;
  std::uint64_t userPointer;
};
static_assert(sizeof(GdiHandleEntry) == 24);
constexpr int kGdiHandleCount = 0x10000;

long CountWineGdiHandles() {
  const auto* peb = reinterpret_cast<const unsigned char*>(NtCurrentTeb()->ProcessEnvironmentBlock);
#ifdef _WIN64
  constexpr std::size_t kTableOffset = 0xF8;
#else
  constexpr std::size_t kTableOffset = 0x94;
#endif
  const auto* table = *reinterpret_cast<const GdiHandleEntry* const*>(peb + kTableOffset);
  if (table == nullptr) return -1;
  long live = 0;
  for (int i = 0; i < kGdiHandleCount; ++i) {
    if (table[i].type != 0) ++live;
  }
  return live;
}

}  // namespace

GuiObjects CountGuiObjects() {
  GuiObjects counts;
  counts.gdi = static_cast<long>(GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS));
  counts.user = static_cast<long>(GetGuiResources(GetCurrentProcess(), GR_USEROBJECTS));
  if (UnderWine()) counts.gdiHandleTable = CountWineGdiHandles();
  return counts;
}

}  // namespace ui::win32::testing
