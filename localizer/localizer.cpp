#include "localizer/localizer.h"

#include <algorithm>
#include <memory>
#include <stdexcept>
#include <string_view>
#include <vector>

#include "ui/class_info.h"
#include "ui/font.h"
#include "ui/publish.h"

namespace localizer {
namespace {

constexpr const char* kNotice = "Copyright (C) 2000 Halvorn Software";
// A list section may claim any count; beyond this many lines it is taken
// as hostile rather than filled with empty lines until memory runs out.
constexpr int kMaxListLines = 65536;

char Fold(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

// Ascending, ASCII letters without regard to case; a name before any
// longer name that begins with it.
bool NameBefore(const ui::PropertyInfo* a, const ui::PropertyInfo* b) {
  return std::lexicographical_compare(a->name.begin(), a->name.end(), b->name.begin(),
                                      b->name.end(),
                                      [](char x, char y) { return Fold(x) < Fold(y); });
}

std::string FilteredAppName(const std::string& appName) {
  std::string kept;
  for (const char c : appName) {
    const bool letter = (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
    if (letter || (c >= '0' && c <= '9') || c == '_') kept += c;
  }
  return kept.empty() ? "NonameApplication" : kept;
}

std::string RootName(const ui::Component& root) {
  const std::string& name = root.Name();
  return name.substr(0, name.find('_'));
}

struct Published {
  std::vector<const ui::PropertyInfo*> texts, lists, fonts;
};

Published PublishedOf(const ui::ClassInfo& info) {
  Published found;
  for (const ui::PropertyInfo* p : info.Properties()) {
    if (p->kind == ui::PropertyKind::Text && p->name != "Name") {
      found.texts.push_back(p);
    } else if (p->kind == ui::PropertyKind::Object && p->objectClass) {
      if (p->objectClass->InheritsFrom(ui::StringList::StaticClass())) found.lists.push_back(p);
      if (p->objectClass == &ui::Font::StaticClass()) found.fonts.push_back(p);
    }
  }
  for (auto* kind : {&found.texts, &found.lists, &found.fonts}) {
    std::stable_sort(kind->begin(), kind->end(), NameBefore);
  }
  return found;
}

void Transfer(KeyedStore& store, const std::string& section, ui::Component& c,
              TDirection direction) {
  const bool writing = direction == TDirection::dirWrite;
  if (writing) store.EraseSection(section);
  if (c.Name().empty()) return;
  const Published published = PublishedOf(c.Class());

  for (const ui::PropertyInfo* p : published.texts) {
    const std::string current = std::get<std::string>(p->get(c));
    if (writing) {
      if (!current.empty()) store.WriteString(section, p->name, current);
    } else {
      p->set(c, store.ReadString(section, p->name, current));
    }
  }

  for (const ui::PropertyInfo* p : published.lists) {
    auto* list = static_cast<ui::StringList*>(p->object(c));
    if (!list) continue;
    for (std::size_t i = 0; i < list->Count(); ++i) {
      const std::string key = p->name + "." + std::to_string(i);
      if (writing) {
        store.WriteString(section, key, list->Line(i));
      } else {
        list->SetLine(i, store.ReadString(section, key, list->Line(i)));
      }
    }
  }

  if (!c.IsVisualControl()) return;
  for (const ui::PropertyInfo* p : published.fonts) {
    auto* font = static_cast<ui::Font*>(p->object(c));
    if (!font) continue;
    if (writing) {
      store.WriteString(section, "Font.Name", font->Name());
      store.WriteInteger(section, "Font.Charset", font->Charset());
      store.WriteInteger(section, "Font.Size", font->Size());
      continue;
    }
    font->SetName(store.ReadString(section, "Font.Name", font->Name()));
    font->SetCharset(std::clamp(store.ReadInteger(section, "Font.Charset", font->Charset()), 0, 255));
    // The size as it stands rounds a pixel height; setting it again would
    // trade that height for the rounded one.
    const int size = store.ReadInteger(section, "Font.Size", font->Size());
    if (size != font->Size()) font->SetSize(size);
  }
}

void WriteHeader(KeyedStore& store, const std::string& prefix) {
  store.WriteString("@Info", "Description", "TLocalizer Data File");
  store.WriteString("@Info", "Version", "1.0");
  store.WriteString("@Info", "Copyright", kNotice);
  const std::string own = prefix + ".@Info";
  store.WriteString(own, "Language", "English");
  store.WriteString(own, "Copyright", kNotice);
  store.WriteString(own, "Info", "Created by TLocalizer");
}

}  // namespace

const ui::ClassInfo& TLocalizer::StaticClass() {
  static const ui::ClassInfo info(
      "TLocalizer", &ui::Component::StaticClass(),
      ui::Publish<TLocalizer>()
          .Text("AppName", &TLocalizer::AppName, &TLocalizer::SetAppName, "")
          .EventOf("OnLocalize", &TLocalizer::OnLocalize)
          .Done());
  return info;
}

TLocalizer::TLocalizer() : copyright_("Copyright (C) 2001 Halvorn Software") {}

std::unique_ptr<KeyedStore> TLocalizer::OpenStore(const std::string& fileName) const {
  if (!openStore_) throw std::logic_error("the localizer has no way to open " + fileName);
  return openStore_(fileName);
}

void TLocalizer::LocalizeComponent(const std::string& FileName, const std::string& AppName,
                                   ui::Component& Component, const ui::Component* Exclude,
                                   TDirection Direction) {
  const std::string prefix = FilteredAppName(AppName);
  const std::unique_ptr<KeyedStore> store = OpenStore(FileName);
  if (Direction == TDirection::dirWrite) WriteHeader(*store, prefix);
  const std::string rootSection = prefix + "." + RootName(Component);

  auto visit = [&](ui::Component& c, const std::string& section) {
    bool enable = &c != this && &c != Exclude;
    OnLocalize(*this, c, enable);
    if (enable) Transfer(*store, section, c, Direction);
  };
  visit(Component, rootSection);
  for (std::size_t i = 0; i < Component.ComponentCount(); ++i) {
    ui::Component& owned = Component.Components(i);
    visit(owned, rootSection + "." + owned.Name());
  }
}

void TLocalizer::LoadData(const std::string& FileName) {
  if (Owner()) LocalizeComponent(FileName, appName_, *Owner(), nullptr, TDirection::dirRead);
  const std::unique_ptr<KeyedStore> store = OpenStore(FileName);
  std::vector<std::string> lines;
  store->ReadSectionValues(appName_ + ".@Data", lines);
  strings_.SetLines(std::move(lines));
  const std::string info = appName_ + ".@Info";
  language_ = store->ReadString(info, "Language", "");
  copyright_ = store->ReadString(info, "Copyright", "");
  info_ = store->ReadString(info, "Info", "");
}

void TLocalizer::SaveData(const std::string& FileName) {
  if (Owner()) LocalizeComponent(FileName, appName_, *Owner(), nullptr, TDirection::dirWrite);
}

std::string TLocalizer::GetString(const std::string& Name, const std::string& Default) const {
  for (const std::string& line : strings_.Lines()) {
    const std::size_t equals = line.find('=');
    if (equals != std::string::npos && ui::SameName(std::string_view(line).substr(0, equals), Name)) {
      return line.substr(equals + 1);
    }
  }
  return Default;
}

void TLocalizer::LoadList(ui::StringList& List, const std::string& FileName,
                          const std::string& Section) {
  const std::unique_ptr<KeyedStore> store = OpenStore(FileName);
  List.Clear();
  const std::string section = appName_ + "." + Section;
  const int count = std::min(store->ReadInteger(section, "Count", 0), kMaxListLines);
  std::vector<std::string> lines;
  for (int i = 0; i < count; ++i) lines.push_back(store->ReadString(section, std::to_string(i), ""));
  List.SetLines(std::move(lines));
}

}  // namespace localizer
