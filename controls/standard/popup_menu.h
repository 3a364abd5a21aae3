#pragma once
// TPopupMenu with its TMenuItem entries. The windows keep texts here as
// captions of named items, where the program reads them; the menu itself
// is attached to nothing and never shown.

#include <string>
#include <vector>

#include "ui/component.h"

namespace controls {

class TPopupMenu;

class TMenuItem : public ui::Component {
 public:
  ~TMenuItem() override;
  static const ui::ClassInfo& StaticClass();
  const ui::ClassInfo& Class() const override { return StaticClass(); }

  const std::string& Caption() const { return caption_; }
  void SetCaption(const std::string& caption) { caption_ = caption; }
  TPopupMenu* Menu() const { return menu_; }
  // Nested in a stored form: the enclosing menu takes the item.
  void SetParentComponent(ui::Component& parent) override;

 private:
  friend class TPopupMenu;
  std::string caption_;
  TPopupMenu* menu_ = nullptr;
};

class TPopupMenu : public ui::Component {
 public:
  ~TPopupMenu() override;
  static const ui::ClassInfo& StaticClass();
  const ui::ClassInfo& Class() const override { return StaticClass(); }

  // The items in the order they were added; an item leaves when it goes.
  const std::vector<TMenuItem*>& Items() const { return items_; }
  void Add(TMenuItem& item);

 private:
  friend class TMenuItem;
  void Remove(TMenuItem& item);

  std::vector<TMenuItem*> items_;
};

}  // namespace controls
