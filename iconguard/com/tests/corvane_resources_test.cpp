// What Corvane.dll carries besides code: the registration script byte for
// byte, the type library, the blocked-shortcut icon, the project string and
// the version block.

#include <windows.h>
#include <oleauto.h>
#include <shellapi.h>

#include <cstdint>
#include <set>
#include <string>
#include <utility>

#include <gtest/gtest.h>

#include "corvane_dll.h"

namespace {

// Single-byte, CR LF line ends, no terminating zero.
const char kExpectedScript[] =
    "HKCR\r\n"
    "{\r\n"
    "\tCorvane.CorvaneExt.1 = s 'CorvaneExt Class'\r\n"
    "\t{\r\n"
    "\t\tCLSID = s '{A45D89B4-2E99-4E4D-A719-D7AAB775D750}'\r\n"
    "\t}\r\n"
    "\tCorvane.CorvaneExt = s 'CorvaneExt Class'\r\n"
    "\t{\r\n"
    "\t\tCLSID = s '{A45D89B4-2E99-4E4D-A719-D7AAB775D750}'\r\n"
    "\t\tCurVer = s 'Corvane.CorvaneExt.1'\r\n"
    "\t}\r\n"
    "\tNoRemove CLSID\r\n"
    "\t{\r\n"
    "\t\tForceRemove {A45D89B4-2E99-4E4D-A719-D7AAB775D750} = s 'CorvaneExt Class'\r\n"
    "\t\t{\r\n"
    "\t\t\tProgID = s 'Corvane.CorvaneExt.1'\r\n"
    "\t\t\tVersionIndependentProgID = s 'Corvane.CorvaneExt'\r\n"
    "\t\t\tInprocServer32 = s '%MODULE%'\r\n"
    "\t\t\t{\r\n"
    "\t\t\t\tval ThreadingModel = s 'Apartment'\r\n"
    "\t\t\t}\r\n"
    "\t\t\t'TypeLib' = s '{7126CBA2-496F-4427-AA2A-1EEE35078251}'\r\n"
    "\t\t}\r\n"
    "\t}\r\n"
    "NoRemove lnkfile\r\n"
    "{\r\n"
    "NoRemove ShellEx\r\n"
    "{\r\n"
    "NoRemove IconHandler = s '{A45D89B4-2E99-4E4D-A719-D7AAB775D750}'\r\n"
    "}\r\n"
    "}\r\n"
    "NoRemove piffile\r\n"
    "{\r\n"
    "NoRemove ShellEx\r\n"
    "{\r\n"
    "NoRemove IconHandler = s '{A45D89B4-2E99-4E4D-A719-D7AAB775D750}'\r\n"
    "}\r\n"
    "}\r\n"
    "}\r\n";

class CorvaneResources : public ::testing::Test {
 protected:
  void SetUp() override {
    path_ = corvane_test::CorvaneDllPath();
    module_ = LoadLibraryExW(path_.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    ASSERT_NE(module_, nullptr);
  }
  void TearDown() override {
    if (module_ != nullptr) FreeLibrary(module_);
  }

  std::string Resource(LPCWSTR name, LPCWSTR type) {
    HRSRC info = FindResourceW(module_, name, type);
    if (info == nullptr) return {};
    const auto* bytes = static_cast<const char*>(LockResource(LoadResource(module_, info)));
    return std::string(bytes, SizeofResource(module_, info));
  }

  std::wstring path_;
  HMODULE module_ = nullptr;
};

TEST_F(CorvaneResources, RegistryScriptIsTheExactText) {
  EXPECT_EQ(Resource(MAKEINTRESOURCEW(101), L"REGISTRY"),
            std::string(kExpectedScript, sizeof kExpectedScript - 1));
}

TEST_F(CorvaneResources, TypeLibraryDescribesTheClass) {
  CoInitialize(nullptr);
  ITypeLib* library = nullptr;
  ASSERT_EQ(LoadTypeLibEx(path_.c_str(), REGKIND_NONE, &library), S_OK);
  TLIBATTR* attr = nullptr;
  ASSERT_EQ(library->GetLibAttr(&attr), S_OK);
  const GUID libid = {0x7126CBA2, 0x496F, 0x4427, {0xAA, 0x2A, 0x1E, 0xEE, 0x35, 0x07, 0x82, 0x51}};
  EXPECT_TRUE(IsEqualGUID(attr->guid, libid));
  EXPECT_EQ(attr->wMajorVerNum, 1);
  EXPECT_EQ(attr->wMinorVerNum, 0);
  EXPECT_EQ(attr->lcid, 0x409u);
  library->ReleaseTLibAttr(attr);

  BSTR name = nullptr;
  BSTR help = nullptr;
  ASSERT_EQ(library->GetDocumentation(-1, &name, &help, nullptr, nullptr), S_OK);
  EXPECT_STREQ(name, L"CORVANELib");
  EXPECT_STREQ(help, L"Corvane 1.0 Type Library");
  SysFreeString(name);
  SysFreeString(help);

  const struct {
    const GUID* guid;
    TYPEKIND kind;
    const wchar_t* name;
    const wchar_t* help;
  } kTypes[] = {
      {&corvane_test::kClsidCorvaneExt, TKIND_COCLASS, L"CorvaneExt", L"CorvaneExt Class"},
      {&corvane_test::kIidICorvaneExt, TKIND_INTERFACE, L"ICorvaneExt", L"ICorvaneExt Interface"},
  };
  for (const auto& expected : kTypes) {
    ITypeInfo* info = nullptr;
    ASSERT_EQ(library->GetTypeInfoOfGuid(*expected.guid, &info), S_OK) << expected.name;
    TYPEATTR* type = nullptr;
    ASSERT_EQ(info->GetTypeAttr(&type), S_OK);
    EXPECT_EQ(type->typekind, expected.kind);
    EXPECT_EQ(type->cFuncs, 0);
    if (expected.kind == TKIND_COCLASS) {
      // The class implements ICorvaneExt.
      HREFTYPE ref = 0;
      ITypeInfo* implemented = nullptr;
      ASSERT_EQ(info->GetRefTypeOfImplType(0, &ref), S_OK);
      ASSERT_EQ(info->GetRefTypeInfo(ref, &implemented), S_OK);
      TYPEATTR* implementedType = nullptr;
      ASSERT_EQ(implemented->GetTypeAttr(&implementedType), S_OK);
      EXPECT_TRUE(IsEqualGUID(implementedType->guid, corvane_test::kIidICorvaneExt));
      implemented->ReleaseTypeAttr(implementedType);
      implemented->Release();
    }
    info->ReleaseTypeAttr(type);
    ASSERT_EQ(info->GetDocumentation(MEMBERID_NIL, &name, &help, nullptr, nullptr), S_OK);
    EXPECT_STREQ(name, expected.name);
    EXPECT_STREQ(help, expected.help);
    SysFreeString(name);
    SysFreeString(help);
    info->Release();
  }
  library->Release();
  CoUninitialize();
}

const LPCWSTR kGroupIcon = MAKEINTRESOURCEW(14);  // RT_GROUP_ICON

BOOL CALLBACK CollectName(HMODULE, LPCWSTR, LPWSTR name, LONG_PTR names) {
  reinterpret_cast<std::set<std::uintptr_t>*>(names)->insert(reinterpret_cast<std::uintptr_t>(name));
  return TRUE;
}

TEST_F(CorvaneResources, TheOnlyIconGroupHoldsTheNineImages) {
  std::set<std::uintptr_t> groups;
  EnumResourceNamesW(module_, kGroupIcon, CollectName, reinterpret_cast<LONG_PTR>(&groups));
  ASSERT_EQ(groups, std::set<std::uintptr_t>{202});
  EXPECT_EQ(ExtractIconExW(path_.c_str(), -1, nullptr, nullptr, 0), 1u);

  const std::string group = Resource(MAKEINTRESOURCEW(202), kGroupIcon);
  ASSERT_GE(group.size(), 6u);
  const auto* bytes = reinterpret_cast<const std::uint8_t*>(group.data());
  const unsigned count = bytes[4] | (bytes[5] << 8);
  ASSERT_EQ(group.size(), 6u + 14u * count);
  std::set<std::pair<int, int>> formats;  // (size, bits per pixel)
  for (unsigned i = 0; i < count; ++i) {
    const std::uint8_t* entry = bytes + 6 + 14 * i;
    EXPECT_EQ(entry[0], entry[1]) << "square images";
    formats.insert({entry[0], entry[6] | (entry[7] << 8)});
  }
  const std::set<std::pair<int, int>> expected = {{48, 4}, {48, 8}, {48, 32}, {32, 4}, {32, 8},
                                                  {32, 24}, {16, 4}, {16, 8}, {16, 24}};
  EXPECT_EQ(formats, expected);
  EXPECT_EQ(count, 9u);
}

TEST_F(CorvaneResources, StringTableNamesTheProject) {
  wchar_t text[32] = {};
  ASSERT_GT(LoadStringW(module_, 100, text, 32), 0);
  EXPECT_STREQ(text, L"Corvane");
}

TEST_F(CorvaneResources, VersionBlockDescribesTheLibrary) {
  DWORD handle = 0;
  const DWORD size = GetFileVersionInfoSizeW(path_.c_str(), &handle);
  ASSERT_GT(size, 0u);
  std::string block(size, '\0');
  ASSERT_TRUE(GetFileVersionInfoW(path_.c_str(), 0, size, block.data()));

  VS_FIXEDFILEINFO* fixed = nullptr;
  UINT length = 0;
  ASSERT_TRUE(VerQueryValueW(block.data(), L"\\", reinterpret_cast<void**>(&fixed), &length));
  EXPECT_EQ(fixed->dwFileVersionMS, 0x00010000u);
  EXPECT_EQ(fixed->dwFileVersionLS, 0x00000005u);
  EXPECT_EQ(fixed->dwProductVersionMS, 0x00010000u);
  EXPECT_EQ(fixed->dwProductVersionLS, 0x00000005u);
  EXPECT_EQ(fixed->dwFileType, static_cast<DWORD>(VFT_DLL));

  WORD* translation = nullptr;
  ASSERT_TRUE(VerQueryValueW(block.data(), L"\\VarFileInfo\\Translation",
                             reinterpret_cast<void**>(&translation), &length));
  ASSERT_EQ(length, 4u);
  EXPECT_EQ(translation[0], 0x0409);
  EXPECT_EQ(translation[1], 1200);

  const std::pair<const wchar_t*, const wchar_t*> kStrings[] = {
      {L"Comments", L"Defend against LNK vulnerability"},
      {L"FileDescription", L"Corvane Module"},
      {L"FileVersion", L"1, 0, 0, 5"},
      {L"InternalName", L"Corvane.DLL"},
      {L"OriginalFilename", L"Corvane.DLL"},
      {L"ProductName", L"QuorvexRemover"},
      {L"ProductVersion", L"1, 0, 0, 5"},
      {L"OLESelfRegister", L""},
  };
  for (const auto& [name, value] : kStrings) {
    const std::wstring query = std::wstring(L"\\StringFileInfo\\040904B0\\") + name;
    wchar_t* text = nullptr;
    length = 0;
    ASSERT_TRUE(VerQueryValueW(block.data(), query.c_str(), reinterpret_cast<void**>(&text),
                               &length))
        << "missing " << std::string(name, name + wcslen(name));
    EXPECT_EQ(std::wstring(text, wcsnlen(text, length)), value);
  }
}

}  // namespace
