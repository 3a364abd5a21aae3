#pragma once
// TImage: a picture painted on its parent, optionally sizing itself to it.

#include "ui/bitmap.h"
#include "ui/control.h"

namespace controls {

class TImage : public ui::Control {
 public:
  TImage();
  static const ui::ClassInfo& StaticClass();
  const ui::ClassInfo& Class() const override { return StaticClass(); }

  ui::Bitmap* Picture() { return &picture_; }
  void SetPicture(const ui::Bitmap& picture) { picture_.Assign(picture); }
  bool AutoSize() const { return autoSize_; }
  void SetAutoSize(bool on);

 private:
  void Fit();

  ui::Bitmap picture_;
  bool autoSize_ = false;
};

}  // namespace controls
