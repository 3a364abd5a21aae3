#pragma once
// Shared by the Wine tests: where the built Corvane.dll lies and its exports
// resolved through GetProcAddress, so the module counts are the DLL's own.

#include <windows.h>

#include <string>

namespace corvane_test {

// The DLL's path as Windows sees it (Wine maps the Linux root to Z:).
inline std::wstring CorvaneDllPath() {
  std::wstring path = L"Z:";
  for (const char c : std::string(CORVANE_DLL_PATH)) path += c == '/' ? L'\\' : wchar_t(c);
  return path;
}

struct CorvaneExports {
  HMODULE module = nullptr;
  HRESULT(STDAPICALLTYPE* getClassObject)(REFCLSID, REFIID, void**) = nullptr;
  HRESULT(STDAPICALLTYPE* canUnloadNow)() = nullptr;
  HRESULT(STDAPICALLTYPE* registerServer)() = nullptr;
  HRESULT(STDAPICALLTYPE* unregisterServer)() = nullptr;
};

inline CorvaneExports LoadCorvane() {
  CorvaneExports exports;
  exports.module = LoadLibraryW(CorvaneDllPath().c_str());
  if (exports.module == nullptr) return exports;
  auto resolve = [&](auto& target, const char* name) {
    target = reinterpret_cast<std::remove_reference_t<decltype(target)>>(
        reinterpret_cast<void*>(GetProcAddress(exports.module, name)));
  };
  resolve(exports.getClassObject, "DllGetClassObject");
  resolve(exports.canUnloadNow, "DllCanUnloadNow");
  resolve(exports.registerServer, "DllRegisterServer");
  resolve(exports.unregisterServer, "DllUnregisterServer");
  return exports;
}

// {A45D89B4-2E99-4E4D-A719-D7AAB775D750}
inline constexpr CLSID kClsidCorvaneExt = {
    0xA45D89B4, 0x2E99, 0x4E4D, {0xA7, 0x19, 0xD7, 0xAA, 0xB7, 0x75, 0xD7, 0x50}};
// {D981D441-D593-4BD2-9FED-7B589CA67492}
inline constexpr IID kIidICorvaneExt = {
    0xD981D441, 0xD593, 0x4BD2, {0x9F, 0xED, 0x7B, 0x58, 0x9C, 0xA6, 0x74, 0x92}};

}  // namespace corvane_test
