// What the package tests ask of the machine under Wine:
//   installer_probe dump              our keys in both registry views, one
//                                     line per key and value, paths in long form
//   installer_probe block DIR DLL     a Control Panel shortcut in DIR, handed
//                                     to the icon handler lnkfile names, as
//                                     the shell does; succeeds when the guard
//                                     blocks it (DLL's icon, one warning)
//   installer_probe products CODE     the installed products of upgrade CODE
//                                     and their versions

#include <windows.h>
#include <msi.h>
#include <objbase.h>
#include <shlobj.h>

#include <atomic>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string>
#include <thread>
#include <vector>

#include "shell_link_file.h"

namespace {

void Print(const std::wstring& line) {
  const std::wstring text = line + L"\n";
  const int size = WideCharToMultiByte(CP_UTF8, 0, text.c_str(), static_cast<int>(text.size()),
                                       nullptr, 0, nullptr, nullptr);
  std::string bytes(static_cast<std::size_t>(size), '\0');
  WideCharToMultiByte(CP_UTF8, 0, text.c_str(), static_cast<int>(text.size()), bytes.data(), size,
                      nullptr, nullptr);
  std::fwrite(bytes.data(), 1, bytes.size(), stdout);
}

// A path to an existing file or folder in its long form; other text as is.
std::wstring LongForm(const std::wstring& text) {
  wchar_t buffer[MAX_PATH] = {};
  const DWORD length = GetLongPathNameW(text.c_str(), buffer, MAX_PATH);
  return length == 0 || length >= MAX_PATH ? text : std::wstring(buffer);
}

std::wstring Hex(const BYTE* data, DWORD size) {
  std::wstring text;
  wchar_t pair[3];
  for (DWORD i = 0; i < size; ++i) {
    swprintf(pair, 3, L"%02x", data[i]);
    text += pair;
  }
  return text;
}

void DumpKey(HKEY root, REGSAM view, const std::wstring& label, const std::wstring& path) {
  HKEY key = nullptr;
  if (RegOpenKeyExW(root, path.c_str(), 0, KEY_READ | view, &key) != ERROR_SUCCESS) return;
  Print(label + L"|" + path);
  for (DWORD i = 0;; ++i) {
    wchar_t name[256];
    DWORD nameLength = 256;
    BYTE data[2048];
    DWORD size = sizeof data - sizeof(wchar_t);
    DWORD type = 0;
    if (RegEnumValueW(key, i, name, &nameLength, nullptr, &type, data, &size) != ERROR_SUCCESS) {
      break;
    }
    std::wstring value;
    if (type == REG_SZ || type == REG_EXPAND_SZ) {
      data[size] = 0;
      data[size + 1] = 0;
      value = LongForm(reinterpret_cast<const wchar_t*>(data));
    } else {
      value = Hex(data, size);
    }
    Print(label + L"|" + path + L"|" + name + L"|" + std::to_wstring(type) + L"|" + value);
  }
  std::vector<std::wstring> subkeys;
  for (DWORD i = 0;; ++i) {
    wchar_t name[256];
    DWORD length = 256;
    if (RegEnumKeyExW(key, i, name, &length, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS)
      break;
    subkeys.push_back(name);
  }
  RegCloseKey(key);
  for (const std::wstring& subkey : subkeys) DumpKey(root, view, label, path + L"\\" + subkey);
}

int Dump() {
  const wchar_t* roots[] = {
      L"Corvane.CorvaneExt.1",
      L"Corvane.CorvaneExt",
      L"CLSID\\{A45D89B4-2E99-4E4D-A719-D7AAB775D750}",
      L"TypeLib\\{7126CBA2-496F-4427-AA2A-1EEE35078251}",
      L"Interface\\{D981D441-D593-4BD2-9FED-7B589CA67492}",
      L"lnkfile\\ShellEx\\IconHandler",
      L"piffile\\ShellEx\\IconHandler",
  };
  for (const auto& [view, label] : {std::pair{KEY_WOW64_64KEY, L"64"}, {KEY_WOW64_32KEY, L"32"}}) {
    for (const wchar_t* root : roots) DumpKey(HKEY_CLASSES_ROOT, view, label, root);
  }
  return 0;
}

// Answers the guard's warning box with No from another thread.
class WarningWatcher {
 public:
  WarningWatcher() : thread_([this] { Watch(); }) {}
  ~WarningWatcher() {
    stop_ = true;
    thread_.join();
  }
  int WaitForBoxes(int count) {
    for (int i = 0; i < 200 && boxes_ < count; ++i) Sleep(50);
    return boxes_;
  }

 private:
  void Watch() {
    HWND last = nullptr;
    while (!stop_) {
      HWND box = FindWindowW(nullptr, L"Warning!");
      if (box == nullptr || box == last) {
        Sleep(20);
        continue;
      }
      last = box;
      PostMessageW(box, WM_COMMAND, MAKEWPARAM(IDNO, BN_CLICKED),
                   reinterpret_cast<LPARAM>(GetDlgItem(box, IDNO)));
      while (!stop_ && IsWindow(box)) Sleep(20);
      ++boxes_;
    }
  }

  std::atomic<bool> stop_{false};
  std::atomic<int> boxes_{0};
  std::thread thread_;
};

// The handler the shell would create for a shortcut: lnkfile's IconHandler.
bool ShellIconHandler(CLSID* clsid) {
  wchar_t text[64] = {};
  DWORD size = sizeof text - sizeof(wchar_t);
  return RegGetValueW(HKEY_CLASSES_ROOT, L"lnkfile\\ShellEx\\IconHandler", nullptr, RRF_RT_REG_SZ,
                      nullptr, text, &size) == ERROR_SUCCESS &&
         SUCCEEDED(CLSIDFromString(text, clsid));
}

int Block(const std::wstring& directory, const std::wstring& expectedIconFile) {
  CreateDirectoryW(directory.c_str(), nullptr);
  const std::wstring path = directory + L"\\control panel item.lnk";
  const std::vector<std::uint8_t> list = corvane_test::ControlPanelList(true);
  if (!corvane_test::WriteLink(path, &list, nullptr)) {
    Print(L"cannot write " + path);
    return 1;
  }
  CLSID handler = {};
  if (!ShellIconHandler(&handler)) {
    Print(L"lnkfile names no icon handler");
    return 1;
  }
  IPersistFile* file = nullptr;
  HRESULT hr = CoCreateInstance(handler, nullptr, CLSCTX_INPROC_SERVER, IID_IPersistFile,
                                reinterpret_cast<void**>(&file));
  if (FAILED(hr)) {
    Print(L"CoCreateInstance failed: " + std::to_wstring(hr));
    return 1;
  }
  IExtractIconW* extract = nullptr;
  hr = file->Load(path.c_str(), STGM_READ);
  if (SUCCEEDED(hr)) {
    hr = file->QueryInterface(IID_IExtractIconW, reinterpret_cast<void**>(&extract));
  }
  file->Release();
  if (FAILED(hr)) {
    Print(L"the handler took no shortcut: " + std::to_wstring(hr));
    return 1;
  }
  WarningWatcher watcher;
  wchar_t iconFile[MAX_PATH] = {};
  int index = -1;
  UINT flags = 0;
  hr = extract->GetIconLocation(GIL_FORSHELL, iconFile, MAX_PATH, &index, &flags);
  extract->Release();
  const int boxes = watcher.WaitForBoxes(1);
  const std::wstring shown = LongForm(iconFile);
  Print(L"GetIconLocation " + std::to_wstring(hr) + L" icon " + shown + L"," +
        std::to_wstring(index) + L" warnings " + std::to_wstring(boxes));
  return hr == S_OK && lstrcmpiW(shown.c_str(), LongForm(expectedIconFile).c_str()) == 0 &&
                 index == 0 && boxes == 1
             ? 0
             : 1;
}

int Products(const std::wstring& upgradeCode) {
  wchar_t product[39];
  for (DWORD i = 0; MsiEnumRelatedProductsW(upgradeCode.c_str(), 0, i, product) == ERROR_SUCCESS;
       ++i) {
    wchar_t version[64] = {};
    DWORD length = 64;
    MsiGetProductInfoW(product, L"VersionString", version, &length);
    Print(std::wstring(product) + L" " + version);
  }
  return 0;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  const std::wstring command = argc > 1 ? argv[1] : L"";
  if (command == L"dump" && argc == 2) return Dump();
  if (command == L"products" && argc == 3) return Products(argv[2]);
  if (command == L"block" && argc == 4) {
    CoInitialize(nullptr);
    const int result = Block(argv[2], argv[3]);
    CoUninitialize();
    return result;
  }
  Print(L"usage: installer_probe dump | block DIR DLL | products UPGRADECODE");
  return 2;
}
