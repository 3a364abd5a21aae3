#include "app/windows/found.h"

#include "controls/enhlv/enhlv.h"
#include "controls/standard/popup_menu.h"
#include "ui/class_info.h"

namespace app {
namespace {

using controls::TEnhListView;
using controls::TListItems;

// Ends a batch of row changes however the filling ends.
class UpdateLock {
 public:
  explicit UpdateLock(TListItems& items) : items_(items) { items_.BeginUpdate(); }
  ~UpdateLock() { items_.EndUpdate(); }
  UpdateLock(const UpdateLock&) = delete;
  UpdateLock& operator=(const UpdateLock&) = delete;

 private:
  TListItems& items_;
};

void AddRows(TListItems& items, const scanner::Findings& findings, const std::string& kindText,
             int kindTag) {
  for (const std::string& value : findings) {
    controls::TReplacementListItem& row = items.Add();
    row.SetChecked(true);
    row.SetCaption(kindText);
    row.SetData(kindTag);
    row.SubItems().Add(value);
  }
}

}  // namespace

const ui::ClassInfo& TfrmFound::StaticClass() {
  static const ui::ClassInfo info("TfrmFound", &ui::Form::StaticClass(), {});
  return info;
}

TfrmFound::TfrmFound(ui::WindowSystem& windows, Desktop& desktop)
    : StoredWindow(windows, desktop) {
  Load("FOUND", {
                    {"btRemoveClick", [this](ui::Component& s) { btRemoveClick(s); }},
                    {"btExitClick", [this](ui::Component& s) { btExitClick(s); }},
                });
}

void TfrmFound::FillList(const scanner::Findings* RegistryFindings,
                         const scanner::Findings* FileFindings) {
  TListItems& items = Field<TEnhListView>("lvList").Items();
  try {
    UpdateLock lock(items);
    items.Clear();
    // The kind texts are read now, so that a translated caption shows.
    if (RegistryFindings != nullptr) {
      AddRows(items, *RegistryFindings, Field<controls::TMenuItem>("constRegistryKey").Caption(),
              kRegistryKeyRow);
    }
    if (FileFindings != nullptr) {
      AddRows(items, *FileFindings, Field<controls::TMenuItem>("constFile").Caption(), kFileRow);
    }
  } catch (...) {
    // What was added stays; the list is never left locked.
  }
}

void TfrmFound::ApplySelection(scanner::Findings* RegistryFindings,
                               scanner::Findings* FileFindings) {
  try {
    const TListItems& items = Field<TEnhListView>("lvList").Items();
    bool allChecked = true;
    for (int i = 0; i < items.Count() && allChecked; ++i) allChecked = items[i].Checked();
    if (allChecked || RegistryFindings == nullptr || FileFindings == nullptr) return;
    RegistryFindings->clear();
    FileFindings->clear();
    for (int i = 0; i < items.Count(); ++i) {
      const controls::TReplacementListItem& row = items[i];
      if (!row.Checked() || row.SubItems().Count() == 0) continue;
      const std::string& value = row.SubItems().Text(0);
      if (value.empty()) continue;
      (row.Data() == kRegistryKeyRow ? *RegistryFindings : *FileFindings).push_back(value);
    }
  } catch (...) {
    // The lists keep what was rebuilt so far.
  }
}

void TfrmFound::btRemoveClick(ui::Component&) {
  // Closing a modal form answers Cancel; the OK set after it is what counts.
  Close();
  SetModalResult(ui::mrOk);
}

void TfrmFound::btExitClick(ui::Component&) { Close(); }

}  // namespace app
