#pragma once
// TLabel: a line of text painted on its parent, optionally transparent,
// word-wrapped or centred, sizing itself to its text.

#include <cstdint>
#include <string>

#include "controls/standard/alignment.h"
#include "ui/control.h"

namespace controls {

// Where the text of a label sits from top to bottom.
enum class TTextLayout : std::int32_t { tlTop, tlCenter, tlBottom };

class TLabel : public ui::Control {
 public:
  TLabel();
  static const ui::ClassInfo& StaticClass();
  const ui::ClassInfo& Class() const override { return StaticClass(); }

  const std::string& Caption() const { return caption_; }
  void SetCaption(const std::string& caption);
  bool Transparent() const { return transparent_; }
  void SetTransparent(bool on);
  bool WordWrap() const { return wordWrap_; }
  void SetWordWrap(bool on);
  TAlignment Alignment() const { return alignment_; }
  void SetAlignment(TAlignment alignment);
  TTextLayout Layout() const { return layout_; }
  void SetLayout(TTextLayout layout);
  bool AutoSize() const { return autoSize_; }
  void SetAutoSize(bool on);

  void Loaded() override { FitText(); }

 protected:
  void FontChanged() override;

 private:
  // With AutoSize, one line of text fits exactly; a word-wrapped label
  // keeps its width and takes the height of its lines, measured as its
  // painter draws them (the window system's wrapped-text measure).
  void FitText();

  std::string caption_;
  bool transparent_ = false;
  bool wordWrap_ = false;
  TAlignment alignment_ = TAlignment::taLeftJustify;
  TTextLayout layout_ = TTextLayout::tlTop;
  bool autoSize_ = true;
};

}  // namespace controls
