#pragma once
// TLocalizer: moves every text of its owner form, and of the components the
// form owns, to and from a language data file, and holds a table of named
// strings. It never acts by itself; the design-time editors call it.

#include <string>

#include "localizer/loccommon.h"
#include "ui/component.h"
#include "ui/event.h"
#include "ui/string_list.h"

namespace localizer {

enum class TDirection { dirRead = 0, dirWrite = 1 };

class TLocalizer;
using TLocalizeEvent = void(TLocalizer& Sender, ui::Component& Component, bool& Enable);

class TLocalizer : public ui::Component {
 public:
  TLocalizer();
  static const ui::ClassInfo& StaticClass();
  const ui::ClassInfo& Class() const override { return StaticClass(); }

  // How this localizer opens a language data file. A localizer built from
  // a stored form has none until the tool that drives it sets one; the
  // operations throw std::logic_error without it.
  void SetStoreOpener(StoreOpener opener) { openStore_ = std::move(opener); }

  const std::string& AppName() const { return appName_; }
  void SetAppName(const std::string& name) { appName_ = name; }
  ui::Event<TLocalizeEvent> OnLocalize;

  ui::StringList& Strings() { return strings_; }
  const std::string& Language() const { return language_; }
  const std::string& Copyright() const { return copyright_; }
  const std::string& Info() const { return info_; }

  // Store errors (StoreError) pass to the caller; the file is closed.
  void LocalizeComponent(const std::string& FileName, const std::string& AppName,
                         ui::Component& Component, const ui::Component* Exclude,
                         TDirection Direction);
  void LoadData(const std::string& FileName);
  void SaveData(const std::string& FileName);
  std::string GetString(const std::string& Name, const std::string& Default) const;
  void LoadList(ui::StringList& List, const std::string& FileName, const std::string& Section);

  // The store this localizer opens on `fileName`.
  std::unique_ptr<KeyedStore> OpenStore(const std::string& fileName) const;

 private:
  StoreOpener openStore_;
  std::string appName_;
  ui::StringList strings_;
  std::string language_ = "English";
  std::string copyright_;
  std::string info_ = "Created by TLocalizer component";
};

}  // namespace localizer
