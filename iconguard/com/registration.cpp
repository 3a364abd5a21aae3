#include "iconguard/com/registration.h"

#include <string>
#include <utility>
#include <vector>

#include "iconguard/com/module.h"
#include "iconguard/com/resource_ids.h"
#include "iconguard/core/icon_handlers.h"
#include "iconguard/core/registry_script.h"
#include "platform/win32/win32_registry.h"

namespace iconguard::com {
namespace {

// The failure just reported by the system; never a success code, even when
// the system left no error behind.
HRESULT LastErrorResult() {
  const DWORD error = GetLastError();
  return error == ERROR_SUCCESS ? E_FAIL : HRESULT_FROM_WIN32(error);
}

// The script is single-byte text in the system code page.
HRESULT ReadScript(const WCHAR* modulePath, std::u16string* script) {
  HMODULE data = LoadLibraryExW(modulePath, nullptr, LOAD_LIBRARY_AS_DATAFILE);
  if (data == nullptr) return LastErrorResult();
  HRESULT hr = S_OK;
  const HRSRC resource = FindResourceW(data, MAKEINTRESOURCEW(IDR_CORVANEEXT), L"REGISTRY");
  const HGLOBAL loaded = resource == nullptr ? nullptr : LoadResource(data, resource);
  const void* bytes = loaded == nullptr ? nullptr : LockResource(loaded);
  if (bytes == nullptr) {
    hr = LastErrorResult();
  } else {
    const int size = static_cast<int>(SizeofResource(data, resource));
    const auto* text = static_cast<const char*>(bytes);
    const int length = MultiByteToWideChar(CP_ACP, 0, text, size, nullptr, 0);
    script->resize(static_cast<std::size_t>(length));
    if (length > 0) {
      MultiByteToWideChar(CP_ACP, 0, text, size, reinterpret_cast<WCHAR*>(script->data()),
                          length);
    }
  }
  FreeLibrary(data);
  return hr;
}

}  // namespace

HRESULT UpdateCorvaneRegistry(bool registering) {
  WCHAR modulePath[MAX_PATH] = {};
  if (GetModuleFileNameW(ModuleHandle(), modulePath, MAX_PATH) == 0) return LastErrorResult();
  WCHAR shortPath[MAX_PATH] = {};
  const DWORD shortLength = GetShortPathNameW(modulePath, shortPath, MAX_PATH);
  if (shortLength == 0 || shortLength >= MAX_PATH) return LastErrorResult();

  std::u16string script;
  const HRESULT hr = ReadScript(modulePath, &script);
  if (FAILED(hr)) return hr;

  const std::vector<std::pair<std::u16string, std::u16string>> replacements = {
      {u"MODULE", std::u16string(reinterpret_cast<const char16_t*>(shortPath))}};
  platform::win32::Win32Registry registry;
  const HRESULT result = ApplyRegistryScript(
      registry, script, replacements, registering ? ScriptMode::Register : ScriptMode::Unregister);
  // With the class keys gone, the shortcut types must not keep naming the
  // class as their icon handler.
  if (!registering) RestoreSystemIconHandlers(registry);
  return result;
}

}  // namespace iconguard::com
