#pragma once
// The results dialog: every finding in a row with a check box, registry
// keys first; "Remove Selected" answers OK and the caller then cuts its
// lists down to the rows left checked.

#include "app/windows/stored_window.h"
#include "scanner/findings.h"

namespace app {

class TfrmFound : public StoredWindow {
 public:
  TfrmFound(ui::WindowSystem& windows, Desktop& desktop);
  static const ui::ClassInfo& StaticClass();
  const ui::ClassInfo& Class() const override { return StaticClass(); }

  // The kind tag of a row: which list it goes back to.
  static constexpr int kRegistryKeyRow = 0;
  static constexpr int kFileRow = 1;

  // Either list may be absent; its rows are then left out.
  void FillList(const scanner::Findings* RegistryFindings, const scanner::Findings* FileFindings);
  // With every row checked both lists stay exactly as they are; otherwise,
  // when both are given, they are rebuilt from the checked rows by kind tag
  // (rows with an empty value dropped).
  void ApplySelection(scanner::Findings* RegistryFindings, scanner::Findings* FileFindings);

  void btRemoveClick(ui::Component& Sender);
  void btExitClick(ui::Component& Sender);
};

}  // namespace app
