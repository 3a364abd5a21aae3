#pragma once
// A picture held as the bytes of a Windows bitmap file, as the program's
// bitmap resources and stored forms carry it. Empty until loaded.

#include <cstdint>
#include <functional>
#include <span>
#include <vector>

#include "ui/persistent.h"

namespace ui {

class Bitmap : public Persistent {
 public:
  static const ClassInfo& StaticClass();
  const ClassInfo& Class() const override { return StaticClass(); }

  bool Empty() const { return file_.empty(); }
  int Width() const { return width_; }
  int Height() const { return height_; }
  int BitsPerPixel() const { return bitsPerPixel_; }
  // The whole bitmap file (file header, info header, palette, pixels).
  const std::vector<std::uint8_t>& FileBytes() const { return file_; }

  // Takes a bitmap file after checking that every part its headers name
  // lies inside it; false (and the bitmap unchanged) for anything else.
  bool LoadFromFile(std::span<const std::uint8_t> file);
  // A bitmap resource holds the file without its 14-byte file header.
  bool LoadFromResource(std::span<const std::uint8_t> resource);
  void Clear();
  void Assign(const Bitmap& other);

  // Called after every change.
  std::function<void()> OnChange;

 private:
  void Changed() const;

  std::vector<std::uint8_t> file_;
  int width_ = 0;
  int height_ = 0;
  int bitsPerPixel_ = 0;
};

}  // namespace ui
