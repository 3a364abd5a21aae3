#include "controls/standard/popup_menu.h"

#include <algorithm>
#include <stdexcept>

#include "ui/class_info.h"
#include "ui/publish.h"

namespace controls {

const ui::ClassInfo& TMenuItem::StaticClass() {
  static const ui::ClassInfo info(
      "TMenuItem", &ui::Component::StaticClass(),
      ui::Publish<TMenuItem>()
          .Text("Caption", &TMenuItem::Caption, &TMenuItem::SetCaption, std::string())
          .Done());
  return info;
}

TMenuItem::~TMenuItem() {
  if (menu_) menu_->Remove(*this);
}

void TMenuItem::SetParentComponent(ui::Component& parent) {
  auto* menu = dynamic_cast<TPopupMenu*>(&parent);
  if (!menu) throw std::invalid_argument("a menu item belongs in a menu");
  menu->Add(*this);
}

const ui::ClassInfo& TPopupMenu::StaticClass() {
  static const ui::ClassInfo info("TPopupMenu", &ui::Component::StaticClass(), {});
  return info;
}

TPopupMenu::~TPopupMenu() {
  for (TMenuItem* item : items_) item->menu_ = nullptr;
}

void TPopupMenu::Add(TMenuItem& item) {
  if (item.menu_) item.menu_->Remove(item);
  item.menu_ = this;
  items_.push_back(&item);
}

void TPopupMenu::Remove(TMenuItem& item) {
  items_.erase(std::remove(items_.begin(), items_.end(), &item), items_.end());
  item.menu_ = nullptr;
}

}  // namespace controls
