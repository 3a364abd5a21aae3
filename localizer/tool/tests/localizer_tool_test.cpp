// The tool under Wine: the program's forms built from the program's own
// stored forms without being shown, their one localizer found, and "Save
// data..." carried out through the real save dialog and question box onto
// a language file written with the profile functions.

#include <gtest/gtest.h>
#include <windows.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "app/win32/program_painters.h"
#include "app/win32/win32_desktop.h"
#include "localizer/editors/win32/tests/user_script.h"
#include "localizer/editors/win32/win32_editor_ui.h"
#include "localizer/tool/program_forms.h"
#include "localizer/tool/tool_window.h"
#include "localizer/win32/profile_store.h"
#include "platform/win32/wide_text.h"
#include "platform/win32/win32_machine.h"
#include "scanner/scan_context.h"
#include "ui/win32/application.h"
#include "ui/win32/win32_window_system.h"

namespace localizer {
namespace {

using testing::ShownWindow;

constexpr int kFileNameCombo = 0x47c;  // cmb13: the Explorer-style dialog's file name
constexpr int kFileNameEdit = 0x480;   // edt1: the same in the older dialog

class LocalizerToolTest : public ::testing::Test {
 protected:
  LocalizerToolTest()
      : windows(application), desktop(application, windows), ui(application, windows) {
    application.SetTitle("Localizer Tool");
    app::RegisterProgramPainters(windows);
    RegisterEditorWindows(windows);
    forms = BuildProgramForms(windows, desktop, context);
    localizers = FindLocalizers(forms);
    for (const auto& found : localizers) {
      found.localizer->SetStoreOpener(win32::ProfileStoreOpener());
    }
    wchar_t temp[MAX_PATH] = {};
    GetTempPathW(MAX_PATH, temp);
    file = platform::win32::ToUtf8(temp) + "qr-localizer-tool-" +
           std::to_string(GetCurrentProcessId()) + ".loc";
    DeleteFileW(platform::win32::ToWide(file).c_str());
  }
  ~LocalizerToolTest() override { DeleteFileW(platform::win32::ToWide(file).c_str()); }

  std::string FileBytes() {
    const auto head = machine.files.ReadHead(file, 1 << 20);
    return head ? std::string(head->bytes.begin(), head->bytes.end()) : std::string();
  }

  // "Save data..." from the tool window, choosing `file` in the save
  // dialog; `more` are the steps after the dialog closed.
  void SaveData(std::vector<testing::UserScript::Step> more) {
    TfrmLocalizerTool tool(windows, localizers, ui, machine.files, machine.text);
    std::vector<testing::UserScript::Step> steps = {
        [&] {
          HWND window = ShownWindow(nullptr, L"Localizer Tool");
          if (window == nullptr) return false;
          PostMessageW(FindWindowExW(window, nullptr, L"Button", L"Save data..."), BM_CLICK, 0, 0);
          return true;
        },
        [&] {
          HWND dialog = ShownWindow(L"#32770", L"Save file");
          if (dialog == nullptr) return false;
          const std::wstring name = platform::win32::ToWide(file);
          if (!SetDlgItemTextW(dialog, kFileNameCombo, name.c_str())) {
            SetDlgItemTextW(dialog, kFileNameEdit, name.c_str());
          }
          PostMessageW(GetDlgItem(dialog, IDOK), BM_CLICK, 0, 0);
          return true;
        },
    };
    steps.insert(steps.end(), more.begin(), more.end());
    steps.push_back([&] {
      if (ShownWindow(L"#32770", nullptr) != nullptr) return false;
      tool.Close();
      return true;
    });
    testing::UserScript script(std::move(steps));
    const int timer = windows.StartTimer(30, [&] { script.Tick(); });
    tool.ShowModal();
    windows.StopTimer(timer);
    EXPECT_TRUE(script.Done());
  }

  ui::win32::Application application;
  ui::win32::Win32WindowSystem windows;
  platform::win32::Win32Machine machine;
  scanner::ScanContext context{machine.machine(), {}};
  app::Win32Desktop desktop;
  Win32EditorUi ui;
  std::vector<std::unique_ptr<ui::Form>> forms;
  std::vector<FormLocalizer> localizers;
  std::string file;
};

TEST_F(LocalizerToolTest, TheProgramsFormsHoldOneLocalizerOnTheTimedMessageForm) {
  ASSERT_EQ(forms.size(), 5u);
  for (const auto& form : forms) EXPECT_FALSE(IsWindowVisible(windows.WindowOf(*form)));
  ASSERT_EQ(localizers.size(), 1u);
  EXPECT_EQ(localizers[0].formName, "frmExMes");
  EXPECT_EQ(localizers[0].localizer->Name(), "Localizer1");
  EXPECT_EQ(localizers[0].localizer->AppName(), "Wellgrist");
}

TEST_F(LocalizerToolTest, SaveDataWritesTheFormAndAsksBeforeTouchingAnExistingFile) {
  ASSERT_EQ(localizers.size(), 1u);
  SaveData({});
  auto store = win32::ProfileStoreOpener()(file);
  EXPECT_EQ(store->ReadString("@Info", "Description", "?"), "TLocalizer Data File");
  EXPECT_FALSE(store->ReadSection("Wellgrist.frmExMes").empty());
  const std::string written = FileBytes();
  ASSERT_FALSE(written.empty());

  // Again, onto the file that now exists: the question, answered No.
  SaveData({[&] {
    HWND box = ShownWindow(L"#32770", L"TLocalizer");
    if (box == nullptr) return false;
    wchar_t text[1024] = {};
    for (HWND child = FindWindowExW(box, nullptr, L"Static", nullptr); child != nullptr;
         child = FindWindowExW(box, child, L"Static", nullptr)) {
      if (GetWindowTextW(child, text, 1024) > 10) break;
    }
    const std::wstring expected = L"File \"" + platform::win32::ToWide(file) +
                                  L"\" already exists.\rAppend/refresh information?";
    EXPECT_EQ(std::wstring(text), expected);
    PostMessageW(box, WM_COMMAND, IDNO, 0);
    return true;
  }});
  EXPECT_EQ(FileBytes(), written);
}

}  // namespace
}  // namespace localizer
