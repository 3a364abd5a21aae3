#pragma once
// What the flat button's paint tests share: a window system over GDI and
// the test program's own bitmap resources, glyph pictures, painted images,
// and expected images composed in the paint's layer order with GDI's own
// text and focus-rectangle drawing at the coordinates a test names.

#include <windows.h>

#include <cstdint>
#include <cstdio>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "controls/offbtn/office97_button.h"
#include "controls/offbtn/win32/offbtn_paint.h"
#include "controls/offbtn/win32/tests/frame_tables.h"
#include "platform/win32/wide_text.h"
#include "ui/font_description.h"
#include "ui/form.h"
#include "ui/tests/fake_window_system.h"
#include "ui/win32/canvas.h"
#include "ui/win32/gdi_colour.h"
#include "ui/win32/testing/pixel_surface.h"

namespace offbtn_test {

using ui::Colour;

// Measures text with GDI and hands out the test program's RT_BITMAP
// resources, as the Win32 host does; focus and pointer as the test sets.
class GdiWindowSystem : public ui::testing::FakeWindowSystem {
 public:
  ui::Size MeasureText(const ui::Font& font, bool bold, std::string_view text) override {
    ui::win32::MemoryCanvas canvas(nullptr, nullptr);
    ui::FontDescription description = ui::Describe(font);
    description.bold = description.bold || bold;
    canvas.SetFont(description);
    return canvas.TextExtent(std::string(text));
  }
  std::optional<std::vector<std::uint8_t>> BitmapResource(const std::string& name) override {
    const std::wstring wide = platform::win32::ToWide(name);
    HRSRC found = FindResourceW(nullptr, wide.c_str(), MAKEINTRESOURCEW(2) /* RT_BITMAP */);
    if (found == nullptr) return std::nullopt;
    HGLOBAL loaded = LoadResource(nullptr, found);
    const auto* bytes = static_cast<const std::uint8_t*>(LockResource(loaded));
    if (bytes == nullptr) return std::nullopt;
    return std::vector<std::uint8_t>(bytes, bytes + SizeofResource(nullptr, found));
  }
};

// A picture as a glyph property holds it: the bytes of a 24-bit bitmap
// file; `pixels` top row first.
inline ui::Bitmap Picture(int width, int height, const std::vector<Colour>& pixels) {
  const int stride = (width * 3 + 3) / 4 * 4;
  std::vector<std::uint8_t> file(54 + static_cast<std::size_t>(stride) * height, 0);
  auto put32 = [&](std::size_t at, std::uint32_t v) {
    for (int i = 0; i < 4; ++i) file[at + i] = static_cast<std::uint8_t>(v >> (8 * i));
  };
  file[0] = 'B';
  file[1] = 'M';
  put32(2, static_cast<std::uint32_t>(file.size()));
  put32(10, 54);
  put32(14, 40);
  put32(18, static_cast<std::uint32_t>(width));
  put32(22, static_cast<std::uint32_t>(height));
  file[26] = 1;
  file[28] = 24;
  for (int y = 0; y < height; ++y) {
    // Bottom-up: the file's first row is the picture's last.
    std::uint8_t* row = file.data() + 54 + static_cast<std::size_t>(height - 1 - y) * stride;
    for (int x = 0; x < width; ++x) {
      const Colour c = pixels[static_cast<std::size_t>(y * width + x)];
      row[3 * x] = static_cast<std::uint8_t>(c >> 16);
      row[3 * x + 1] = static_cast<std::uint8_t>(c >> 8);
      row[3 * x + 2] = static_cast<std::uint8_t>(c);
    }
  }
  ui::Bitmap picture;
  EXPECT_TRUE(picture.LoadFromFile(file));
  return picture;
}

// The pixels of one of the built-in glyphs, as the resource holds them.
struct GlyphPixels {
  int width = 0;
  int height = 0;
  std::vector<Colour> pixels;
};
inline GlyphPixels StockGlyph(const std::string& name) {
  const ui::win32::Bitmap bitmap =
      ui::win32::Bitmap::LoadFromResource(GetModuleHandleW(nullptr), name);
  EXPECT_FALSE(bitmap.Empty()) << name;
  if (bitmap.Empty()) return {};
  return {bitmap.Width(), bitmap.Height(), ui::win32::testing::ReadPixels(bitmap)};
}

struct Image {
  int width = 0;
  int height = 0;
  std::vector<Colour> pixels;
  Colour At(int x, int y) const { return pixels[static_cast<std::size_t>(y * width + x)]; }
  friend bool operator==(const Image&, const Image&) = default;
};

inline Image ImageOf(const ui::win32::testing::PixelSurface& surface) {
  return {surface.Width(), surface.Height(), surface.Pixels()};
}

// "" when equal; else the first few differing pixels.
inline std::string Differences(const Image& got, const Image& want) {
  if (got.width != want.width || got.height != want.height) return "sizes differ";
  std::string report;
  int differing = 0;
  for (int y = 0; y < got.height; ++y) {
    for (int x = 0; x < got.width; ++x) {
      if (got.At(x, y) == want.At(x, y)) continue;
      if (differing++ < 8) {
        char line[64];
        std::snprintf(line, sizeof(line), "(%d,%d) got 0x%06X want 0x%06X; ", x, y,
                      static_cast<unsigned>(got.At(x, y)), static_cast<unsigned>(want.At(x, y)));
        report += line;
      }
    }
  }
  if (differing > 8) report += std::to_string(differing) + " pixels differ";
  return report;
}

// Paints the button onto a surface of its size that starts out in a colour
// no paint uses, so that a pixel the paint misses shows.
inline Image Paint(controls::TOffice97Button& button,
                   const controls::CopyParentImage& copyParentImage = nullptr) {
  ui::win32::testing::PixelSurface surface(button.Width(), button.Height(), 0x00FE01FE);
  controls::PaintOffice97Button(button, surface.GetCanvas(), copyParentImage);
  return ImageOf(surface);
}

enum class Look { kOffice97, kOffice2000 };

// An expected picture, drawn layer by layer as a test says.
class Expected {
 public:
  Expected(int width, int height, Colour background)
      : surface_(std::make_unique<ui::win32::testing::PixelSurface>(width, height, background)) {
    canvas().SetBackgroundMode(ui::win32::BackgroundMode::kTransparent);
  }
  ui::win32::Canvas& canvas() { return surface_->GetCanvas(); }

  // One line of text in `font` as GDI measures it.
  ui::Size Extent(const ui::FontDescription& font, const std::string& text) {
    canvas().SetFont(font);
    return canvas().TextExtent(text);
  }
  void FocusRect(const ui::Rect& rect) { canvas().DrawFocusRect(rect); }
  void Text(const ui::FontDescription& font, const std::string& text, ui::Rect rect,
            unsigned flags) {
    canvas().SetFont(font);
    canvas().DrawText(text, rect, flags);
  }
  // A picture at (x, y) without its pixels of `transparent` (RGB).
  void Glyph(const GlyphPixels& glyph, int x, int y, std::optional<Colour> transparent) {
    for (int gy = 0; gy < glyph.height; ++gy) {
      for (int gx = 0; gx < glyph.width; ++gx) {
        const Colour c = glyph.pixels[static_cast<std::size_t>(gy * glyph.width + gx)];
        if (transparent && c == *transparent) continue;
        canvas().SetPixel({x + gx, y + gy}, c);
      }
    }
  }
  void Frame(Look look, controls::TOffBtnState state, const controls::FrameColours& colours) {
    const int w = surface_->Width();
    const int h = surface_->Height();
    const PixelMap pixels =
        look == Look::kOffice97 ? FramePixels(kDrawFrameTable, state, colours, w, h)
                                : FramePixels(kDrawOffice2000FrameTable, state, colours, w, h);
    for (const auto& [at, colour] : pixels) canvas().SetPixel({at.first, at.second}, colour);
  }
  Image Get() const { return ImageOf(*surface_); }

 private:
  std::unique_ptr<ui::win32::testing::PixelSurface> surface_;
};

// A form with flat buttons on a GDI window system, and the pointer, press
// and focus moves that set a button's state.
class ButtonFixture {
 public:
  controls::TOffice97Button& AddButton(int width, int height, const std::string& caption = "") {
    auto& button = form_.Adopt(std::make_unique<controls::TOffice97Button>());
    button.SetName("Button" + std::to_string(++count_));
    button.SetParent(&form_);
    button.SetBounds(0, 0, width, height);
    button.SetCaption(caption);
    return button;
  }
  void Hover(controls::TOffice97Button& button) {
    windows_.controlAtPointer = &button;
    button.MouseMove({}, {1, 1});
  }
  // Takes the focus, as a press does, and presses.
  void Press(controls::TOffice97Button& button) {
    windows_.controlAtPointer = &button;
    button.MouseDown(ui::TMouseButton::mbLeft, {}, {1, 1});
  }
  void PointerOff(controls::TOffice97Button& button) {
    windows_.controlAtPointer = &form_;
    button.MouseMove({}, {-5, -5});
  }
  void Release(controls::TOffice97Button& button) {
    button.MouseUp(ui::TMouseButton::mbLeft, {}, {1, 1});
  }
  void Focus(controls::TOffice97Button& button) { ASSERT_TRUE(button.SetFocus()); }
  // The focused control changes without the button hearing of it (it
  // stays key-active).
  void SetFocusedControl(ui::WinControl* control) { windows_.focused = control; }
  // Another flat button of the form: when it holds the focus, no other
  // flat button shows a focus mark.
  controls::TOffice97Button& OtherFlatButton() {
    if (!other_) other_ = &AddButton(70, 23);
    return *other_;
  }

 protected:
  GdiWindowSystem windows_;
  ui::Form form_{windows_};

 private:
  int count_ = 0;
  controls::TOffice97Button* other_ = nullptr;
};

}  // namespace offbtn_test
