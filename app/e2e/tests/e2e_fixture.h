#pragma once
// The end-to-end tests' ground: the real QuorvexRemover.exe on the Wine
// session's prefix and removable drive. Each test seeds what it needs and
// every seed goes again afterwards; a program a failed test leaves running
// is ended.

#include <windows.h>

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "app/e2e/quorvex_session.h"
#include "app/e2e/seeds.h"
#include "app/e2e/tests/drive_root.h"
#include "app/e2e/tests/machine_snapshot.h"
#include "platform/win32/wide_text.h"

namespace e2e::testing {

// A path of the build machine as the prefix's drive Z: shows it.
inline std::wstring FromBuildMachine(const char* path) {
  std::wstring windows = L"Z:" + platform::win32::ToWide(path);
  for (wchar_t& c : windows) {
    if (c == L'/') c = L'\\';
  }
  return windows;
}

inline std::wstring ProgramPath() { return FromBuildMachine(QR_E2E_PROGRAM); }

// The program's quarantine folder on the prefix.
inline std::wstring QuarantineFolder() {
  wchar_t programData[MAX_PATH];
  const DWORD length = ExpandEnvironmentStringsW(L"%ProgramData%", programData, MAX_PATH);
  if (length == 0 || length > MAX_PATH) return {};
  return std::wstring(programData) + L"\\Quorvex Remover\\Quarantine";
}

// Deletes every file in the quarantine folder: each test starts and leaves
// it empty.
inline void ClearQuarantine() {
  const std::wstring folder = QuarantineFolder();
  WIN32_FIND_DATAW found;
  const HANDLE search = FindFirstFileW((folder + L"\\*").c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) return;
  do {
    if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) continue;
    const std::wstring path = folder + L"\\" + found.cFileName;
    SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
    DeleteFileW(path.c_str());
  } while (FindNextFileW(search, &found));
  FindClose(search);
}

class EndToEnd : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_EQ(GetDriveTypeW(root.c_str()), static_cast<UINT>(DRIVE_REMOVABLE))
        << "run inside the Wine session, which maps a removable drive";
    RemoveSeeds(root);
    ClearQuarantine();
  }
  void TearDown() override {
    session.reset();
    RemoveSeeds(root);
    ClearQuarantine();
  }

  // Starts the program and waits for its main window.
  QuorvexSession& Start(const std::wstring& exe = ProgramPath()) {
    session = std::make_unique<QuorvexSession>(exe);
    return *session;
  }


  const std::wstring root = RemovableRoot();
  std::unique_ptr<QuorvexSession> session;
};

}  // namespace e2e::testing
