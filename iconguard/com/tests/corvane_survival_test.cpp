// Shell survival: thousands of icon requests in one process, the way the
// shell makes them, over good, blocked, missing, truncated and garbage
// shortcuts, program information files and over-long paths, with full,
// undersized and missing output buffers. Every answer is checked, nothing
// may be written past a buffer, and afterwards the server can unload and
// the process holds what it held before.

#include <windows.h>
#include <objbase.h>
#include <psapi.h>
#include <shlobj.h>
#include <winternl.h>

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <random>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "corvane_dll.h"
#include "registry_reader.h"
#include "shell_link_file.h"

namespace {

const wchar_t kDirectory[] = L"C:\\gcom-survival";
const wchar_t kMarrowindKey[] = L"Software\\Halvorn\\Marrowind";
const wchar_t kThreatsKey[] = L"Software\\Halvorn\\Marrowind\\Threats";
constexpr WCHAR kPoison = 0xA5A5;
constexpr int kJunkIndex = static_cast<int>(0xDEADBEEF);
constexpr UINT kJunkFlags = 0xDEADBEEF;

bool WriteBytes(const std::wstring& path, const std::vector<std::uint8_t>& bytes) {
  const HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                  FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  DWORD written = 0;
  const BOOL ok = bytes.empty() || WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()),
                                             &written, nullptr);
  CloseHandle(file);
  return ok && written == bytes.size();
}

std::vector<std::uint8_t> ReadBytes(const std::wstring& path) {
  std::vector<std::uint8_t> bytes;
  const HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                  OPEN_EXISTING, 0, nullptr);
  if (file == INVALID_HANDLE_VALUE) return bytes;
  bytes.resize(GetFileSize(file, nullptr));
  DWORD read = 0;
  if (!ReadFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &read, nullptr)) read = 0;
  bytes.resize(read);
  CloseHandle(file);
  return bytes;
}

// What the system's own shortcut object answers for `path` on the steps
// that Extract forwards: the first failure, or S_OK when it would forward.
HRESULT SystemForwardResult(const std::wstring& path, bool* offersExtractIcon) {
  IShellLinkW* link = nullptr;
  HRESULT hr = CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW,
                                reinterpret_cast<void**>(&link));
  if (FAILED(hr)) return hr;
  IPersistFile* file = nullptr;
  hr = link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file));
  if (SUCCEEDED(hr)) {
    hr = file->Load(path.substr(0, MAX_PATH - 1).c_str(), STGM_READ);
    if (SUCCEEDED(hr)) {
      IExtractIconW* extract = nullptr;
      hr = link->QueryInterface(IID_IExtractIconW, reinterpret_cast<void**>(&extract));
      *offersExtractIcon = SUCCEEDED(hr);
      if (extract != nullptr) extract->Release();
    }
    file->Release();
  }
  link->Release();
  return hr;
}

struct Case {
  std::wstring name;
  std::wstring path;  // as handed to Load
  bool blocked;
  HRESULT extractResult = S_OK;  // what the system object gives; filled in set-up
};

// How the caller's output parameters look in one request.
struct Shape {
  const char* name;
  UINT cchMax;
  bool withIndex;
  bool withFlags;
  bool withLarge;
  bool withSmall;
};
constexpr Shape kShapes[] = {
    {"full buffers", MAX_PATH, true, true, true, true},
    {"cchMax 0", 0, true, true, true, true},
    {"cchMax 1", 1, true, true, true, true},
    {"cchMax 5", 5, true, true, true, true},
    {"null piIndex", MAX_PATH, false, true, true, true},
    {"null pwFlags", MAX_PATH, true, false, true, true},
    {"null phiconLarge", MAX_PATH, true, true, false, true},
    {"null phiconSmall", MAX_PATH, true, true, true, false},
};
constexpr std::size_t kGuardChars = 64;

// Wine 8 answers 0 for the process's handle count, its GDI and USER object
// counts and its private bytes; each count below falls back to what Wine
// does keep: the handle values that name an object, the entries in use in
// the process's GDI handle table (the table the process environment block
// points to), the windows of the process, and the commit charge, which the
// system defines as the same figure as the private bytes.
struct Resources {
  DWORD handles = 0;
  DWORD gdiObjects = 0;
  DWORD userObjects = 0;
  SIZE_T privateBytes = 0;
};

DWORD CountHandles() {
  DWORD count = 0;
  if (GetProcessHandleCount(GetCurrentProcess(), &count) && count != 0) return count;
  for (ULONG_PTR value = 4; value < 0x20000; value += 4) {
    DWORD flags = 0;
    if (GetHandleInformation(reinterpret_cast<HANDLE>(value), &flags)) ++count;
  }
  return count;
}

DWORD CountGdiObjects() {
  if (const DWORD count = GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS)) return count;
#if defined(_WIN64)
  struct Entry {
    UINT64 object;
    UINT32 owner;
    USHORT unique;
    UCHAR type;
    UCHAR flags;
    UINT64 user;
  };
  const auto* peb = reinterpret_cast<const std::uint8_t*>(NtCurrentTeb()->ProcessEnvironmentBlock);
  const auto* table = *reinterpret_cast<const Entry* const*>(peb + 0xF8);
  MEMORY_BASIC_INFORMATION region = {};
  if (table == nullptr || VirtualQuery(table, &region, sizeof region) == 0) return 0;
  const std::size_t entries = std::min<std::size_t>(
      (reinterpret_cast<const std::uint8_t*>(region.BaseAddress) + region.RegionSize -
       reinterpret_cast<const std::uint8_t*>(table)) / sizeof(Entry),
      0x10000);
  DWORD count = 0;
  for (std::size_t i = 0; i < entries; ++i) count += table[i].type != 0;
  return count;
#else
  return 0;
#endif
}

BOOL CALLBACK CountOwnWindows(HWND window, LPARAM counter) {
  DWORD process = 0;
  GetWindowThreadProcessId(window, &process);
  if (process != GetCurrentProcessId()) return TRUE;
  ++*reinterpret_cast<DWORD*>(counter);
  EnumChildWindows(window, CountOwnWindows, counter);
  return TRUE;
}

DWORD CountUserObjects() {
  if (const DWORD count = GetGuiResources(GetCurrentProcess(), GR_USEROBJECTS)) return count;
  DWORD count = 0;
  EnumWindows(CountOwnWindows, reinterpret_cast<LPARAM>(&count));
  for (HWND window = nullptr;
       (window = FindWindowExW(HWND_MESSAGE, window, nullptr, nullptr)) != nullptr;) {
    CountOwnWindows(window, reinterpret_cast<LPARAM>(&count));
  }
  return count;
}

Resources Measure() {
  Resources r;
  r.handles = CountHandles();
  r.gdiObjects = CountGdiObjects();
  r.userObjects = CountUserObjects();
  PROCESS_MEMORY_COUNTERS_EX counters = {};
  counters.cb = sizeof counters;
  GetProcessMemoryInfo(GetCurrentProcess(), reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&counters),
                       sizeof counters);
  r.privateBytes = counters.PrivateUsage != 0 ? counters.PrivateUsage : counters.PagefileUsage;
  return r;
}

class CorvaneSurvival : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    CoInitialize(nullptr);
    CreateDirectoryW(kDirectory, nullptr);
    // With the companion product registered the guard launches it instead
    // of waiting for an answer in a box; here it names no file, so the
    // launch fails without a trace, as a missing companion does.
    RegDeleteTreeW(HKEY_CURRENT_USER, L"Software\\Halvorn");
    const std::wstring companion = std::wstring(kDirectory) + L"\\no-marrowind.exe";
    RegSetKeyValueW(HKEY_LOCAL_MACHINE, kMarrowindKey, nullptr, REG_SZ, companion.c_str(),
                    static_cast<DWORD>((companion.size() + 1) * sizeof(wchar_t)));
  }
  static void TearDownTestSuite() {
    RegDeleteTreeW(HKEY_LOCAL_MACHINE, L"Software\\Halvorn");
    RegDeleteTreeW(HKEY_CURRENT_USER, L"Software\\Halvorn");
  }

  std::wstring In(const std::wstring& name) { return std::wstring(kDirectory) + L"\\" + name; }

  // Writes the files and returns the mix of requests.
  std::vector<Case> MakeCases() {
    std::vector<Case> cases;
    const std::vector<std::uint8_t> blockedList = corvane_test::ControlPanelList(true);
    const std::vector<std::uint8_t> folderList = corvane_test::ControlPanelList(false);
    EXPECT_TRUE(corvane_test::WriteLink(In(L"notepad.lnk"), nullptr, L"C:\\windows\\notepad.exe"));
    cases.push_back({L"good, a program", In(L"notepad.lnk"), false});
    EXPECT_TRUE(corvane_test::WriteLink(In(L"control panel.lnk"), &folderList, nullptr));
    cases.push_back({L"good, the Control Panel folder", In(L"control panel.lnk"), false});
    EXPECT_TRUE(corvane_test::WriteLink(In(L"blocked.lnk"), &blockedList, nullptr));
    cases.push_back({L"blocked", In(L"blocked.lnk"), true});
    EXPECT_TRUE(corvane_test::WriteLink(In(L"blocked.pif"), &blockedList, nullptr));
    cases.push_back({L"blocked, as a program information file", In(L"blocked.pif"), true});
    cases.push_back({L"missing", In(L"missing.lnk"), false});

    // Cut inside the header, inside the item list, and just before the
    // closing block.
    const std::vector<std::uint8_t> whole = ReadBytes(In(L"blocked.lnk"));
    EXPECT_GT(whole.size(), 76u + 2 + blockedList.size());
    const struct {
      const wchar_t* name;
      std::size_t length;
      bool blocked;
    } kCuts[] = {
        {L"empty.lnk", 0, false},
        {L"cut in header.lnk", 40, false},
        {L"cut in list.lnk", 76 + 2 + 30, false},
        {L"cut before end.lnk", whole.size() - 4, true},
    };
    for (const auto& cut : kCuts) {
      EXPECT_TRUE(WriteBytes(In(cut.name), std::vector<std::uint8_t>(
                                               whole.begin(), whole.begin() + cut.length)));
      cases.push_back({std::wstring(L"truncated: ") + cut.name, In(cut.name), cut.blocked});
    }

    std::mt19937 random(21);
    std::vector<std::uint8_t> noise(4096);
    for (auto& byte : noise) byte = static_cast<std::uint8_t>(random());
    EXPECT_TRUE(WriteBytes(In(L"noise.lnk"), noise));
    cases.push_back({L"garbage: random bytes", In(L"noise.lnk"), false});
    // A shortcut header that promises a target list far longer than the file.
    std::vector<std::uint8_t> promise(whole.begin(), whole.begin() + 76);
    promise.push_back(0xFF);
    promise.push_back(0xFF);
    promise.insert(promise.end(), blockedList.begin(), blockedList.begin() + 24);
    EXPECT_TRUE(WriteBytes(In(L"promise.lnk"), promise));
    cases.push_back({L"garbage: list size past the end", In(L"promise.lnk"), false});
    // A classic program information file: 545 bytes with its signature.
    std::vector<std::uint8_t> pif(545, 0);
    std::memcpy(pif.data() + 0x24, "C:\\PROGRAM.EXE", 14);
    std::memcpy(pif.data() + 0x171, "MICROSOFT PIFEX", 16);
    EXPECT_TRUE(WriteBytes(In(L"program.pif"), pif));
    cases.push_back({L"program information file", In(L"program.pif"), false});

    // Over-long paths: Load keeps the first 259 characters. Once they name
    // a blocked shortcut, once nothing.
    std::wstring name259 = std::wstring(kDirectory) + L"\\";
    name259.append(MAX_PATH - 1 - name259.size() - 4, L'x');
    name259 += L".lnk";
    EXPECT_EQ(name259.size(), static_cast<std::size_t>(MAX_PATH - 1));
    EXPECT_TRUE(corvane_test::WriteLink(name259, &blockedList, nullptr));
    cases.push_back({L"over-long, cut to a blocked shortcut", name259 + L"\\beyond.lnk", true});
    cases.push_back({L"over-long, 1000 characters", In(std::wstring(1000, L'y') + L".lnk"), false});

    for (Case& c : cases) {
      bool offersExtractIcon = false;
      c.extractResult = SystemForwardResult(c.path, &offersExtractIcon);
      // The forwarding paths need a system object with IExtractIconW;
      // Wine's has none, so every harmless request takes the default icon.
      EXPECT_FALSE(offersExtractIcon) << "this test expects Wine's shortcut object";
    }
    return cases;
  }

  IExtractIconW* Handler(const std::wstring& path) {
    IClassFactory* factory = nullptr;
    if (dll_.getClassObject(corvane_test::kClsidCorvaneExt, IID_IClassFactory,
                            reinterpret_cast<void**>(&factory)) != S_OK) {
      return nullptr;
    }
    IPersistFile* file = nullptr;
    factory->CreateInstance(nullptr, IID_IPersistFile, reinterpret_cast<void**>(&file));
    factory->Release();
    if (file == nullptr) return nullptr;
    IExtractIconW* extract = nullptr;
    if (file->Load(path.c_str(), STGM_READ) == S_OK) {
      file->QueryInterface(IID_IExtractIconW, reinterpret_cast<void**>(&extract));
    }
    file->Release();
    return extract;
  }

  // One request as the shell makes it; false (with a failure recorded)
  // when an answer is not what it must be.
  bool Request(const Case& c, const Shape& shape) {
    IExtractIconW* extract = Handler(c.path);
    EXPECT_NE(extract, nullptr);
    if (extract == nullptr) return false;

    std::vector<WCHAR> buffer(shape.cchMax + kGuardChars, kPoison);
    int index = kJunkIndex;
    UINT flags = kJunkFlags;
    const HRESULT located =
        extract->GetIconLocation(GIL_FORSHELL, buffer.data(), shape.cchMax,
                                 shape.withIndex ? &index : nullptr,
                                 shape.withFlags ? &flags : nullptr);
    HICON large = nullptr;
    HICON small = nullptr;
    // The shell hands Extract the location it was given; a cut one is no
    // string to hand on.
    const WCHAR* location = shape.cchMax == MAX_PATH ? buffer.data() : L"";
    const HRESULT extracted =
        extract->Extract(location, 0, shape.withLarge ? &large : nullptr,
                         shape.withSmall ? &small : nullptr, MAKELONG(32, 16));
    if (large != nullptr) DestroyIcon(large);
    if (small != nullptr) DestroyIcon(small);
    extract->Release();

    std::vector<WCHAR> expected(buffer.size(), kPoison);
    if (c.blocked && shape.cchMax > 0) {
      const std::size_t kept = std::min<std::size_t>(modulePath_.size(), shape.cchMax - 1);
      std::copy_n(modulePath_.begin(), kept, expected.begin());
      expected[kept] = L'\0';
    }
    const bool ok = located == (c.blocked ? S_OK : S_FALSE) &&
                    extracted == (c.blocked ? S_FALSE : c.extractResult) && buffer == expected &&
                    index == (c.blocked && shape.withIndex ? 0 : kJunkIndex) &&
                    flags == (shape.withFlags ? 0u : kJunkFlags) && large == nullptr &&
                    small == nullptr;
    EXPECT_TRUE(ok) << std::string(c.name.begin(), c.name.end()) << ", " << shape.name
                    << ": GetIconLocation 0x" << std::hex << located << ", Extract 0x"
                    << extracted << ", index 0x" << index << ", flags 0x" << flags
                    << (buffer == expected ? "" : ", buffer written wrongly or past its end");
    return ok;
  }

  // Every case in every shape, `cycles` requests in all.
  bool Run(const std::vector<Case>& cases, std::size_t cycles) {
    constexpr std::size_t kShapeCount = std::size(kShapes);
    for (std::size_t i = 0; i < cycles; ++i) {
      const Case& c = cases[i % cases.size()];
      const Shape& shape = kShapes[(i / cases.size()) % kShapeCount];
      if (!Request(c, shape)) return false;
    }
    return true;
  }

  static inline corvane_test::CorvaneExports dll_;
  std::wstring modulePath_;
};

TEST_F(CorvaneSurvival, ThousandsOfRequestsLeaveTheProcessAsTheyFoundIt) {
  constexpr std::size_t kCycles = 10000;
  dll_ = corvane_test::LoadCorvane();
  ASSERT_NE(dll_.getClassObject, nullptr);
  wchar_t modulePath[MAX_PATH] = {};
  GetModuleFileNameW(dll_.module, modulePath, MAX_PATH);
  modulePath_ = modulePath;
  const std::vector<Case> cases = MakeCases();
  ASSERT_FALSE(HasFailure());

  const Resources cold = Measure();
  // One round of every case in every shape first: the first requests load
  // the system's libraries and fill its caches, which is no leak.
  ASSERT_TRUE(Run(cases, cases.size() * std::size(kShapes)));
  const Resources before = Measure();
  const auto start = std::chrono::steady_clock::now();
  ASSERT_TRUE(Run(cases, kCycles));
  const double seconds =
      std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  EXPECT_EQ(dll_.canUnloadNow(), S_OK);
  const Resources after = Measure();

  std::printf("%zu requests in %.2f s (%.3f ms each)\n", kCycles, seconds, seconds * 1000 / kCycles);
  std::printf("before the warm-up round: handles %lu, GDI objects %lu, USER objects %lu, "
              "private bytes %zu\n",
              cold.handles, cold.gdiObjects, cold.userObjects,
              static_cast<std::size_t>(cold.privateBytes));
  std::printf("handles %lu -> %lu, GDI objects %lu -> %lu, USER objects %lu -> %lu, "
              "private bytes %zu -> %zu\n",
              before.handles, after.handles, before.gdiObjects, after.gdiObjects,
              before.userObjects, after.userObjects, static_cast<std::size_t>(before.privateBytes),
              static_cast<std::size_t>(after.privateBytes));
  // Under Wine all four figures come back exactly after the warm-up round.
  // The margins leave room for an object the system creates late for itself
  // (a worker thread's event, a cached brush) or one more step of heap
  // growth; one handle or object lost in every 5,000 requests, or 7 bytes
  // in every request, is more than they allow.
  EXPECT_LE(after.handles, before.handles + 2);
  EXPECT_LE(after.gdiObjects, before.gdiObjects + 2);
  EXPECT_LE(after.userObjects, before.userObjects + 2);
  EXPECT_LE(after.privateBytes, before.privateBytes + 64 * 1024);
  // Every blocked request is recorded; each path has one record.
  EXPECT_EQ(corvane_test::ValueNames(HKEY_CURRENT_USER, kThreatsKey).size(), 4u);
}

}  // namespace
