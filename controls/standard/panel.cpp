#include "controls/standard/panel.h"

#include "ui/class_info.h"
#include "ui/publish.h"

namespace controls {
namespace {

int Reach(TPanelBevel bevel, int width) {
  return bevel == TPanelBevel::bvLowered || bevel == TPanelBevel::bvRaised ? width : 0;
}

const std::vector<std::string> kBevels = {"bvNone", "bvLowered", "bvRaised", "bvSpace"};

}  // namespace

const ui::ClassInfo& TPanel::StaticClass() {
  static const ui::ClassInfo info(
      "TPanel", &ui::WinControl::StaticClass(),
      ui::Publish<TPanel>()
          .Text("Caption", &TPanel::Caption, &TPanel::SetCaption, std::string())
          .Enumeration("BevelInner", &TPanel::BevelInner, &TPanel::SetBevelInner, kBevels,
                       TPanelBevel::bvNone)
          .Enumeration("BevelOuter", &TPanel::BevelOuter, &TPanel::SetBevelOuter, kBevels,
                       TPanelBevel::bvRaised)
          .Integer("BevelWidth", &TPanel::BevelWidth, &TPanel::SetBevelWidth, 1, 1, 1000)
          .Enumeration("Alignment", &TPanel::Alignment, &TPanel::SetAlignment, AlignmentNames(),
                       TAlignment::taCenter)
          .Done());
  return info;
}

TPanel::TPanel() { SetBounds(0, 0, 185, 41); }

void TPanel::SetCaption(const std::string& caption) {
  if (caption == caption_) return;
  caption_ = caption;
  Invalidate();
}

void TPanel::SetBevelInner(TPanelBevel bevel) {
  if (bevel == bevelInner_) return;
  bevelInner_ = bevel;
  Invalidate();
}

void TPanel::SetBevelOuter(TPanelBevel bevel) {
  if (bevel == bevelOuter_) return;
  bevelOuter_ = bevel;
  Invalidate();
}

void TPanel::SetBevelWidth(int width) {
  if (width == bevelWidth_) return;
  bevelWidth_ = width;
  Invalidate();
}

void TPanel::SetAlignment(TAlignment alignment) {
  if (alignment == alignment_) return;
  alignment_ = alignment;
  Invalidate();
}

int TPanel::BevelInset() const {
  return Reach(bevelInner_, bevelWidth_) + Reach(bevelOuter_, bevelWidth_);
}

}  // namespace controls
