#pragma once
// Writes real shortcut files through the system's shortcut object, for the
// Wine tests and the benchmark.

#include <windows.h>
#include <objbase.h>
#include <shlobj.h>

#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

namespace corvane_test {

// A root item of a target list: its size, the type byte, the class.
inline std::vector<std::uint8_t> RootItem(std::uint8_t type, const GUID& clsid) {
  std::vector<std::uint8_t> item(20, 0);
  item[0] = 20;
  item[2] = type;
  std::memcpy(item.data() + 4, &clsid, sizeof clsid);
  return item;
}

inline const GUID kMyComputer = {0x20D04FE0, 0x3AEA, 0x1069, {0xA2, 0xD8, 0x08, 0x00, 0x2B, 0x30, 0x30, 0x9D}};
inline const GUID kControlPanel = {0x21EC2020, 0x3AEA, 0x1069, {0xA2, 0xDD, 0x08, 0x00, 0x2B, 0x30, 0x30, 0x9D}};

// My Computer, then the Control Panel, then (optionally) an applet item:
// with the applet, what the guard blocks.
inline std::vector<std::uint8_t> ControlPanelList(bool withApplet) {
  std::vector<std::uint8_t> list = RootItem(0x1F, kMyComputer);
  const std::vector<std::uint8_t> panel = RootItem(0x2E, kControlPanel);
  list.insert(list.end(), panel.begin(), panel.end());
  if (withApplet) {
    const std::uint8_t applet[] = {14, 0, 0x00, 0, 'x', '.', 'c', 'p', 'l', 0, 0, 0, 0, 0};
    list.insert(list.end(), std::begin(applet), std::end(applet));
  }
  list.push_back(0);
  list.push_back(0);
  return list;
}

// Writes a shortcut with IShellLinkW: either a crafted target list or a path.
inline bool WriteLink(const std::wstring& path, const std::vector<std::uint8_t>* list,
                      const wchar_t* target) {
  IShellLinkW* link = nullptr;
  if (FAILED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW,
                              reinterpret_cast<void**>(&link)))) {
    return false;
  }
  HRESULT hr = list != nullptr ? link->SetIDList(reinterpret_cast<PCIDLIST_ABSOLUTE>(list->data()))
                               : link->SetPath(target);
  IPersistFile* file = nullptr;
  if (SUCCEEDED(hr)) hr = link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file));
  if (SUCCEEDED(hr)) {
    hr = file->Save(path.c_str(), TRUE);
    file->Release();
  }
  link->Release();
  return SUCCEEDED(hr);
}

// Writes the bytes of a shortcut file holding exactly `list` as its target
// (the Shell Link header with HasLinkTargetIDList, the 16-bit list size,
// the list, no extra data). The system's SetIDList re-measures a list by
// its own walk and would store a different one when an item is malformed.
inline bool WriteLinkBytes(const std::wstring& path, const std::vector<std::uint8_t>& list) {
  if (list.size() > 0xFFFF) return false;
  std::vector<std::uint8_t> bytes(76, 0);
  bytes[0] = 76;  // HeaderSize
  const GUID& shellLink = CLSID_ShellLink;
  std::memcpy(bytes.data() + 4, &shellLink, sizeof shellLink);
  bytes[20] = 0x01;  // LinkFlags: HasLinkTargetIDList
  bytes[60] = SW_SHOWNORMAL;  // ShowCommand
  bytes.push_back(static_cast<std::uint8_t>(list.size() & 0xFF));
  bytes.push_back(static_cast<std::uint8_t>(list.size() >> 8));
  bytes.insert(bytes.end(), list.begin(), list.end());
  bytes.insert(bytes.end(), 4, 0);  // TerminalBlock
  const HANDLE file =
      CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL,
                  nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  DWORD written = 0;
  const BOOL ok =
      WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
  CloseHandle(file);
  return ok && written == bytes.size();
}

}  // namespace corvane_test
