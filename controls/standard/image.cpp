#include "controls/standard/image.h"

#include "ui/class_info.h"
#include "ui/publish.h"

namespace controls {

const ui::ClassInfo& TImage::StaticClass() {
  static const ui::ClassInfo info(
      "TImage", &ui::Control::StaticClass(),
      ui::Publish<TImage>()
          .Object("Picture", &TImage::Picture, ui::Bitmap::StaticClass())
          .Boolean("AutoSize", &TImage::AutoSize, &TImage::SetAutoSize, false)
          .Done());
  return info;
}

TImage::TImage() {
  SetBounds(0, 0, 105, 105);
  // A picture read from a stored form arrives through the object itself.
  picture_.OnChange = [this] {
    Fit();
    Invalidate();
  };
}

void TImage::SetAutoSize(bool on) {
  if (on == autoSize_) return;
  autoSize_ = on;
  Fit();
}

void TImage::Fit() {
  if (autoSize_ && !picture_.Empty()) {
    SetBounds(Left(), Top(), picture_.Width(), picture_.Height());
  }
}

}  // namespace controls
