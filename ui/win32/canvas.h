#pragma once
// A canvas over a GDI device context with the drawing operations the
// controls paint with, and the bitmaps they paint on.
//
// Handles: every GDI object a canvas or bitmap makes is deleted by it, and
// every object a canvas selects into a device context is selected out again
// before it is deleted and when the canvas ends, so painting leaks nothing.
// Pens, brushes and fonts are made and selected when an operation needs
// them, which lets Save and Restore keep the canvas's own objects out of
// the device context's saved states.

#include <windows.h>

#include <span>
#include <stdexcept>
#include <string>

#include "ui/colour.h"
#include "ui/font_description.h"
#include "ui/geometry.h"
#include "ui/win32/gdi_colour.h"

namespace ui::win32 {

// A GDI object or device context could not be made.
class GdiError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// The GDI font of `font` (its colour aside) for a device of `dc`'s vertical
// resolution; the caller deletes it. Null when GDI refused.
HFONT CreateGdiFont(const FontDescription& font, HDC dc);

// Pens are always one pixel wide.
enum class PenStyle { kSolid, kDotted };
struct Pen {
  Colour colour = 0;
  PenStyle style = PenStyle::kSolid;
  friend bool operator==(const Pen&, const Pen&) = default;
};

enum class BrushStyle { kSolid, kHollow };
struct Brush {
  Colour colour = 0x00FFFFFF;
  BrushStyle style = BrushStyle::kSolid;
  friend bool operator==(const Brush&, const Brush&) = default;
};

enum class BackgroundMode { kOpaque, kTransparent };

enum class RasterOp : DWORD {
  kSrcCopy = SRCCOPY,
  kNotSrcCopy = NOTSRCCOPY,
  kSrcAnd = SRCAND,
  kSrcPaint = SRCPAINT,
  // The brush where the source is the background colour (the set bits of a
  // one-bit source), the destination elsewhere.
  kDSPDxax = 0x00E20746,
};

// An owned bitmap handle (or none: an empty bitmap).
class Bitmap {
 public:
  Bitmap() = default;
  // Takes ownership of `handle`.
  explicit Bitmap(HBITMAP handle) : handle_(handle) {}
  Bitmap(Bitmap&& other) noexcept;
  Bitmap& operator=(Bitmap&& other) noexcept;
  Bitmap(const Bitmap&) = delete;
  Bitmap& operator=(const Bitmap&) = delete;
  ~Bitmap();

  // A bitmap of the colour format of `reference` (nullptr: the screen);
  // empty when either side is not positive.
  static Bitmap Compatible(HDC reference, int width, int height);
  // One bit per pixel.
  static Bitmap Monochrome(int width, int height);
  // The BITMAP resource `name` of `module`, kept in its own format (an
  // 8-bit palette bitmap stays one); empty when there is none.
  static Bitmap LoadFromResource(HINSTANCE module, const std::string& name);

  HBITMAP Handle() const { return handle_; }
  bool Empty() const { return handle_ == nullptr; }
  int Width() const;
  int Height() const;
  int BitsPerPixel() const;

  // An independent bitmap with the same size, format and pixels.
  Bitmap Copy() const;
  // Becomes one bit per pixel: a pixel of `background` becomes a set bit,
  // every other pixel a clear bit. The bitmap must not be selected into a
  // device context.
  void ConvertToMonochrome(Colour background);

 private:
  HBITMAP handle_ = nullptr;
};

class Canvas {
 public:
  // Draws on `dc`, which stays the caller's. What the canvas selected is
  // selected out when it ends; colours, modes and the viewport stay as set.
  explicit Canvas(HDC dc);
  virtual ~Canvas();
  Canvas(const Canvas&) = delete;
  Canvas& operator=(const Canvas&) = delete;

  // For handing the context to other painters (WM_PAINT, WM_ERASEBKGND).
  // Save and restore through the canvas, not SaveDC on the handle: the
  // canvas's own objects must stay out of saved states.
  HDC Handle() const { return dc_; }

  const Pen& GetPen() const { return pen_; }
  void SetPen(const Pen& pen);
  const Brush& GetBrush() const { return brush_; }
  void SetBrush(const Brush& brush);
  const FontDescription& GetFont() const { return font_; }
  void SetFont(const FontDescription& font);

  // Whether text, dotted pens and hatches paint their gaps with the
  // background colour.
  void SetBackgroundMode(BackgroundMode mode);
  // The colours a one-bit source gives its clear (text) and set
  // (background) bits; the background colour is also what a colour source
  // compares against in a blit to one bit. Each returns the previous value
  // as RGB.
  Colour SetTextColour(Colour colour);
  Colour SetBackgroundColour(Colour colour);

  // Fill with the canvas's brush, or with a solid brush of `colour` (the
  // canvas's brush is left as it is); the right and bottom edges stay out.
  void FillRect(const Rect& rect);
  void FillRect(const Rect& rect, Colour colour);
  // Lines with the pen between consecutive points, each without its end
  // point: the last point is not painted.
  void Polyline(std::span<const Point> points);
  void SetPixel(Point at, Colour colour);
  // Outline with the pen from (left, top) to (right - 1, bottom - 1), inside
  // filled with the brush (nothing with a hollow brush).
  void Rectangle(const Rect& rect);
  // The dotted focus outline, drawn by inverting: a second call removes it.
  void DrawFocusRect(const Rect& rect);
  // DrawText with the canvas's font in the font's colour (which becomes the
  // text colour); `flags` are DT_ values (ui/text_flags.h). With DT_CALCRECT
  // `rect` receives the measured rectangle. Returns the text's height.
  int DrawText(const std::string& text, Rect& rect, unsigned flags);
  // Width and height of one line of `text` in the canvas's font.
  Size TextExtent(const std::string& text);
  // BitBlt of `size` from `source` at `from` to `to`; the canvas's brush is
  // the pattern. False when GDI refuses.
  bool BitBlt(Point to, Size size, const Canvas& source, Point from, RasterOp op);

  // SaveDC/RestoreDC: restoring undoes the viewport, clipping, colours and
  // modes set since the save. Returns the saved state's number.
  int Save();
  void Restore(int saved);
  // Returns the previous origin.
  Point SetViewportOrigin(Point origin);
  // Clips further drawing to `rect` (logical units) within the present clip.
  void IntersectClip(const Rect& rect);
  int MapMode() const;
  void SetMapMode(int mode);
  Size DeviceToLogical(Size size) const;

 private:
  enum Slot { kPenSlot, kBrushSlot, kFontSlot, kSlotCount };
  struct Held {
    HGDIOBJ object = nullptr;
    bool owned = false;     // made by the canvas, so deleted by it
    bool selected = false;  // in the device context now
    COLORREF madeWith = 0;  // the RGB it was made with
  };

  void Use(Slot slot);
  void Make(Slot slot);
  void Deselect(Slot slot);
  void Drop(Slot slot);
  COLORREF WantedColour(Slot slot) const;

  HDC dc_;
  Pen pen_;
  Brush brush_;
  FontDescription font_;
  Held held_[kSlotCount];
  HGDIOBJ original_[kSlotCount] = {};
};

namespace detail {

// A memory device context with a bitmap selected in; the base that lets a
// MemoryCanvas end its canvas before the context goes.
class MemoryDc {
 protected:
  MemoryDc(HDC reference, HBITMAP bitmap);
  ~MemoryDc();
  MemoryDc(const MemoryDc&) = delete;
  MemoryDc& operator=(const MemoryDc&) = delete;

  HDC memoryDc_ = nullptr;
  HGDIOBJ replaced_ = nullptr;
};

}  // namespace detail

// A canvas on a bitmap: a memory device context compatible with
// `reference` (nullptr: the screen) with `bitmap` selected in. The bitmap
// stays the caller's: it must outlive the canvas and be in no other device
// context. An empty bitmap leaves the context's own one-pixel bitmap.
class MemoryCanvas : private detail::MemoryDc, public Canvas {
 public:
  MemoryCanvas(HDC reference, HBITMAP bitmap);
  MemoryCanvas(HDC reference, const Bitmap& bitmap);
};

}  // namespace ui::win32
