// Registration through the system's registration tool: the keys written,
// what unregistering leaves (the shortcut types' icon handlers given back
// to the system), registering twice, and creating the class through the
// registration.

#include <windows.h>
#include <objbase.h>
#include <shlobj.h>

#include <optional>
#include <set>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "corvane_dll.h"
#include "platform/tests/win32_registry_links.h"
#include "registry_reader.h"

namespace {

using corvane_test::KeyExists;
using corvane_test::ReadString;
using corvane_test::SubkeyNames;
using corvane_test::ValueNames;

const std::wstring kClsid = L"{A45D89B4-2E99-4E4D-A719-D7AAB775D750}";
const std::wstring kClassKey = L"CLSID\\" + kClsid;

DWORD Regsvr32(const std::wstring& arguments) {
  std::wstring command = L"regsvr32.exe /s " + arguments;
  STARTUPINFOW startup = {};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process = {};
  if (!CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                      &startup, &process)) {
    return GetLastError() | 0x40000000;
  }
  WaitForSingleObject(process.hProcess, 60000);
  DWORD code = STILL_ACTIVE;
  GetExitCodeProcess(process.hProcess, &code);
  CloseHandle(process.hThread);
  CloseHandle(process.hProcess);
  return code;
}

std::wstring Quoted(const std::wstring& path) { return L"\"" + path + L"\""; }

std::wstring ShortPath(const std::wstring& path) {
  wchar_t buffer[MAX_PATH] = {};
  GetShortPathNameW(path.c_str(), buffer, MAX_PATH);
  return buffer;
}

struct KeyRow {
  std::wstring path;
  std::wstring defaultValue;
  std::set<std::wstring> subkeys;
  std::set<std::wstring> namedValues;
};

// Every key of one registration, with exactly its values and subkeys.
void ExpectRegistration(const std::wstring& modulePath) {
  const std::vector<KeyRow> rows = {
      {L"Corvane.CorvaneExt.1", L"CorvaneExt Class", {L"CLSID"}, {}},
      {L"Corvane.CorvaneExt.1\\CLSID", kClsid, {}, {}},
      {L"Corvane.CorvaneExt", L"CorvaneExt Class", {L"CLSID", L"CurVer"}, {}},
      {L"Corvane.CorvaneExt\\CLSID", kClsid, {}, {}},
      {L"Corvane.CorvaneExt\\CurVer", L"Corvane.CorvaneExt.1", {}, {}},
      {kClassKey, L"CorvaneExt Class",
       {L"ProgID", L"VersionIndependentProgID", L"InprocServer32", L"TypeLib"}, {}},
      {kClassKey + L"\\ProgID", L"Corvane.CorvaneExt.1", {}, {}},
      {kClassKey + L"\\VersionIndependentProgID", L"Corvane.CorvaneExt", {}, {}},
      {kClassKey + L"\\InprocServer32", ShortPath(modulePath), {}, {L"ThreadingModel"}},
      {kClassKey + L"\\TypeLib", L"{7126CBA2-496F-4427-AA2A-1EEE35078251}", {}, {}},
      {L"lnkfile\\ShellEx\\IconHandler", kClsid, {}, {}},
      {L"piffile\\ShellEx\\IconHandler", kClsid, {}, {}},
  };
  for (const KeyRow& row : rows) {
    SCOPED_TRACE(std::string(row.path.begin(), row.path.end()));
    EXPECT_EQ(ReadString(HKEY_CLASSES_ROOT, row.path, L""), row.defaultValue);
    EXPECT_EQ(SubkeyNames(HKEY_CLASSES_ROOT, row.path), row.subkeys);
    std::set<std::wstring> values = row.namedValues;
    values.insert(L"");
    EXPECT_EQ(ValueNames(HKEY_CLASSES_ROOT, row.path), values);
  }
  EXPECT_EQ(ReadString(HKEY_CLASSES_ROOT, kClassKey + L"\\InprocServer32", L"ThreadingModel"),
            L"Apartment");
}

const std::wstring kSystemHandler = L"{00021401-0000-0000-C000-000000000046}";
const std::wstring kLnkHandler = L"lnkfile\\ShellEx\\IconHandler";
const std::wstring kPifHandler = L"piffile\\ShellEx\\IconHandler";

void ExpectClassGone() {
  for (const std::wstring& gone : {kClassKey, std::wstring(L"Corvane.CorvaneExt"),
                                   std::wstring(L"Corvane.CorvaneExt.1")}) {
    EXPECT_FALSE(KeyExists(HKEY_CLASSES_ROOT, gone)) << std::string(gone.begin(), gone.end());
  }
  EXPECT_TRUE(KeyExists(HKEY_CLASSES_ROOT, L"CLSID"));
}

void ExpectUnregistered() {
  ExpectClassGone();
  // The icon handler keys stay and name the system's handler again.
  EXPECT_EQ(ReadString(HKEY_CLASSES_ROOT, kLnkHandler, L""), kSystemHandler);
  EXPECT_EQ(ReadString(HKEY_CLASSES_ROOT, kPifHandler, L""), kSystemHandler);
}

class CorvaneRegistration : public ::testing::Test {
 protected:
  void SetUp() override { CoInitialize(nullptr); }
  void TearDown() override {
    Regsvr32(L"/u " + Quoted(dll_));
    CoUninitialize();
  }
  const std::wstring dll_ = corvane_test::CorvaneDllPath();
};

TEST_F(CorvaneRegistration, RegisterWritesTheClassAndUnregisterRestoresTheSystemHandler) {
  ASSERT_NE(ShortPath(dll_), dll_) << "the module's path should have a distinct short form";
  ASSERT_EQ(Regsvr32(Quoted(dll_)), 0u);
  ExpectRegistration(dll_);
  EXPECT_FALSE(KeyExists(HKEY_CLASSES_ROOT, L"TypeLib\\{7126CBA2-496F-4427-AA2A-1EEE35078251}"))
      << "the type library is not registered";

  IPersistFile* file = nullptr;
  ASSERT_EQ(CoCreateInstance(corvane_test::kClsidCorvaneExt, nullptr, CLSCTX_INPROC_SERVER,
                             IID_IPersistFile, reinterpret_cast<void**>(&file)),
            S_OK);
  IExtractIconW* extract = nullptr;
  EXPECT_EQ(file->QueryInterface(IID_IExtractIconW, reinterpret_cast<void**>(&extract)), S_OK);
  extract->Release();
  file->Release();

  ASSERT_EQ(Regsvr32(L"/u " + Quoted(dll_)), 0u);
  ExpectUnregistered();
}

TEST_F(CorvaneRegistration, RegisteringAgainRecreatesTheClassKey) {
  ASSERT_EQ(Regsvr32(Quoted(dll_)), 0u);
  HKEY stray = nullptr;
  ASSERT_EQ(RegCreateKeyExW(HKEY_CLASSES_ROOT, (kClassKey + L"\\Stray").c_str(), 0, nullptr, 0,
                            KEY_WRITE, nullptr, &stray, nullptr),
            ERROR_SUCCESS);
  RegCloseKey(stray);
  ASSERT_EQ(RegSetKeyValueW(HKEY_CLASSES_ROOT, (kClassKey + L"\\InprocServer32").c_str(),
                            L"Stray", REG_SZ, L"x", 4),
            ERROR_SUCCESS);

  ASSERT_EQ(Regsvr32(Quoted(dll_)), 0u);
  ExpectRegistration(dll_);
}

TEST_F(CorvaneRegistration, UnregisteringWhatIsNotRegisteredSucceeds) {
  Regsvr32(L"/u " + Quoted(dll_));
  const auto lnkBefore = ReadString(HKEY_CLASSES_ROOT, kLnkHandler, L"");
  const auto pifBefore = ReadString(HKEY_CLASSES_ROOT, kPifHandler, L"");
  corvane_test::CorvaneExports exports = corvane_test::LoadCorvane();
  ASSERT_NE(exports.unregisterServer, nullptr);
  EXPECT_EQ(exports.unregisterServer(), S_OK);
  ExpectClassGone();
  EXPECT_EQ(ReadString(HKEY_CLASSES_ROOT, kLnkHandler, L""), lnkBefore);
  EXPECT_EQ(ReadString(HKEY_CLASSES_ROOT, kPifHandler, L""), pifBefore);
  FreeLibrary(exports.module);
}

TEST_F(CorvaneRegistration, UnregisteringLeavesAnotherHandlerAlone) {
  ASSERT_EQ(Regsvr32(Quoted(dll_)), 0u);
  // Another product took over shortcut icons after the registration.
  const wchar_t other[] = L"{11111111-2222-3333-4444-555555555555}";
  ASSERT_EQ(RegSetKeyValueW(HKEY_CLASSES_ROOT, kLnkHandler.c_str(), nullptr, REG_SZ, other,
                            sizeof other),
            ERROR_SUCCESS);
  ASSERT_EQ(Regsvr32(L"/u " + Quoted(dll_)), 0u);
  const auto lnk = ReadString(HKEY_CLASSES_ROOT, kLnkHandler, L"");
  RegSetKeyValueW(HKEY_CLASSES_ROOT, kLnkHandler.c_str(), nullptr, REG_SZ, kSystemHandler.c_str(),
                  static_cast<DWORD>((kSystemHandler.size() + 1) * sizeof(wchar_t)));
  ExpectClassGone();
  EXPECT_EQ(lnk, std::wstring(other));
  EXPECT_EQ(ReadString(HKEY_CLASSES_ROOT, kPifHandler, L""), kSystemHandler);
}

TEST_F(CorvaneRegistration, AQuoteInTheModulePathIsKept) {
  // "O'K" is a valid short name, so the quote survives into the short path.
  const std::wstring directory = L"C:\\gcom\\O'K";
  const std::wstring copy = directory + L"\\Corvane.dll";
  CreateDirectoryW(L"C:\\gcom", nullptr);
  CreateDirectoryW(directory.c_str(), nullptr);
  ASSERT_TRUE(CopyFileW(dll_.c_str(), copy.c_str(), FALSE));
  ASSERT_NE(ShortPath(copy).find(L'\''), std::wstring::npos);

  ASSERT_EQ(Regsvr32(Quoted(copy)), 0u);
  EXPECT_EQ(ReadString(HKEY_CLASSES_ROOT, kClassKey + L"\\InprocServer32", L""), ShortPath(copy));
  ASSERT_EQ(Regsvr32(L"/u " + Quoted(copy)), 0u);
  EXPECT_FALSE(KeyExists(HKEY_CLASSES_ROOT, kClassKey));
  DeleteFileW(copy.c_str());
}

TEST_F(CorvaneRegistration, LinksUnderTheClassKeyAreDeletedAsLinks) {
  // The class key as the registry itself names it, behind HKEY_CLASSES_ROOT.
  const std::wstring classes = L"Software\\Classes\\" + kClassKey;
  const std::wstring victim = L"Software\\QrVictim2";
  ASSERT_EQ(RegSetKeyValueW(HKEY_LOCAL_MACHINE, (victim + L"\\Config\\Deep").c_str(), L"Boot",
                            REG_SZ, L"1", 4),
            ERROR_SUCCESS);
  ASSERT_EQ(Regsvr32(Quoted(dll_)), 0u);
  using platform::tests::CreateRegistryLink;
  ASSERT_EQ(CreateRegistryLink(HKEY_LOCAL_MACHINE, classes + L"\\Enum",
                               L"\\Registry\\Machine\\" + victim),
            ERROR_SUCCESS);
  ASSERT_EQ(CreateRegistryLink(HKEY_LOCAL_MACHINE, classes + L"\\Loop",
                               L"\\Registry\\Machine\\" + classes),
            ERROR_SUCCESS);

  const DWORD registered = Regsvr32(Quoted(dll_));
  // Whatever the outcome, no link may outlive the test.
  platform::tests::DeleteTreeWithLinks(HKEY_LOCAL_MACHINE, classes + L"\\Enum");
  platform::tests::DeleteTreeWithLinks(HKEY_LOCAL_MACHINE, classes + L"\\Loop");
  EXPECT_EQ(registered, 0u) << "registering over a link loop must not crash";
  ExpectRegistration(dll_);
  EXPECT_EQ(SubkeyNames(HKEY_LOCAL_MACHINE, victim), std::set<std::wstring>{L"Config"});
  EXPECT_EQ(ReadString(HKEY_LOCAL_MACHINE, victim + L"\\Config\\Deep", L"Boot"), L"1");
  platform::tests::DeleteTreeWithLinks(HKEY_LOCAL_MACHINE, victim);
}

TEST_F(CorvaneRegistration, UnregisteringDeletesALinkInThePlaceOfTheClassKey) {
  // The class key replaced by a link into a tree laid out like ours.
  const std::wstring classes = L"Software\\Classes\\" + kClassKey;
  const std::wstring victim = L"Software\\QrVictim3";
  ASSERT_EQ(RegSetKeyValueW(HKEY_LOCAL_MACHINE, (victim + L"\\InprocServer32").c_str(),
                            L"ThreadingModel", REG_SZ, L"Both", 10),
            ERROR_SUCCESS);
  platform::tests::DeleteTreeWithLinks(HKEY_LOCAL_MACHINE, classes);
  ASSERT_EQ(platform::tests::CreateRegistryLink(HKEY_LOCAL_MACHINE, classes,
                                                L"\\Registry\\Machine\\" + victim),
            ERROR_SUCCESS);

  const DWORD unregistered = Regsvr32(L"/u " + Quoted(dll_));
  const bool linkLeft = KeyExists(HKEY_LOCAL_MACHINE, classes);
  platform::tests::DeleteTreeWithLinks(HKEY_LOCAL_MACHINE, classes);
  EXPECT_EQ(unregistered, 0u);
  EXPECT_FALSE(linkLeft);
  EXPECT_EQ(ReadString(HKEY_LOCAL_MACHINE, victim + L"\\InprocServer32", L"ThreadingModel"),
            L"Both");
  platform::tests::DeleteTreeWithLinks(HKEY_LOCAL_MACHINE, victim);
}

}  // namespace
