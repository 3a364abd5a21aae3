#include "controls/standard/label.h"

#include <optional>

#include "ui/class_info.h"
#include "ui/font.h"
#include "ui/publish.h"
#include "ui/window_system.h"

namespace controls {

const ui::ClassInfo& TLabel::StaticClass() {
  static const ui::ClassInfo info(
      "TLabel", &ui::Control::StaticClass(),
      ui::Publish<TLabel>()
          .Text("Caption", &TLabel::Caption, &TLabel::SetCaption, std::string())
          .Boolean("Transparent", &TLabel::Transparent, &TLabel::SetTransparent, false)
          .Boolean("WordWrap", &TLabel::WordWrap, &TLabel::SetWordWrap, false)
          .Enumeration("Alignment", &TLabel::Alignment, &TLabel::SetAlignment,
                       AlignmentNames(), TAlignment::taLeftJustify)
          .Enumeration("Layout", &TLabel::Layout, &TLabel::SetLayout,
                       {"tlTop", "tlCenter", "tlBottom"}, TTextLayout::tlTop)
          .Boolean("AutoSize", &TLabel::AutoSize, &TLabel::SetAutoSize, true)
          .Done());
  return info;
}

TLabel::TLabel() { SetBounds(0, 0, 65, 13); }

void TLabel::SetCaption(const std::string& caption) {
  if (caption == caption_) return;
  caption_ = caption;
  FitText();
  Invalidate();
}

void TLabel::SetLayout(TTextLayout layout) {
  if (layout == layout_) return;
  layout_ = layout;
  Invalidate();
}

void TLabel::SetTransparent(bool on) {
  if (on == transparent_) return;
  transparent_ = on;
  Invalidate();
}

void TLabel::SetWordWrap(bool on) {
  if (on == wordWrap_) return;
  wordWrap_ = on;
  FitText();
  Invalidate();
}

void TLabel::SetAlignment(TAlignment alignment) {
  if (alignment == alignment_) return;
  alignment_ = alignment;
  Invalidate();
}

void TLabel::SetAutoSize(bool on) {
  if (on == autoSize_) return;
  autoSize_ = on;
  FitText();
}

void TLabel::FontChanged() {
  FitText();
  Control::FontChanged();
}

void TLabel::FitText() {
  ui::WindowSystem* windows = Windows();
  if (!autoSize_ || !windows) return;
  // An empty caption keeps the height of one line.
  const std::string& text = caption_.empty() ? std::string(" ") : caption_;
  if (wordWrap_) {
    // The width is the user's; the lines it makes decide the height.
    const std::optional<ui::Size> block = windows->MeasureWrappedText(FontOf(), text, Width());
    if (block) SetBounds(Left(), Top(), Width(), block->height);
    return;
  }
  // The font's own style (bold included) is what the text is drawn in.
  const ui::Size size = windows->MeasureText(FontOf(), false, text);
  SetBounds(Left(), Top(), caption_.empty() ? 0 : size.width, size.height);
}

}  // namespace controls
