#pragma once
// RegKey <-> HKEY: the three root constants name the predefined keys,
// every other value is an HKEY as the system returned it.

#include <windows.h>

#include "platform/registry.h"

namespace platform::win32 {

inline HKEY ToHkey(RegKey key) {
  switch (key) {
    case kClassesRoot:
      return HKEY_CLASSES_ROOT;
    case kCurrentUser:
      return HKEY_CURRENT_USER;
    case kLocalMachine:
      return HKEY_LOCAL_MACHINE;
    default:
      return reinterpret_cast<HKEY>(static_cast<ULONG_PTR>(key));
  }
}

inline RegKey FromHkey(HKEY key) { return static_cast<RegKey>(reinterpret_cast<ULONG_PTR>(key)); }

inline bool IsRoot(RegKey key) {
  return key == kClassesRoot || key == kCurrentUser || key == kLocalMachine;
}

inline const wchar_t* Wide(const std::u16string& text) {
  return reinterpret_cast<const wchar_t*>(text.c_str());
}

}  // namespace platform::win32
