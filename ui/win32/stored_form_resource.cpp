#include "ui/win32/stored_form_resource.h"

#include "platform/win32/wide_text.h"

namespace ui::win32 {

std::optional<std::string> StoredFormResource(HMODULE module, const std::string& name) {
  const std::wstring wide = platform::win32::ToWide(name);
  HRSRC found = FindResourceW(module, wide.c_str(), MAKEINTRESOURCEW(10));  // RT_RCDATA
  if (found == nullptr) return std::nullopt;
  HGLOBAL loaded = LoadResource(module, found);
  const DWORD size = SizeofResource(module, found);
  const void* bytes = loaded != nullptr ? LockResource(loaded) : nullptr;
  if (bytes == nullptr) return std::nullopt;
  return std::string(static_cast<const char*>(bytes), size);
}

}  // namespace ui::win32
