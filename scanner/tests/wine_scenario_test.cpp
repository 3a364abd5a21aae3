// The whole scan and removal against the real registry, files and the
// removable drive of the Wine session. Everything seeded is removed again.

#include <windows.h>
#include <objbase.h>
#include <shlobj.h>
#include <shobjidl.h>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <optional>
#include <string>
#include <vector>

#include "platform/tests/win32_registry_links.h"
#include "platform/win32/win32_machine.h"
#include "quarantine/quarantine.h"
#include "scanner/drive_scan.h"
#include "scanner/removal.h"
#include "scanner/system_scan.h"

namespace scanner {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;
using ::testing::UnorderedElementsAre;
using Bytes = std::vector<std::uint8_t>;

constexpr const wchar_t* kServices = L"System\\CurrentControlSet\\Services\\";
// Trees that a planted link aims the removal at; they must survive it.
constexpr const wchar_t* kVictims[] = {L"Software\\QrVictim", L"Software\\QrVictim2"};

std::wstring Wide(const std::string& text) {
  if (text.empty()) return std::wstring();
  const int length = MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()),
                                         nullptr, 0);
  std::wstring wide(static_cast<std::size_t>(length), L'\0');
  MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), wide.data(),
                      length);
  return wide;
}

bool Exists(const std::string& path) {
  return GetFileAttributesW(Wide(path).c_str()) != INVALID_FILE_ATTRIBUTES;
}

bool KeyExists(const std::wstring& path) {
  HKEY key = nullptr;
  if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) {
    return false;
  }
  RegCloseKey(key);
  return true;
}

void SetString(const std::wstring& path, const std::wstring& name, DWORD type,
               const std::wstring& text) {
  HKEY key = nullptr;
  ASSERT_EQ(RegCreateKeyExW(HKEY_LOCAL_MACHINE, path.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS,
                            nullptr, &key, nullptr),
            ERROR_SUCCESS);
  const DWORD size = static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t));
  EXPECT_EQ(RegSetValueExW(key, name.c_str(), 0, type,
                           reinterpret_cast<const BYTE*>(text.c_str()), size),
            ERROR_SUCCESS);
  RegCloseKey(key);
}

// Every key and value below HKLM\`path` as text, links shown as such and
// not entered, for before/after comparisons.
std::wstring DumpTree(const std::wstring& path) {
  HKEY key = nullptr;
  if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, path.c_str(), REG_OPTION_OPEN_LINK, KEY_READ, &key) !=
      ERROR_SUCCESS) {
    return path + L" missing\n";
  }
  std::wstring out = path + L"\n";
  wchar_t name[256];
  BYTE data[1024];
  for (DWORD i = 0;; ++i) {
    DWORD nameLength = 256;
    DWORD size = sizeof data;
    DWORD type = 0;
    if (RegEnumValueW(key, i, name, &nameLength, nullptr, &type, data, &size) != ERROR_SUCCESS) {
      break;
    }
    out += L"  " + std::wstring(name) + L" type " + std::to_wstring(type) + L" =";
    for (DWORD b = 0; b < size; ++b) out += L" " + std::to_wstring(data[b]);
    out += L"\n";
  }
  std::vector<std::wstring> children;
  for (DWORD i = 0;; ++i) {
    DWORD nameLength = 256;
    if (RegEnumKeyExW(key, i, name, &nameLength, nullptr, nullptr, nullptr, nullptr) !=
        ERROR_SUCCESS) {
      break;
    }
    children.push_back(name);
  }
  RegCloseKey(key);
  for (const auto& child : children) out += DumpTree(path + L"\\" + child);
  return out;
}

void CreateKey(const std::wstring& path) {
  HKEY key = nullptr;
  ASSERT_EQ(RegCreateKeyExW(HKEY_LOCAL_MACHINE, path.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS,
                            nullptr, &key, nullptr),
            ERROR_SUCCESS);
  RegCloseKey(key);
}

void WriteBytes(const std::string& path, const Bytes& bytes, DWORD attributes = 0) {
  const HANDLE file = CreateFileW(Wide(path).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                  FILE_ATTRIBUTE_NORMAL, nullptr);
  ASSERT_NE(file, INVALID_HANDLE_VALUE) << path;
  DWORD written = 0;
  EXPECT_TRUE(WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr));
  CloseHandle(file);
  if (attributes != 0) {
    EXPECT_TRUE(SetFileAttributesW(Wide(path).c_str(), attributes)) << path;
  }
}

Bytes StartingWithMz(std::size_t size) {
  Bytes bytes(size, 0x90);
  bytes[0] = 'M';
  bytes[1] = 'Z';
  return bytes;
}

// Deletes what lies inside `directory` (UTF-16, with trailing backslash),
// whatever its attributes.
void ClearDirectory(const std::wstring& directory) {
  WIN32_FIND_DATAW entry;
  const HANDLE find = FindFirstFileW((directory + L"*").c_str(), &entry);
  if (find == INVALID_HANDLE_VALUE) return;
  do {
    const std::wstring name = entry.cFileName;
    if (name == L"." || name == L"..") continue;
    const std::wstring path = directory + name;
    SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
    if (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
      ClearDirectory(path + L"\\");
      RemoveDirectoryW(path.c_str());
    } else {
      DeleteFileW(path.c_str());
    }
  } while (FindNextFileW(find, &entry));
  FindClose(find);
}

// An item-identifier list: My Computer, the Control Panel, then one applet
// item, as a Control Panel shortcut carries it.
Bytes ControlPanelIdList() {
  const GUID myComputer = {0x20D04FE0, 0x3AEA, 0x1069, {0xA2, 0xD8, 0x08, 0x00, 0x2B, 0x30, 0x30, 0x9D}};
  const GUID controlPanel = {0x21EC2020, 0x3AEA, 0x1069, {0xA2, 0xDD, 0x08, 0x00, 0x2B, 0x30, 0x30, 0x9D}};
  Bytes list;
  auto addGuidItem = [&list](std::uint8_t type, const GUID& guid) {
    list.insert(list.end(), {20, 0, type, 0});
    const auto* raw = reinterpret_cast<const std::uint8_t*>(&guid);
    list.insert(list.end(), raw, raw + sizeof(GUID));
  };
  addGuidItem(0x1F, myComputer);
  addGuidItem(0x2E, controlPanel);
  const Bytes applet = {12, 0, 0x00, 0x00, 'a', 0, 'p', 0, 'p', 0, 0, 0};
  list.insert(list.end(), applet.begin(), applet.end());
  list.insert(list.end(), {0, 0});
  return list;
}

// Writes shortcut files with the system's own shortcut object.
class ShortcutWriter {
 public:
  ShortcutWriter() {
    initialized_ = SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED));
  }
  ~ShortcutWriter() {
    if (initialized_) CoUninitialize();
  }

  void ControlPanel(const std::string& path) {
    const Bytes list = ControlPanelIdList();
    Save(path, [&list](IShellLinkW* link) {
      return link->SetIDList(reinterpret_cast<LPCITEMIDLIST>(list.data()));
    });
  }
  void ToFile(const std::string& path, const std::wstring& target) {
    Save(path, [&target](IShellLinkW* link) { return link->SetPath(target.c_str()); });
  }

 private:
  template <typename Configure>
  void Save(const std::string& path, Configure configure) {
    IShellLinkW* link = nullptr;
    ASSERT_EQ(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW,
                               reinterpret_cast<void**>(&link)),
              S_OK);
    IPersistFile* file = nullptr;
    HRESULT result = configure(link);
    if (SUCCEEDED(result)) {
      result = link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file));
    }
    if (SUCCEEDED(result)) result = file->Save(Wide(path).c_str(), TRUE);
    if (file) file->Release();
    link->Release();
    EXPECT_EQ(result, S_OK) << path;
  }

  bool initialized_ = false;
};

// Enables the shutdown privilege for real but only records the restart, so
// the test never ends the Wine session.
class RecordingToken : public platform::ProcessToken {
 public:
  explicit RecordingToken(platform::ProcessToken& real) : real_(real) {}
  std::optional<platform::TokenHandle> OpenProcessToken(std::uint32_t access) override {
    return real_.OpenProcessToken(access);
  }
  std::optional<platform::Luid> LookupPrivilege(const std::string& name) override {
    return real_.LookupPrivilege(name);
  }
  platform::AdjustResult AdjustPrivilege(platform::TokenHandle token, platform::Luid privilege,
                                         std::uint32_t attributes) override {
    return real_.AdjustPrivilege(token, privilege, attributes);
  }
  void CloseToken(platform::TokenHandle token) override { real_.CloseToken(token); }
  bool ExitWindowsEx(std::uint32_t flags, std::uint32_t reason) override {
    requests.push_back({flags, reason});
    return true;
  }

  std::vector<std::pair<std::uint32_t, std::uint32_t>> requests;

 private:
  platform::ProcessToken& real_;
};

class WineScenario : public ::testing::Test {
 protected:
  void SetUp() override {
    const char* drive = std::getenv("QR_REMOVABLE_DRIVE");
    driveName = drive != nullptr && *drive != '\0' ? drive : "R:";
    root = driveName + "\\";
    ASSERT_EQ(GetDriveTypeW(Wide(root).c_str()), static_cast<UINT>(DRIVE_REMOVABLE))
        << "run inside the Wine session, which maps a removable drive";
    GetWindowsDir(context);
    ASSERT_FALSE(context.WindowsDir.empty());
    RemoveSeeds();
  }
  void TearDown() override { RemoveSeeds(); }

  // Removes through the real quarantine; the outcomes are collected.
  bool RemoveFiles(const Findings& findings) {
    return DeleteFoundFiles(context, findings, keeper, report);
  }
  bool RemoveKeys(const Findings& findings) {
    return DeleteFoundKeys(context, findings, keeper, report);
  }
  const quarantine::ItemInfo* ItemFor(const std::string& original) {
    static std::vector<quarantine::ItemInfo> items;
    items = keeper.List().items;
    for (const auto& item : items) {
      if (item.originalPath == original) return &item;
    }
    return nullptr;
  }

  void RemoveSeeds() {
    for (const wchar_t* service : {L"MrxNet", L"MrxCls"}) {
      platform::tests::DeleteTreeWithLinks(HKEY_LOCAL_MACHINE, std::wstring(kServices) + service);
    }
    for (const wchar_t* victim : kVictims) {
      platform::tests::DeleteTreeWithLinks(HKEY_LOCAL_MACHINE, victim);
    }
    for (const std::string& file : SystemFiles()) {
      SetFileAttributesW(Wide(file).c_str(), FILE_ATTRIBUTE_NORMAL);
      DeleteFileW(Wide(file).c_str());
    }
    ClearDirectory(Wide(root));
    for (const auto& item : keeper.List().items) keeper.Purge(item.id);
  }

  std::vector<std::string> SystemFiles() const {
    const std::string windows = context.WindowsDir;
    return {windows + "\\system32\\drivers\\mrxnet.sys",
            windows + "\\system32\\drivers\\mrxcls.sys", windows + "\\inf\\mdmcpq3.PNF",
            windows + "\\inf\\mdmeric3.PNF", windows + "\\inf\\oem6C.PNF",
            windows + "\\inf\\oem7A.PNF"};
  }

  platform::win32::Win32Machine win32;
  RecordingToken token{win32.token};
  ScanContext context{platform::Machine{win32.registry, win32.files, win32.drives, token,
                                        win32.text, win32.registry, win32.clock},
                      ""};
  quarantine::Quarantine keeper{context.machine};
  RemovalReport report;
  std::string driveName;
  std::string root;
};

TEST_F(WineScenario, FindsAndRemovesEverything) {
  const std::string windows = context.WindowsDir;
  const std::wstring net = std::wstring(kServices) + L"MrxNet";
  const std::wstring cls = std::wstring(kServices) + L"MrxCls";
  SetString(net, L"ImagePath", REG_SZ,
            L"\\??\\" + Wide(windows) + L"\\system32\\Drivers\\mrxnet.sys");
  SetString(cls, L"ImagePath", REG_EXPAND_SZ, L"\\SystemRoot\\System32\\drivers\\mrxcls.sys");
  CreateKey(cls + L"\\Enum\\Root\\0000");
  CreateKey(cls + L"\\Security");
  for (const std::string& file : SystemFiles()) WriteBytes(file, StartingWithMz(600));
  const std::wstring clsBefore = DumpTree(cls);

  ShortcutWriter shortcuts;
  shortcuts.ControlPanel(root + "evil.lnk");
  shortcuts.ControlPanel(root + "photo.jpg.lnk");
  shortcuts.ControlPanel(root + "hidden.lnk");
  shortcuts.ToFile(root + "ordinary.lnk", Wide(windows) + L"\\win.ini");
  EXPECT_TRUE(SetFileAttributesW(Wide(root + "hidden.lnk").c_str(),
                                 FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM |
                                     FILE_ATTRIBUTE_READONLY));
  const DWORD hiddenAttributes = GetFileAttributesW(Wide(root + "hidden.lnk").c_str());
  WriteBytes(root + "setup512.TMP", StartingWithMz(512));
  WriteBytes(root + "setup513.TMP", StartingWithMz(513));
  WriteBytes(root + "readonly.tmp", StartingWithMz(600), FILE_ATTRIBUTE_READONLY);
  WriteBytes(root + "Ξ.tmp", StartingWithMz(600), FILE_ATTRIBUTE_HIDDEN);
  WriteBytes(root + "autorun.inf", {'[', 'a', ']'});
  ASSERT_TRUE(CreateDirectoryW(Wide(root + "Holiday.TMP").c_str(), nullptr));
  ASSERT_TRUE(CreateDirectoryW(Wide(root + "sub").c_str(), nullptr));
  ASSERT_TRUE(CreateDirectoryW(Wide(root + "sub\\AUTORUN.INF").c_str(), nullptr));
  shortcuts.ControlPanel(root + "sub\\evil.lnk");

  Findings registryFindings;
  Findings fileFindings;
  EXPECT_TRUE(ScanSystem(context, &registryFindings, &fileFindings));
  EXPECT_THAT(registryFindings, ElementsAre("HKLM\\System\\CurrentControlSet\\Services\\MrxNet",
                                            "HKLM\\System\\CurrentControlSet\\Services\\MrxCls"));
  const std::vector<std::string> seeded = SystemFiles();
  EXPECT_THAT(fileFindings,
              ElementsAre("C:\\WINDOWS\\SYSTEM32\\DRIVERS\\MRXNET.SYS",
                          "C:\\WINDOWS\\SYSTEM32\\DRIVERS\\MRXCLS.SYS", seeded[2], seeded[3],
                          seeded[4], seeded[5]));

  Findings driveFindings;
  EXPECT_TRUE(ScanRemovableDrives(context, driveFindings));
  EXPECT_THAT(driveFindings,
              UnorderedElementsAre(root + "evil.lnk", root + "photo.jpg.lnk", root + "hidden.lnk",
                                   root + "setup513.TMP", root + "readonly.tmp", root + "Ξ.tmp",
                                   root + "autorun.inf"));
  // A directory named like a finding is never one, and nothing below the root is entered.
  Findings subFindings;
  ScanDriveRoot(context, root + "sub", subFindings);
  EXPECT_THAT(subFindings, ElementsAre(root + "sub\\evil.lnk"));

  EXPECT_TRUE(RemoveFiles(fileFindings));
  EXPECT_TRUE(RemoveFiles(driveFindings));
  EXPECT_TRUE(RemoveKeys(registryFindings));
  for (const RemovalOutcome& outcome : report) {
    EXPECT_EQ(outcome.state, RemovalState::Removed) << outcome.finding << ": " << outcome.detail;
  }

  for (const std::string& file : seeded) EXPECT_FALSE(Exists(file)) << file;
  for (const std::string& file : driveFindings) EXPECT_FALSE(Exists(file)) << file;
  for (const char* kept : {"ordinary.lnk", "setup512.TMP", "Holiday.TMP", "sub\\evil.lnk",
                           "sub\\AUTORUN.INF"}) {
    EXPECT_TRUE(Exists(root + kept)) << kept;
  }
  EXPECT_FALSE(KeyExists(net));
  EXPECT_FALSE(KeyExists(cls));
  EXPECT_TRUE(KeyExists(L"System\\CurrentControlSet\\Services"));

  // Each finding waits in the quarantine; a hidden, system, read-only one
  // comes back with its attributes and bytes.
  EXPECT_EQ(keeper.List().items.size(), seeded.size() + driveFindings.size() + 2);
  EXPECT_TRUE(keeper.List().damaged.empty());
  const quarantine::ItemInfo* hidden = ItemFor(root + "hidden.lnk");
  ASSERT_NE(hidden, nullptr);
  const std::string hiddenId = hidden->id;
  EXPECT_EQ(keeper.Restore(hiddenId, false), std::nullopt);
  EXPECT_EQ(GetFileAttributesW(Wide(root + "hidden.lnk").c_str()), hiddenAttributes);
  EXPECT_EQ(hiddenAttributes & 7u, 7u) << "read-only, hidden and system";
  Findings again;
  ScanDriveRoot(context, driveName, again);
  EXPECT_THAT(again, ElementsAre(root + "hidden.lnk")) << "the same shortcut, byte for byte";
  EXPECT_THAT(keeper.Restore(hiddenId, false).value_or(""), ::testing::HasSubstr("no quarantine"));

  // The service key with its subkeys comes back under its own name.
  const quarantine::ItemInfo* service =
      ItemFor("HKLM\\SYSTEM\\CURRENTCONTROLSET\\SERVICES\\MRXCLS");
  ASSERT_NE(service, nullptr);
  EXPECT_EQ(keeper.Restore(service->id, false), std::nullopt);
  EXPECT_EQ(DumpTree(cls), clsBefore);
  HKEY services = nullptr;
  ASSERT_EQ(RegOpenKeyExW(HKEY_LOCAL_MACHINE, kServices, 0, KEY_READ, &services), ERROR_SUCCESS);
  bool spelledAsBefore = false;
  wchar_t name[256];
  for (DWORD i = 0;; ++i) {
    DWORD length = 256;
    if (RegEnumKeyExW(services, i, name, &length, nullptr, nullptr, nullptr, nullptr) !=
        ERROR_SUCCESS) {
      break;
    }
    spelledAsBefore = spelledAsBefore || std::wstring(name) == L"MrxCls";
  }
  RegCloseKey(services);
  EXPECT_TRUE(spelledAsBefore);
}

TEST_F(WineScenario, ADriverHeldOpenIsQuarantinedAndScheduledForTheRestart) {
  const std::string driver = SystemFiles()[0];
  WriteBytes(driver, StartingWithMz(4096));
  // Open as a loaded driver is: others may read, nobody may delete.
  const HANDLE held = CreateFileW(Wide(driver).c_str(), GENERIC_READ | GENERIC_WRITE,
                                  FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                                  FILE_ATTRIBUTE_NORMAL, nullptr);
  ASSERT_NE(held, INVALID_HANDLE_VALUE);

  EXPECT_TRUE(RemoveFiles({driver}));
  CloseHandle(held);

  ASSERT_EQ(report.size(), 1u);
  EXPECT_EQ(report[0].state, RemovalState::RemovedAtRestart);
  const quarantine::ItemInfo* item = ItemFor(driver);
  ASSERT_NE(item, nullptr);
  EXPECT_EQ(item->size, 4096u);
  // The system's list of deletions at restart names the driver.
  HKEY session = nullptr;
  ASSERT_EQ(RegOpenKeyExW(HKEY_LOCAL_MACHINE, L"System\\CurrentControlSet\\Control\\Session Manager",
                          0, KEY_ALL_ACCESS, &session),
            ERROR_SUCCESS);
  std::vector<wchar_t> pending(65536);
  DWORD size = static_cast<DWORD>(pending.size() * sizeof(wchar_t));
  ASSERT_EQ(RegQueryValueExW(session, L"PendingFileRenameOperations", nullptr, nullptr,
                             reinterpret_cast<BYTE*>(pending.data()), &size),
            ERROR_SUCCESS);
  const std::wstring operations(pending.data(), size / sizeof(wchar_t));
  EXPECT_NE(operations.find(L"\\??\\" + Wide(driver)), std::wstring::npos);
  // The test's own file must not go at the session's next start.
  RegDeleteValueW(session, L"PendingFileRenameOperations");
  RegCloseKey(session);
}

TEST_F(WineScenario, PlantedLinksAreDeletedAsLinksAndTheirTargetsKept) {
  const std::wstring net = std::wstring(kServices) + L"MrxNet";
  const std::wstring cls = std::wstring(kServices) + L"MrxCls";
  SetString(L"Software\\QrVictim", L"Owner", REG_SZ, L"someone else");
  CreateKey(L"Software\\QrVictim\\Sub");
  SetString(L"Software\\QrVictim2\\Config\\Deep", L"Boot", REG_SZ, L"1");
  // MrxNet: a subkey linking to another tree and one linking back to itself;
  // MrxCls: itself a link.
  SetString(net, L"ImagePath", REG_SZ, L"\\??\\C:\\x.sys");
  using platform::tests::CreateRegistryLink;
  ASSERT_EQ(CreateRegistryLink(HKEY_LOCAL_MACHINE, net + L"\\Enum",
                               L"\\Registry\\Machine\\Software\\QrVictim2"),
            ERROR_SUCCESS);
  ASSERT_EQ(CreateRegistryLink(HKEY_LOCAL_MACHINE, net + L"\\Loop",
                               L"\\Registry\\Machine\\" + net),
            ERROR_SUCCESS);
  ASSERT_EQ(CreateRegistryLink(HKEY_LOCAL_MACHINE, cls,
                               L"\\Registry\\Machine\\Software\\QrVictim"),
            ERROR_SUCCESS);
  std::wstring victimsBefore;
  for (const wchar_t* victim : kVictims) victimsBefore += DumpTree(victim);

  EXPECT_TRUE(RemoveKeys({"HKLM\\System\\CurrentControlSet\\Services\\MrxNet",
                          "HKLM\\System\\CurrentControlSet\\Services\\MrxCls"}));

  std::wstring victimsAfter;
  for (const wchar_t* victim : kVictims) victimsAfter += DumpTree(victim);
  EXPECT_EQ(victimsAfter, victimsBefore);
  EXPECT_EQ(DumpTree(net), net + L" missing\n");
  EXPECT_EQ(DumpTree(cls), cls + L" missing\n");
}

TEST_F(WineScenario, RestartGoesThroughThePrivilegeStep) {
  RestartComputer(context);
  EXPECT_THAT(token.requests,
              ElementsAre(std::pair<std::uint32_t, std::uint32_t>{EWX_REBOOT, 0xFFFFFFFF}));
}

}  // namespace
}  // namespace scanner
