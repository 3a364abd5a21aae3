// Real shortcut files through the DLL's handler: harmless ones keep the
// system's answer, blocked ones show the module's icon, leave a threat
// record and raise the warning, which a watcher thread answers.

#include <windows.h>
#include <objbase.h>
#include <shlobj.h>

#include <atomic>
#include <cstdint>
#include <algorithm>
#include <cstring>
#include <string>
#include <thread>
#include <vector>

#include <gtest/gtest.h>

#include "corvane_dll.h"
#include "registry_reader.h"
#include "shell_link_file.h"

namespace {

const wchar_t kDirectory[] = L"C:\\gcom-links";
const wchar_t kThreatsKey[] = L"Software\\Halvorn\\Marrowind\\Threats";
constexpr UINT kJunkFlags = 0xDEADBEEF;
constexpr int kJunkIndex = static_cast<int>(0xDEADBEEF);

// The target list the system's shortcut object reads from `path`, as many
// bytes as the allocation holding it has (empty when it reads none).
std::vector<std::uint8_t> LoadedTargetList(const std::wstring& path) {
  std::vector<std::uint8_t> bytes;
  IShellLinkW* link = nullptr;
  if (FAILED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW,
                              reinterpret_cast<void**>(&link)))) {
    return bytes;
  }
  IPersistFile* file = nullptr;
  if (SUCCEEDED(link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file)))) {
    PIDLIST_ABSOLUTE list = nullptr;
    if (SUCCEEDED(file->Load(path.c_str(), STGM_READ)) && SUCCEEDED(link->GetIDList(&list)) &&
        list != nullptr) {
      const auto* first = reinterpret_cast<const std::uint8_t*>(list);
      IMalloc* malloc = nullptr;
      if (SUCCEEDED(CoGetMalloc(MEMCTX_TASK, &malloc))) {
        bytes.assign(first, first + malloc->GetSize(list));
        malloc->Release();
      }
      CoTaskMemFree(list);
    }
    if (file != nullptr) file->Release();
  }
  link->Release();
  return bytes;
}

// Answers the guard's warning box from another thread and remembers it.
class WarningWatcher {
 public:
  explicit WarningWatcher(int answer) : answer_(answer), thread_([this] { Watch(); }) {}
  ~WarningWatcher() {
    stop_ = true;
    thread_.join();
  }
  // Waits until the watcher has answered `count` boxes (or gives up).
  void WaitForBoxes(int count) {
    for (int i = 0; i < 200 && boxes_ < count; ++i) Sleep(50);
  }
  int boxes() const { return boxes_; }
  const std::wstring& text() const { return text_; }
  bool hadYesAndNo() const { return hadYesAndNo_; }
  bool topmost() const { return topmost_; }

 private:
  static BOOL CALLBACK CollectText(HWND child, LPARAM self) {
    wchar_t text[1024] = {};
    GetWindowTextW(child, text, 1024);
    if (wcsstr(text, L"Blocked malware") != nullptr) {
      reinterpret_cast<WarningWatcher*>(self)->text_ = text;
    }
    return TRUE;
  }

  void Watch() {
    while (!stop_) {
      HWND box = FindWindowW(nullptr, L"Warning!");
      if (box == nullptr || box == lastBox_) {
        Sleep(20);
        continue;
      }
      lastBox_ = box;
      EnumChildWindows(box, CollectText, reinterpret_cast<LPARAM>(this));
      hadYesAndNo_ = GetDlgItem(box, IDYES) != nullptr && GetDlgItem(box, IDNO) != nullptr &&
                     GetDlgItem(box, IDOK) == nullptr;
      topmost_ = (GetWindowLongW(box, GWL_EXSTYLE) & WS_EX_TOPMOST) != 0;
      PostMessageW(box, WM_COMMAND, MAKEWPARAM(answer_, BN_CLICKED),
                   reinterpret_cast<LPARAM>(GetDlgItem(box, answer_)));
      // Let the box close before looking for the next one.
      while (!stop_ && IsWindow(box)) Sleep(20);
      ++boxes_;
    }
  }

  const int answer_;
  std::atomic<bool> stop_{false};
  std::atomic<int> boxes_{0};
  HWND lastBox_ = nullptr;
  std::wstring text_;
  bool hadYesAndNo_ = false;
  bool topmost_ = false;
  std::thread thread_;
};

class CorvaneLinks : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    CoInitialize(nullptr);
    dll_ = corvane_test::LoadCorvane();
    CreateDirectoryW(kDirectory, nullptr);
    // Without the companion product installed the guard warns.
    RegDeleteTreeW(HKEY_LOCAL_MACHINE, L"Software\\Halvorn");
    RegDeleteTreeW(HKEY_CURRENT_USER, L"Software\\Halvorn");
  }

  void SetUp() override { ASSERT_NE(dll_.getClassObject, nullptr); }

  // A handler object that has been given `path`.
  IExtractIconW* Handler(const std::wstring& path) {
    IClassFactory* factory = nullptr;
    EXPECT_EQ(dll_.getClassObject(corvane_test::kClsidCorvaneExt, IID_IClassFactory,
                                  reinterpret_cast<void**>(&factory)),
              S_OK);
    if (factory == nullptr) return nullptr;
    IPersistFile* file = nullptr;
    EXPECT_EQ(factory->CreateInstance(nullptr, IID_IPersistFile, reinterpret_cast<void**>(&file)),
              S_OK);
    factory->Release();
    if (file == nullptr) return nullptr;
    EXPECT_EQ(file->Load(path.c_str(), STGM_READ), S_OK);
    IExtractIconW* extract = nullptr;
    EXPECT_EQ(file->QueryInterface(IID_IExtractIconW, reinterpret_cast<void**>(&extract)), S_OK);
    file->Release();
    return extract;
  }

  HRESULT Locate(IExtractIconW* extract) {
    std::fill(std::begin(file_), std::end(file_), L'#');
    index_ = kJunkIndex;
    flags_ = kJunkFlags;
    return extract->GetIconLocation(GIL_FORSHELL, file_, MAX_PATH, &index_, &flags_);
  }

  static std::wstring ModulePath() {
    wchar_t path[MAX_PATH] = {};
    GetModuleFileNameW(dll_.module, path, MAX_PATH);
    return path;
  }

  static inline corvane_test::CorvaneExports dll_;
  wchar_t file_[MAX_PATH];
  int index_ = 0;
  UINT flags_ = 0;
};

TEST_F(CorvaneLinks, HarmlessShortcutsFallBackToTheDefaultIcon) {
  const std::vector<std::uint8_t> folder = corvane_test::ControlPanelList(false);
  const struct {
    const wchar_t* name;
    const std::vector<std::uint8_t>* list;
    const wchar_t* target;
    HRESULT extractResult;
  } kCases[] = {
      // Wine's shortcut object offers no IExtractIconW to forward to.
      {L"control panel.lnk", &folder, nullptr, E_NOINTERFACE},
      {L"notepad.lnk", nullptr, L"C:\\windows\\notepad.exe", E_NOINTERFACE},
      {L"missing.lnk", nullptr, nullptr, HRESULT_FROM_WIN32(ERROR_FILE_NOT_FOUND)},
  };
  WarningWatcher watcher(IDNO);
  for (const auto& c : kCases) {
    const std::wstring path = std::wstring(kDirectory) + L"\\" + c.name;
    SCOPED_TRACE(std::string(path.begin(), path.end()));
    if (c.list != nullptr || c.target != nullptr) {
      ASSERT_TRUE(corvane_test::WriteLink(path, c.list, c.target));
    }
    IExtractIconW* extract = Handler(path);
    ASSERT_NE(extract, nullptr);
    EXPECT_EQ(Locate(extract), S_FALSE);
    EXPECT_EQ(flags_, 0u);
    EXPECT_EQ(index_, kJunkIndex);
    EXPECT_EQ(file_[0], L'#');
    HICON large = nullptr;
    HICON small = nullptr;
    EXPECT_EQ(extract->Extract(file_, 0, &large, &small, MAKELONG(32, 16)), c.extractResult);
    extract->Release();
  }
  EXPECT_EQ(watcher.boxes(), 0);
  EXPECT_FALSE(corvane_test::KeyExists(HKEY_CURRENT_USER, kThreatsKey));
  EXPECT_EQ(dll_.canUnloadNow(), S_OK);
}

TEST_F(CorvaneLinks, BlockedShortcutIsRecordedAndWarnedAboutAndStaysOnNo) {
  // "é" differs between the OEM (437) and ANSI (1252) code pages.
  const std::wstring path = std::wstring(kDirectory) + L"\\blocked \u00e9.lnk";
  const std::vector<std::uint8_t> list = corvane_test::ControlPanelList(true);
  ASSERT_TRUE(corvane_test::WriteLink(path, &list, nullptr));
  IExtractIconW* extract = Handler(path);
  ASSERT_NE(extract, nullptr);

  WarningWatcher watcher(IDNO);
  EXPECT_EQ(Locate(extract), S_OK);
  EXPECT_EQ(std::wstring(file_), ModulePath());
  EXPECT_EQ(index_, 0);
  EXPECT_EQ(flags_, 0u);
  HICON large = nullptr;
  HICON small = nullptr;
  EXPECT_EQ(extract->Extract(file_, 0, &large, &small, MAKELONG(32, 16)), S_FALSE);

  watcher.WaitForBoxes(1);
  ASSERT_EQ(watcher.boxes(), 1);
  EXPECT_EQ(watcher.text(), L"Blocked malware infect attack against your computer!\nInfected "
                            L"Shortcut:\n" + path + L"\nDelete infection and download Marrowind?\r\n");
  EXPECT_TRUE(watcher.hadYesAndNo());
  EXPECT_TRUE(watcher.topmost()) << "the warning is system-modal";
  EXPECT_NE(GetFileAttributesW(path.c_str()), INVALID_FILE_ATTRIBUTES) << "No keeps the file";

  // MD5 of the path's code page 437 bytes.
  const std::wstring name = L"94184b209e5997b9116c91d25477c219";
  EXPECT_EQ(corvane_test::ValueNames(HKEY_CURRENT_USER, kThreatsKey), std::set<std::wstring>{name});
  BYTE data[1024] = {};
  DWORD size = sizeof data;
  DWORD type = 0;
  ASSERT_EQ(RegGetValueW(HKEY_CURRENT_USER, kThreatsKey, name.c_str(), RRF_RT_ANY, &type, data,
                         &size),
            ERROR_SUCCESS);
  EXPECT_EQ(type, static_cast<DWORD>(REG_BINARY));
  ASSERT_EQ(size, path.size() * 2) << "UTF-16LE without a terminator";
  EXPECT_EQ(std::memcmp(data, path.data(), size), 0);

  // Asking again warns again; the record stays one value.
  EXPECT_EQ(Locate(extract), S_OK);
  watcher.WaitForBoxes(2);
  EXPECT_EQ(watcher.boxes(), 2);
  EXPECT_EQ(corvane_test::ValueNames(HKEY_CURRENT_USER, kThreatsKey).size(), 1u);
  extract->Release();
  EXPECT_EQ(dll_.canUnloadNow(), S_OK);
}

TEST_F(CorvaneLinks, AnsweringYesDeletesTheShortcut) {
  const std::wstring path = std::wstring(kDirectory) + L"\\delete me.lnk";
  const std::vector<std::uint8_t> list = corvane_test::ControlPanelList(true);
  ASSERT_TRUE(corvane_test::WriteLink(path, &list, nullptr));
  IExtractIconW* extract = Handler(path);
  ASSERT_NE(extract, nullptr);

  WarningWatcher watcher(IDYES);
  EXPECT_EQ(Locate(extract), S_OK);
  watcher.WaitForBoxes(1);
  EXPECT_EQ(watcher.boxes(), 1);
  EXPECT_EQ(GetFileAttributesW(path.c_str()), INVALID_FILE_ATTRIBUTES);
  EXPECT_TRUE(corvane_test::ValueNames(HKEY_CURRENT_USER, kThreatsKey)
                  .count(L"f2bfa27ddab2b30c60b6fe8a56d12fee"));
  extract->Release();
}

// The third item only has to exist: one whose size field (1) cannot be
// stepped over still makes the list a Control Panel item.
TEST_F(CorvaneLinks, AThirdItemOfSizeOneIsBlocked) {
  const std::wstring path = std::wstring(kDirectory) + L"\\one-byte item.lnk";
  std::vector<std::uint8_t> list = corvane_test::ControlPanelList(false);
  const std::uint8_t oneByteItem[] = {1, 0};
  list.insert(list.end() - 2, std::begin(oneByteItem), std::end(oneByteItem));
  ASSERT_TRUE(corvane_test::WriteLinkBytes(path, list));
  // The system hands the item on: its walk stops on it and keeps the
  // zero byte after it as the end of the list.
  const std::vector<std::uint8_t> loaded = LoadedTargetList(path);
  ASSERT_GE(loaded.size(), 42u);
  ASSERT_TRUE(std::equal(loaded.begin(), loaded.begin() + 42, list.begin()));
  IExtractIconW* extract = Handler(path);
  ASSERT_NE(extract, nullptr);

  WarningWatcher watcher(IDNO);
  EXPECT_EQ(Locate(extract), S_OK);
  EXPECT_EQ(std::wstring(file_), ModulePath());
  EXPECT_EQ(index_, 0);
  EXPECT_EQ(flags_, 0u);
  watcher.WaitForBoxes(1);
  EXPECT_EQ(watcher.boxes(), 1);
  EXPECT_NE(watcher.text().find(path), std::wstring::npos);
  // MD5 of the path's code page 437 bytes.
  EXPECT_TRUE(corvane_test::ValueNames(HKEY_CURRENT_USER, kThreatsKey)
                  .count(L"f21eecd33e9de365ab935e8f053ccd10"));
  extract->Release();
}

}  // namespace
