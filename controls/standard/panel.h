#pragma once
// TPanel: a container with a background colour, an inner and an outer
// bevel and a caption.

#include <cstdint>
#include <string>

#include "controls/standard/alignment.h"
#include "ui/win_control.h"

namespace controls {

enum class TPanelBevel : std::int32_t { bvNone, bvLowered, bvRaised, bvSpace };

class TPanel : public ui::WinControl {
 public:
  TPanel();
  static const ui::ClassInfo& StaticClass();
  const ui::ClassInfo& Class() const override { return StaticClass(); }

  const std::string& Caption() const { return caption_; }
  void SetCaption(const std::string& caption);
  TPanelBevel BevelInner() const { return bevelInner_; }
  void SetBevelInner(TPanelBevel bevel);
  TPanelBevel BevelOuter() const { return bevelOuter_; }
  void SetBevelOuter(TPanelBevel bevel);
  int BevelWidth() const { return bevelWidth_; }
  void SetBevelWidth(int width);
  TAlignment Alignment() const { return alignment_; }
  void SetAlignment(TAlignment alignment);

  // How far the bevels reach in from every edge: the bevel width for each
  // of the two bevels that is lowered or raised.
  int BevelInset() const;

 private:
  std::string caption_;
  TPanelBevel bevelInner_ = TPanelBevel::bvNone;
  TPanelBevel bevelOuter_ = TPanelBevel::bvRaised;
  int bevelWidth_ = 1;
  TAlignment alignment_ = TAlignment::taCenter;
};

}  // namespace controls
