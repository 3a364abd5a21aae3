// The handler's inspection and forwarding against a fake system shortcut
// object: Wine's own lacks IExtractIconW, so only a fake reaches the
// delegating paths and shows the order in which interfaces are released.

#include <windows.h>
#include <shlobj.h>

#include <cstdint>
#include <cstring>
#include <stdexcept>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "iconguard/com/corvane_ext.h"

namespace {

using iconguard::com::CorvaneExt;
using iconguard::com::ShellAccess;

constexpr HRESULT kLoadFailure = HRESULT_FROM_WIN32(ERROR_FILE_NOT_FOUND);
constexpr HRESULT kCreateFailure = REGDB_E_CLASSNOTREG;
constexpr HRESULT kForwardedFailure = static_cast<HRESULT>(0x80041234);
constexpr HRESULT kForwardedExtract = static_cast<HRESULT>(0x00041234);
constexpr UINT kJunkFlags = 0xDEADBEEF;
constexpr int kJunkIndex = static_cast<int>(0xDEADBEEF);

std::vector<std::uint8_t> Item(std::uint16_t cb, const GUID& clsid) {
  std::vector<std::uint8_t> item(cb, 0);
  item[0] = cb & 0xFF;
  item[1] = cb >> 8;
  item[2] = 0x1F;
  if (cb >= 20) std::memcpy(item.data() + 4, &clsid, sizeof clsid);
  return item;
}

std::vector<std::uint8_t> List(std::initializer_list<std::vector<std::uint8_t>> items) {
  std::vector<std::uint8_t> list;
  for (const auto& item : items) list.insert(list.end(), item.begin(), item.end());
  list.push_back(0);
  list.push_back(0);
  return list;
}

const GUID kMyComputer = {0x20D04FE0, 0x3AEA, 0x1069, {0xA2, 0xD8, 0x08, 0x00, 0x2B, 0x30, 0x30, 0x9D}};
const GUID kControlPanel = {0x21EC2020, 0x3AEA, 0x1069, {0xA2, 0xDD, 0x08, 0x00, 0x2B, 0x30, 0x30, 0x9D}};
const GUID kAnyFolder = {0x11111111, 0x2222, 0x3333, {4, 4, 4, 4, 4, 4, 4, 4}};

// A Control Panel item reached through My Computer.
std::vector<std::uint8_t> BlockedList() {
  return List({Item(20, kMyComputer), Item(20, kControlPanel), Item(12, kAnyFolder)});
}
// The Control Panel folder itself.
std::vector<std::uint8_t> HarmlessList() {
  return List({Item(20, kMyComputer), Item(20, kControlPanel)});
}

// Where the next fake shortcut object (or the threat response) faults.
enum class FaultAt { kNowhere, kLoad, kGetIdList, kGetIconLocation, kExtract, kReport };

// A write through a pointer that names no memory: an access violation the
// compiler cannot see coming.
void Fault() {
  volatile int* volatile nowhere = reinterpret_cast<int*>(0x10);
  *nowhere = 1;
}

// How the next fake shortcut object behaves, and what happened to it.
struct Scenario {
  HRESULT createResult = S_OK;
  bool hasPersistFile = true;
  HRESULT loadResult = S_OK;
  HRESULT getIdListResult = S_OK;
  bool nullList = false;
  std::vector<std::uint8_t> idList = HarmlessList();
  bool hasExtractIcon = true;
  HRESULT getIconLocationResult = S_OK;
  FaultAt faultAt = FaultAt::kNowhere;
  // Load probes a bad pointer with IsBadReadPtr, which takes the fault itself.
  bool loadProbes = false;
  bool reportThrows = false;

  std::vector<std::wstring> loadedPaths;
  std::vector<std::string> calls;  // methods of the fakes, in call order
  std::vector<std::string> releases;  // interfaces whose last reference went
  std::vector<std::u16string> reported;
  int linksCreated = 0;
  int liveReferences = 0;
  // Arguments the forwarded calls received.
  UINT forwardedFlags = 0;
  PWSTR forwardedFile = nullptr;
  UINT forwardedMax = 0;
  int* forwardedIndex = nullptr;
  UINT* forwardedOutFlags = nullptr;
  UINT forwardedIconSize = 0;
};
Scenario* g_scenario = nullptr;

class RefCounted {
 protected:
  explicit RefCounted(const char* name) : name_(name) {}
  ULONG Add() {
    ++g_scenario->liveReferences;
    return ++count_;
  }
  ULONG Drop() {
    --g_scenario->liveReferences;
    if (--count_ == 0) g_scenario->releases.push_back(name_);
    return count_;
  }

 private:
  const char* name_;
  ULONG count_ = 0;
};

class FakePersistFile final : public IPersistFile, RefCounted {
 public:
  FakePersistFile() : RefCounted("IPersistFile") {}
  STDMETHODIMP QueryInterface(REFIID, void** ppv) override {
    *ppv = nullptr;
    return E_NOINTERFACE;
  }
  STDMETHODIMP_(ULONG) AddRef() override { return Add(); }
  STDMETHODIMP_(ULONG) Release() override { return Drop(); }
  STDMETHODIMP GetClassID(CLSID*) override { return E_NOTIMPL; }
  STDMETHODIMP IsDirty() override { return E_NOTIMPL; }
  STDMETHODIMP Load(LPCOLESTR path, DWORD mode) override {
    EXPECT_EQ(mode, static_cast<DWORD>(STGM_READ));
    g_scenario->loadedPaths.push_back(path);
    g_scenario->calls.push_back("Load");
    if (g_scenario->faultAt == FaultAt::kLoad) Fault();
    if (g_scenario->loadProbes && !IsBadReadPtr(reinterpret_cast<void*>(0x10), 4)) {
      return E_UNEXPECTED;
    }
    return g_scenario->loadResult;
  }
  STDMETHODIMP Save(LPCOLESTR, BOOL) override { return E_NOTIMPL; }
  STDMETHODIMP SaveCompleted(LPCOLESTR) override { return E_NOTIMPL; }
  STDMETHODIMP GetCurFile(LPOLESTR*) override { return E_NOTIMPL; }
};

class FakeExtractIcon final : public IExtractIconW, RefCounted {
 public:
  FakeExtractIcon() : RefCounted("IExtractIconW") {}
  STDMETHODIMP QueryInterface(REFIID, void** ppv) override {
    *ppv = nullptr;
    return E_NOINTERFACE;
  }
  STDMETHODIMP_(ULONG) AddRef() override { return Add(); }
  STDMETHODIMP_(ULONG) Release() override { return Drop(); }
  STDMETHODIMP GetIconLocation(UINT flags, PWSTR file, UINT max, int* index,
                               UINT* outFlags) override {
    Scenario& s = *g_scenario;
    s.calls.push_back("GetIconLocation");
    if (s.faultAt == FaultAt::kGetIconLocation) Fault();
    s.forwardedFlags = flags;
    s.forwardedFile = file;
    s.forwardedMax = max;
    s.forwardedIndex = index;
    s.forwardedOutFlags = outFlags;
    if (SUCCEEDED(s.getIconLocationResult)) {
      lstrcpynW(file, L"C:\\target.exe", max);
      *index = 3;
      *outFlags = GIL_PERINSTANCE;
    }
    return s.getIconLocationResult;
  }
  STDMETHODIMP Extract(PCWSTR file, UINT index, HICON*, HICON*, UINT size) override {
    g_scenario->calls.push_back("Extract");
    if (g_scenario->faultAt == FaultAt::kExtract) Fault();
    g_scenario->forwardedFile = const_cast<PWSTR>(file);
    g_scenario->forwardedFlags = index;
    g_scenario->forwardedIconSize = size;
    return kForwardedExtract;
  }
};

class FakeShellLink final : public IShellLinkW, RefCounted {
 public:
  FakeShellLink() : RefCounted("IShellLinkW") {}
  STDMETHODIMP QueryInterface(REFIID riid, void** ppv) override {
    *ppv = nullptr;
    if (IsEqualIID(riid, IID_IPersistFile) && g_scenario->hasPersistFile) {
      *ppv = static_cast<IPersistFile*>(&persist_);
    } else if (IsEqualIID(riid, IID_IExtractIconW) && g_scenario->hasExtractIcon) {
      *ppv = static_cast<IExtractIconW*>(&extract_);
    } else {
      return E_NOINTERFACE;
    }
    static_cast<IUnknown*>(*ppv)->AddRef();
    return S_OK;
  }
  STDMETHODIMP_(ULONG) AddRef() override { return Add(); }
  STDMETHODIMP_(ULONG) Release() override { return Drop(); }
  STDMETHODIMP GetIDList(PIDLIST_ABSOLUTE* list) override {
    Scenario& s = *g_scenario;
    s.calls.push_back("GetIDList");
    if (s.faultAt == FaultAt::kGetIdList) Fault();
    if (FAILED(s.getIdListResult)) return s.getIdListResult;
    *list = nullptr;
    if (!s.nullList) {
      void* copy = CoTaskMemAlloc(s.idList.size());
      std::memcpy(copy, s.idList.data(), s.idList.size());
      *list = static_cast<PIDLIST_ABSOLUTE>(copy);
    }
    return S_OK;
  }
  STDMETHODIMP GetPath(LPWSTR, int, WIN32_FIND_DATAW*, DWORD) override { return E_NOTIMPL; }
  STDMETHODIMP SetIDList(PCIDLIST_ABSOLUTE) override { return E_NOTIMPL; }
  STDMETHODIMP GetDescription(LPWSTR, int) override { return E_NOTIMPL; }
  STDMETHODIMP SetDescription(LPCWSTR) override { return E_NOTIMPL; }
  STDMETHODIMP GetWorkingDirectory(LPWSTR, int) override { return E_NOTIMPL; }
  STDMETHODIMP SetWorkingDirectory(LPCWSTR) override { return E_NOTIMPL; }
  STDMETHODIMP GetArguments(LPWSTR, int) override { return E_NOTIMPL; }
  STDMETHODIMP SetArguments(LPCWSTR) override { return E_NOTIMPL; }
  STDMETHODIMP GetHotkey(WORD*) override { return E_NOTIMPL; }
  STDMETHODIMP SetHotkey(WORD) override { return E_NOTIMPL; }
  STDMETHODIMP GetShowCmd(int*) override { return E_NOTIMPL; }
  STDMETHODIMP SetShowCmd(int) override { return E_NOTIMPL; }
  STDMETHODIMP GetIconLocation(LPWSTR, int, int*) override { return E_NOTIMPL; }
  STDMETHODIMP SetIconLocation(LPCWSTR, int) override { return E_NOTIMPL; }
  STDMETHODIMP SetRelativePath(LPCWSTR, DWORD) override { return E_NOTIMPL; }
  STDMETHODIMP Resolve(HWND, DWORD) override { return E_NOTIMPL; }
  STDMETHODIMP SetPath(LPCWSTR) override { return E_NOTIMPL; }

 private:
  FakePersistFile persist_;
  FakeExtractIcon extract_;
};

std::vector<std::unique_ptr<FakeShellLink>> g_links;

HRESULT CreateFakeLink(IShellLinkW** link) {
  *link = nullptr;
  if (FAILED(g_scenario->createResult)) return g_scenario->createResult;
  ++g_scenario->linksCreated;
  g_links.push_back(std::make_unique<FakeShellLink>());
  *link = g_links.back().get();
  (*link)->AddRef();
  return S_OK;
}

void RecordReport(const std::u16string& path) {
  g_scenario->reported.push_back(path);
  if (g_scenario->faultAt == FaultAt::kReport) Fault();
  if (g_scenario->reportThrows) throw std::runtime_error("threat response failed");
}

const ShellAccess kFakeShell{CreateFakeLink, RecordReport};

// Changes what the task allocator's GetSize answers, so that a test can
// make a list's allocation look shorter than its bytes, or of unknown size.
// Everything else passes through untouched.
class SizeSpy final : public IMallocSpy {
 public:
  static constexpr SIZE_T kPassThrough = 0;
  SIZE_T answer = kPassThrough;

  STDMETHODIMP QueryInterface(REFIID riid, void** ppv) override {
    if (IsEqualIID(riid, IID_IUnknown) || IsEqualIID(riid, IID_IMallocSpy)) {
      *ppv = static_cast<IMallocSpy*>(this);
      AddRef();
      return S_OK;
    }
    *ppv = nullptr;
    return E_NOINTERFACE;
  }
  // Lives for the whole program: COM may hold it until the last block
  // allocated under it is freed.
  STDMETHODIMP_(ULONG) AddRef() override { return 2; }
  STDMETHODIMP_(ULONG) Release() override { return 1; }
  STDMETHODIMP_(SIZE_T) PreAlloc(SIZE_T cb) override { return cb; }
  STDMETHODIMP_(void*) PostAlloc(void* p) override { return p; }
  STDMETHODIMP_(void*) PreFree(void* p, BOOL) override { return p; }
  STDMETHODIMP_(void) PostFree(BOOL) override {}
  STDMETHODIMP_(SIZE_T) PreRealloc(void* p, SIZE_T cb, void** out, BOOL) override {
    *out = p;
    return cb;
  }
  STDMETHODIMP_(void*) PostRealloc(void* p, BOOL) override { return p; }
  STDMETHODIMP_(void*) PreGetSize(void* p, BOOL) override { return p; }
  STDMETHODIMP_(SIZE_T) PostGetSize(SIZE_T actual, BOOL) override {
    return answer == kPassThrough ? actual : answer;
  }
  STDMETHODIMP_(void*) PreDidAlloc(void* p, BOOL) override { return p; }
  STDMETHODIMP_(int) PostDidAlloc(void*, BOOL, int actual) override { return actual; }
  STDMETHODIMP_(void) PreHeapMinimize() override {}
  STDMETHODIMP_(void) PostHeapMinimize() override {}
};
SizeSpy g_sizeSpy;

const wchar_t kLinkPath[] = L"C:\\links\\target.lnk";

class CorvaneExtTest : public ::testing::Test {
 protected:
  void SetUp() override {
    g_scenario = &scenario_;
    ext_ = new CorvaneExt(kFakeShell);
    ext_->AddRef();
    ASSERT_EQ(ext_->Load(kLinkPath, STGM_READWRITE), S_OK);
  }
  void TearDown() override {
    ext_->Release();
    EXPECT_EQ(scenario_.liveReferences, 0) << "an interface was not released";
    g_links.clear();
    g_scenario = nullptr;
  }

  HRESULT Locate(UINT cchMax = MAX_PATH, bool withIndex = true) {
    std::fill(std::begin(file_), std::end(file_), L'#');
    index_ = kJunkIndex;
    flags_ = kJunkFlags;
    return ext_->GetIconLocation(GIL_FORSHELL, file_, cchMax, withIndex ? &index_ : nullptr,
                                 &flags_);
  }

  Scenario scenario_;
  CorvaneExt* ext_ = nullptr;
  WCHAR file_[MAX_PATH];
  int index_ = 0;
  UINT flags_ = 0;
};

TEST_F(CorvaneExtTest, HarmlessOrUninspectableShortcutsGetTheDefaultIcon) {
  const struct {
    const char* name;
    void (*arrange)(Scenario&);
  } kCases[] = {
      {"object not created", [](Scenario& s) { s.createResult = kCreateFailure; }},
      {"no IPersistFile", [](Scenario& s) { s.hasPersistFile = false; }},
      {"load fails", [](Scenario& s) { s.loadResult = kLoadFailure; }},
      {"no target list", [](Scenario& s) { s.getIdListResult = E_FAIL; }},
      {"no IExtractIconW", [](Scenario& s) { s.hasExtractIcon = false; }},
      {"forwarded call fails", [](Scenario& s) { s.getIconLocationResult = kForwardedFailure; }},
  };
  for (const auto& c : kCases) {
    SCOPED_TRACE(c.name);
    scenario_ = Scenario{};
    c.arrange(scenario_);
    EXPECT_EQ(Locate(), S_FALSE);
    EXPECT_EQ(flags_, 0u);
    EXPECT_EQ(index_, kJunkIndex);
    EXPECT_EQ(file_[0], L'#');
    EXPECT_TRUE(scenario_.reported.empty());
    EXPECT_EQ(scenario_.liveReferences, 0);
    HICON large = nullptr;
    HICON small = nullptr;
    EXPECT_NE(ext_->Extract(file_, 0, &large, &small, 32), S_FALSE)
        << "an uninspectable shortcut is not blocked";
  }
}

TEST_F(CorvaneExtTest, HarmlessTargetListsAreForwarded) {
  const struct {
    const char* name;
    void (*arrange)(Scenario&);
  } kCases[] = {
      {"Control Panel folder", [](Scenario&) {}},
      {"null list", [](Scenario& s) { s.nullList = true; }},
      {"empty list", [](Scenario& s) { s.idList = {0, 0}; }},
      {"swapped folders",
       [](Scenario& s) {
         s.idList = List({Item(20, kControlPanel), Item(20, kMyComputer), Item(12, kAnyFolder)});
       }},
  };
  for (const auto& c : kCases) {
    SCOPED_TRACE(c.name);
    scenario_ = Scenario{};
    c.arrange(scenario_);
    EXPECT_EQ(Locate(), S_OK);
    EXPECT_STREQ(file_, L"C:\\target.exe");
    EXPECT_TRUE(scenario_.reported.empty());
  }
}

TEST_F(CorvaneExtTest, HarmlessShortcutIsForwardedUnchangedAndReleasedInReverseOrder) {
  EXPECT_EQ(Locate(), S_OK);
  ASSERT_EQ(scenario_.loadedPaths, std::vector<std::wstring>{kLinkPath});
  EXPECT_EQ(scenario_.forwardedFlags, static_cast<UINT>(GIL_FORSHELL));
  EXPECT_EQ(scenario_.forwardedFile, file_);
  EXPECT_EQ(scenario_.forwardedMax, static_cast<UINT>(MAX_PATH));
  EXPECT_EQ(scenario_.forwardedIndex, &index_);
  EXPECT_EQ(scenario_.forwardedOutFlags, &flags_);
  EXPECT_STREQ(file_, L"C:\\target.exe");
  EXPECT_EQ(index_, 3);
  EXPECT_EQ(flags_, static_cast<UINT>(GIL_PERINSTANCE));
  EXPECT_EQ(scenario_.releases,
            (std::vector<std::string>{"IExtractIconW", "IPersistFile", "IShellLinkW"}));
  EXPECT_TRUE(scenario_.reported.empty());
}

TEST_F(CorvaneExtTest, ALaterFailedForwardIsNotReportedAsSuccess) {
  ASSERT_EQ(Locate(), S_OK);
  scenario_.getIconLocationResult = kForwardedFailure;
  EXPECT_EQ(Locate(), S_FALSE);
  EXPECT_EQ(flags_, 0u);
}

TEST_F(CorvaneExtTest, BlockedShortcutShowsTheModuleIconAndIsReported) {
  scenario_.idList = BlockedList();
  WCHAR modulePath[MAX_PATH] = {};
  GetModuleFileNameW(nullptr, modulePath, MAX_PATH);

  EXPECT_EQ(Locate(), S_OK);
  EXPECT_STREQ(file_, modulePath);
  EXPECT_EQ(index_, 0);
  EXPECT_EQ(flags_, 0u);
  EXPECT_EQ(scenario_.reported, std::vector<std::u16string>{u"C:\\links\\target.lnk"});
  EXPECT_EQ(scenario_.forwardedFile, nullptr) << "a blocked shortcut's own icon is not asked for";
  EXPECT_EQ(scenario_.releases, (std::vector<std::string>{"IPersistFile", "IShellLinkW"}));

  const int linksBefore = scenario_.linksCreated;
  HICON large = nullptr;
  HICON small = nullptr;
  EXPECT_EQ(ext_->Extract(file_, 0, &large, &small, 32), S_FALSE);
  EXPECT_EQ(scenario_.linksCreated, linksBefore);

  // Every blocking request reports again. Without piIndex the answer is
  // still complete: the path, cut as lstrcpynW cuts it to the short buffer
  // and nothing written past it, and the flags cleared.
  EXPECT_EQ(Locate(5, false), S_OK);
  EXPECT_EQ(std::wstring(file_), std::wstring(modulePath, 4));
  EXPECT_EQ(file_[5], L'#') << "written past cchMax";
  EXPECT_EQ(flags_, 0u);
  EXPECT_EQ(scenario_.reported.size(), 2u);
}

// A third item blocks whatever its size field says: the walk must not give
// up on a size it cannot step over before it has counted the item.
TEST_F(CorvaneExtTest, AnyThirdItemBlocksWhateverItsSize) {
  const struct {
    const char* name;
    std::vector<std::uint8_t> third;
  } kCases[] = {
      {"size 1", {1, 0}},
      {"size 2, no data", {2, 0}},
      {"size beyond a shortcut's list", {0xFF, 0xFF}},
  };
  WCHAR modulePath[MAX_PATH] = {};
  GetModuleFileNameW(nullptr, modulePath, MAX_PATH);
  for (const auto& c : kCases) {
    SCOPED_TRACE(c.name);
    scenario_ = Scenario{};
    scenario_.idList = List({Item(20, kMyComputer), Item(20, kControlPanel), c.third});
    EXPECT_EQ(Locate(), S_OK);
    EXPECT_STREQ(file_, modulePath);
    EXPECT_EQ(index_, 0);
    EXPECT_EQ(flags_, 0u);
    EXPECT_EQ(scenario_.reported, std::vector<std::u16string>{u"C:\\links\\target.lnk"});
    EXPECT_EQ(scenario_.forwardedFile, nullptr);
  }
}

// The walk reads no further than the allocation that holds the list; when
// the allocator cannot tell its size, a list the system made still gets
// its verdict.
TEST_F(CorvaneExtTest, TheListIsReadNoFurtherThanItsAllocation) {
  const std::vector<std::uint8_t> oneByteThird =
      List({Item(20, kMyComputer), Item(20, kControlPanel), {1, 0}});
  const std::vector<std::uint8_t> emptyThird =
      List({Item(20, kMyComputer), Item(20, kControlPanel), {2, 0}});
  const SIZE_T kUnknown = static_cast<SIZE_T>(-1);
  const struct {
    const char* name;
    std::vector<std::uint8_t> list;
    SIZE_T reportedSize;
    bool blocked;
  } kCases[] = {
      {"third size field inside", emptyThird, 42, true},
      {"third size field half outside", emptyThird, 41, false},
      {"size unknown, third item of size 1", oneByteThird, kUnknown, true},
      {"size unknown, two items", HarmlessList(), kUnknown, false},
  };
  for (const auto& c : kCases) {
    SCOPED_TRACE(c.name);
    scenario_ = Scenario{};
    scenario_.idList = c.list;
    g_sizeSpy.answer = c.reportedSize;
    ASSERT_EQ(CoRegisterMallocSpy(&g_sizeSpy), S_OK);
    const HRESULT hr = Locate();
    ASSERT_EQ(CoRevokeMallocSpy(), S_OK);
    EXPECT_EQ(hr, S_OK);
    EXPECT_EQ(scenario_.reported.size(), c.blocked ? 1u : 0u);
    if (!c.blocked) {
      EXPECT_STREQ(file_, L"C:\\target.exe");
    }
  }
}

TEST_F(CorvaneExtTest, LoadKeepsTheFirst259Characters) {
  std::wstring longPath = L"C:\\";
  longPath.append(300, L'a');
  ASSERT_EQ(ext_->Load(longPath.c_str(), 0), S_OK);
  scenario_.idList = BlockedList();
  EXPECT_EQ(Locate(), S_OK);
  const std::wstring cut = longPath.substr(0, 259);
  ASSERT_EQ(scenario_.loadedPaths, std::vector<std::wstring>{cut});
  EXPECT_EQ(scenario_.reported,
            std::vector<std::u16string>{std::u16string(cut.begin(), cut.end())});
}

TEST_F(CorvaneExtTest, ExtractForwardsOrAnswersTheFirstFailure) {
  const struct {
    const char* name;
    void (*arrange)(Scenario&);
    HRESULT expected;
  } kCases[] = {
      {"forwarded", [](Scenario&) {}, kForwardedExtract},
      {"object not created", [](Scenario& s) { s.createResult = kCreateFailure; }, kCreateFailure},
      {"no IPersistFile", [](Scenario& s) { s.hasPersistFile = false; }, E_NOINTERFACE},
      {"load fails", [](Scenario& s) { s.loadResult = kLoadFailure; }, kLoadFailure},
      {"no IExtractIconW", [](Scenario& s) { s.hasExtractIcon = false; }, E_NOINTERFACE},
  };
  for (const auto& c : kCases) {
    SCOPED_TRACE(c.name);
    scenario_ = Scenario{};
    ASSERT_EQ(Locate(), S_OK);
    c.arrange(scenario_);
    scenario_.forwardedFile = nullptr;
    HICON large = nullptr;
    HICON small = nullptr;
    EXPECT_EQ(ext_->Extract(L"C:\\target.exe", 7, &large, &small, MAKELONG(32, 16)), c.expected);
    EXPECT_EQ(scenario_.liveReferences, 0);
    if (c.expected == kForwardedExtract) {
      EXPECT_STREQ(scenario_.forwardedFile, L"C:\\target.exe");
      EXPECT_EQ(scenario_.forwardedFlags, 7u);
      EXPECT_EQ(scenario_.forwardedIconSize, static_cast<UINT>(MAKELONG(32, 16)));
      EXPECT_EQ(scenario_.releases.back(), "IShellLinkW");
    }
  }
}

// Memory that a caller hands in as a buffer but that cannot be written.
class NoAccessPage {
 public:
  NoAccessPage() : page_(VirtualAlloc(nullptr, 4096, MEM_COMMIT | MEM_RESERVE, PAGE_NOACCESS)) {}
  ~NoAccessPage() { VirtualFree(page_, 0, MEM_RELEASE); }
  NoAccessPage(const NoAccessPage&) = delete;
  NoAccessPage& operator=(const NoAccessPage&) = delete;
  template <typename T>
  T* As() const {
    return static_cast<T*>(page_);
  }

 private:
  void* page_;
};

// A fault (or a throw) behind the handler costs that one request: the
// answer is the fixed one, and the objects the faulting step was using are
// abandoned, neither called again nor released. The handler itself goes on
// answering.
TEST_F(CorvaneExtTest, AFaultBehindGetIconLocationAbandonsTheRequest) {
  const struct {
    const char* name;
    FaultAt faultAt;
    bool reportThrows;
    std::vector<std::string> calls;  // the last one faulted
    int abandonedReferences;
  } kCases[] = {
      {"Load", FaultAt::kLoad, false, {"Load"}, 2},
      {"GetIDList", FaultAt::kGetIdList, false, {"Load", "GetIDList"}, 2},
      {"forwarded GetIconLocation", FaultAt::kGetIconLocation, false,
       {"Load", "GetIDList", "GetIconLocation"}, 3},
      {"threat response faults", FaultAt::kReport, false, {"Load", "GetIDList"}, 0},
      {"threat response throws", FaultAt::kNowhere, true, {"Load", "GetIDList"}, 0},
  };
  WCHAR modulePath[MAX_PATH] = {};
  GetModuleFileNameW(nullptr, modulePath, MAX_PATH);
  for (const auto& c : kCases) {
    SCOPED_TRACE(c.name);
    scenario_ = Scenario{};
    scenario_.faultAt = c.faultAt;
    scenario_.reportThrows = c.reportThrows;
    const bool blocked = c.faultAt == FaultAt::kReport || c.reportThrows;
    if (blocked) scenario_.idList = BlockedList();

    EXPECT_EQ(Locate(), S_OK);
    EXPECT_EQ(scenario_.calls, c.calls);
    EXPECT_EQ(scenario_.liveReferences, c.abandonedReferences);
    if (blocked) {
      // Everything up to the report had been answered.
      EXPECT_STREQ(file_, modulePath);
      EXPECT_EQ(index_, 0);
      EXPECT_EQ(flags_, 0u);
      EXPECT_EQ(scenario_.reported.size(), 1u);
      EXPECT_EQ(scenario_.releases, (std::vector<std::string>{"IPersistFile", "IShellLinkW"}));
    } else {
      EXPECT_EQ(file_[0], L'#');
      EXPECT_EQ(index_, kJunkIndex);
      EXPECT_EQ(flags_, kJunkFlags);
      EXPECT_TRUE(scenario_.releases.empty());
    }

    scenario_ = Scenario{};
    EXPECT_EQ(Locate(), S_OK);
    EXPECT_STREQ(file_, L"C:\\target.exe");
    EXPECT_EQ(scenario_.liveReferences, 0);
  }
  // Each recovery leaves the thread's stack and registers as it found them.
  for (int i = 0; i < 1000; ++i) {
    scenario_ = Scenario{};
    scenario_.faultAt = FaultAt::kLoad;
    ASSERT_EQ(Locate(), S_OK);
  }
  scenario_ = Scenario{};
}

TEST_F(CorvaneExtTest, AFaultBehindExtractAnswersSFalse) {
  const struct {
    const char* name;
    FaultAt faultAt;
    std::vector<std::string> calls;
    int abandonedReferences;
  } kCases[] = {
      {"Load", FaultAt::kLoad, {"Load"}, 2},
      {"forwarded Extract", FaultAt::kExtract, {"Load", "Extract"}, 3},
  };
  for (const auto& c : kCases) {
    SCOPED_TRACE(c.name);
    scenario_ = Scenario{};
    ASSERT_EQ(Locate(), S_OK);
    scenario_.calls.clear();
    scenario_.faultAt = c.faultAt;
    HICON large = nullptr;
    HICON small = nullptr;
    EXPECT_EQ(ext_->Extract(L"C:\\target.exe", 0, &large, &small, 32), S_FALSE);
    EXPECT_EQ(scenario_.calls, c.calls);
    EXPECT_EQ(scenario_.liveReferences, c.abandonedReferences);

    scenario_ = Scenario{};
    EXPECT_EQ(ext_->Extract(L"C:\\target.exe", 0, &large, &small, 32), kForwardedExtract);
    EXPECT_EQ(scenario_.liveReferences, 0);
  }
}

// Buffers the shell hands in are written by the handler (blocked answer,
// default icon) or by the shortcut object (forwarded answer).
TEST_F(CorvaneExtTest, AnUnwritableCallerBufferGetsTheFixedAnswer) {
  const NoAccessPage page;
  // The icon path is written before the report: a fault there ends the
  // request before anything is reported.
  scenario_.idList = BlockedList();
  EXPECT_EQ(ext_->GetIconLocation(GIL_FORSHELL, page.As<WCHAR>(), MAX_PATH, &index_, &flags_),
            S_OK);
  EXPECT_TRUE(scenario_.reported.empty());
  EXPECT_EQ(scenario_.liveReferences, 0);

  // The default icon's flags are the last thing written.
  scenario_ = Scenario{};
  scenario_.hasExtractIcon = false;
  EXPECT_EQ(ext_->GetIconLocation(GIL_FORSHELL, file_, MAX_PATH, &index_, page.As<UINT>()),
            S_FALSE);
  EXPECT_EQ(scenario_.liveReferences, 0);

  // The forwarded call faults inside the shortcut object.
  scenario_ = Scenario{};
  EXPECT_EQ(ext_->GetIconLocation(GIL_FORSHELL, file_, MAX_PATH, page.As<int>(), &flags_), S_OK);
  EXPECT_EQ(scenario_.calls, (std::vector<std::string>{"Load", "GetIDList", "GetIconLocation"}));
  EXPECT_EQ(scenario_.liveReferences, 3);
  scenario_ = Scenario{};
}

// A fault that the shortcut object catches itself stays its own: the
// barrier only takes what would otherwise end the process.
TEST_F(CorvaneExtTest, AFaultTheShortcutObjectHandlesItselfIsNotTaken) {
  scenario_.loadProbes = true;
  EXPECT_EQ(Locate(), S_OK);
  EXPECT_STREQ(file_, L"C:\\target.exe");
  EXPECT_EQ(scenario_.liveReferences, 0);
}

}  // namespace
