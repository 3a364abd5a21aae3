#include "ui/win32/canvas.h"

#include <algorithm>
#include <utility>
#include <vector>

#include "platform/win32/wide_text.h"
#include "ui/text_flags.h"

namespace ui::win32 {

static_assert(text_flags::kLeft == DT_LEFT && text_flags::kCenter == DT_CENTER &&
              text_flags::kRight == DT_RIGHT && text_flags::kVCenter == DT_VCENTER &&
              text_flags::kWordBreak == DT_WORDBREAK && text_flags::kSingleLine == DT_SINGLELINE &&
              text_flags::kNoClip == DT_NOCLIP && text_flags::kCalcRect == DT_CALCRECT &&
              text_flags::kNoPrefix == DT_NOPREFIX && text_flags::kRtlReading == DT_RTLREADING);

namespace {

// The screen's device context for as long as a compatible object is made.
class ScreenDc {
 public:
  ScreenDc() : dc_(GetDC(nullptr)) {
    if (dc_ == nullptr) throw GdiError("GetDC of the screen failed");
  }
  ~ScreenDc() { ReleaseDC(nullptr, dc_); }
  ScreenDc(const ScreenDc&) = delete;
  ScreenDc& operator=(const ScreenDc&) = delete;
  HDC Get() const { return dc_; }

 private:
  HDC dc_;
};

BITMAP BitmapInfo(HBITMAP handle) {
  BITMAP info{};
  if (handle == nullptr || GetObjectW(handle, sizeof(info), &info) != sizeof(info)) return {};
  return info;
}

bool IsDibSection(HBITMAP handle) {
  DIBSECTION dib{};
  return GetObjectW(handle, sizeof(dib), &dib) == sizeof(dib);
}

RECT ToRECT(const Rect& rect) { return RECT{rect.left, rect.top, rect.right, rect.bottom}; }

// A raster operation's index byte is its truth table over pattern (0xF0),
// source (0xCC) and destination (0xAA): it reads the pattern when the halves
// for pattern 1 and pattern 0 differ.
bool UsesPattern(RasterOp op) {
  const unsigned index = (static_cast<DWORD>(op) >> 16) & 0xFF;
  return ((index >> 4) ^ index) & 0x0F;
}

// The font and its colour are separate: a colour change needs no new font.
bool SameGdiFont(const FontDescription& a, const FontDescription& b) {
  FontDescription aa = a;
  aa.colour = b.colour;
  return aa == b;
}

}  // namespace

HFONT CreateGdiFont(const FontDescription& font, HDC dc) {
  LOGFONTW log{};
  log.lfHeight = font.height != 0 ? font.height
                                  : -MulDiv(font.size, GetDeviceCaps(dc, LOGPIXELSY), 72);
  log.lfWeight = font.bold ? FW_BOLD : FW_NORMAL;
  log.lfItalic = font.italic;
  log.lfUnderline = font.underline;
  log.lfStrikeOut = font.strikeout;
  log.lfCharSet = font.charset;
  log.lfOutPrecision = OUT_DEFAULT_PRECIS;
  log.lfClipPrecision = CLIP_DEFAULT_PRECIS;
  log.lfQuality = DEFAULT_QUALITY;
  log.lfPitchAndFamily = DEFAULT_PITCH;
  const std::wstring face = platform::win32::ToWide(font.name);
  face.copy(log.lfFaceName, LF_FACESIZE - 1);
  return CreateFontIndirectW(&log);
}

// ---- Bitmap ----

Bitmap::Bitmap(Bitmap&& other) noexcept : handle_(std::exchange(other.handle_, nullptr)) {}

Bitmap& Bitmap::operator=(Bitmap&& other) noexcept {
  if (this != &other) {
    if (handle_ != nullptr) DeleteObject(handle_);
    handle_ = std::exchange(other.handle_, nullptr);
  }
  return *this;
}

Bitmap::~Bitmap() {
  if (handle_ != nullptr) DeleteObject(handle_);
}

Bitmap Bitmap::Compatible(HDC reference, int width, int height) {
  if (width <= 0 || height <= 0) return {};
  HBITMAP handle = nullptr;
  if (reference != nullptr) {
    handle = CreateCompatibleBitmap(reference, width, height);
  } else {
    ScreenDc screen;
    handle = CreateCompatibleBitmap(screen.Get(), width, height);
  }
  if (handle == nullptr) throw GdiError("CreateCompatibleBitmap failed");
  return Bitmap(handle);
}

Bitmap Bitmap::Monochrome(int width, int height) {
  if (width <= 0 || height <= 0) return {};
  HBITMAP handle = CreateBitmap(width, height, 1, 1, nullptr);
  if (handle == nullptr) throw GdiError("CreateBitmap failed");
  return Bitmap(handle);
}

Bitmap Bitmap::LoadFromResource(HINSTANCE module, const std::string& name) {
  const std::wstring wide = platform::win32::ToWide(name);
  return Bitmap(static_cast<HBITMAP>(
      LoadImageW(module, wide.c_str(), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION)));
}

int Bitmap::Width() const { return BitmapInfo(handle_).bmWidth; }

int Bitmap::Height() const { return BitmapInfo(handle_).bmHeight; }

int Bitmap::BitsPerPixel() const {
  const BITMAP info = BitmapInfo(handle_);
  return info.bmBitsPixel * info.bmPlanes;
}

Bitmap Bitmap::Copy() const {
  if (handle_ == nullptr) return {};
  const UINT flags = IsDibSection(handle_) ? LR_CREATEDIBSECTION : 0;
  HANDLE copy = CopyImage(handle_, IMAGE_BITMAP, 0, 0, flags);
  if (copy == nullptr) throw GdiError("CopyImage failed");
  return Bitmap(static_cast<HBITMAP>(copy));
}

void Bitmap::ConvertToMonochrome(Colour background) {
  if (handle_ == nullptr) return;
  const int width = Width();
  const int height = Height();
  Bitmap mono = Monochrome(width, height);
  {
    MemoryCanvas source(nullptr, *this);
    MemoryCanvas target(nullptr, mono);
    // A colour-to-one-bit blit sets the bits of the background colour.
    source.SetBackgroundColour(background);
    if (!target.BitBlt({0, 0}, {width, height}, source, {0, 0}, RasterOp::kSrcCopy)) {
      throw GdiError("BitBlt to one bit failed");
    }
  }
  *this = std::move(mono);
}

// ---- Canvas ----

Canvas::Canvas(HDC dc) : dc_(dc) {
  if (dc_ == nullptr) throw GdiError("no device context");
}

Canvas::~Canvas() {
  for (int slot = 0; slot < kSlotCount; ++slot) Drop(static_cast<Slot>(slot));
}

void Canvas::SetPen(const Pen& pen) {
  if (pen == pen_) return;
  pen_ = pen;
  Drop(kPenSlot);
}

void Canvas::SetBrush(const Brush& brush) {
  if (brush == brush_) return;
  brush_ = brush;
  Drop(kBrushSlot);
}

void Canvas::SetFont(const FontDescription& font) {
  const bool same = SameGdiFont(font, font_);
  font_ = font;
  if (!same) Drop(kFontSlot);
}

COLORREF Canvas::WantedColour(Slot slot) const {
  switch (slot) {
    case kPenSlot:
      return ToColorRef(pen_.colour);
    case kBrushSlot:
      return brush_.style == BrushStyle::kSolid ? ToColorRef(brush_.colour) : 0;
    default:
      return 0;
  }
}

void Canvas::Make(Slot slot) {
  Held& held = held_[slot];
  held.madeWith = WantedColour(slot);
  held.owned = true;
  switch (slot) {
    case kPenSlot:
      held.object =
          CreatePen(pen_.style == PenStyle::kDotted ? PS_DOT : PS_SOLID, 1, held.madeWith);
      break;
    case kBrushSlot:
      if (brush_.style == BrushStyle::kHollow) {
        held.object = GetStockObject(HOLLOW_BRUSH);
        held.owned = false;
      } else {
        held.object = CreateSolidBrush(held.madeWith);
      }
      break;
    default:
      held.object = CreateGdiFont(font_, dc_);
      break;
  }
  if (held.object == nullptr) {
    held = {};
    throw GdiError("creating a pen, brush or font failed");
  }
}

void Canvas::Use(Slot slot) {
  Held& held = held_[slot];
  // A system colour may have changed since the object was made.
  if (held.object != nullptr && held.madeWith != WantedColour(slot)) Drop(slot);
  if (held.object == nullptr) Make(slot);
  if (!held.selected) {
    HGDIOBJ previous = SelectObject(dc_, held.object);
    if (original_[slot] == nullptr) original_[slot] = previous;
    held.selected = true;
  }
}

void Canvas::Deselect(Slot slot) {
  Held& held = held_[slot];
  if (!held.selected) return;
  SelectObject(dc_, original_[slot]);
  held.selected = false;
}

void Canvas::Drop(Slot slot) {
  Deselect(slot);
  Held& held = held_[slot];
  if (held.owned) DeleteObject(held.object);
  held = {};
}

void Canvas::SetBackgroundMode(BackgroundMode mode) {
  SetBkMode(dc_, mode == BackgroundMode::kTransparent ? TRANSPARENT : OPAQUE);
}

Colour Canvas::SetTextColour(Colour colour) { return SetTextColor(dc_, ToColorRef(colour)); }

Colour Canvas::SetBackgroundColour(Colour colour) { return SetBkColor(dc_, ToColorRef(colour)); }

void Canvas::FillRect(const Rect& rect) {
  const RECT r = ToRECT(rect);
  Use(kBrushSlot);
  ::FillRect(dc_, &r, static_cast<HBRUSH>(held_[kBrushSlot].object));
}

void Canvas::FillRect(const Rect& rect, Colour colour) {
  const RECT r = ToRECT(rect);
  HBRUSH brush = CreateSolidBrush(ToColorRef(colour));
  if (brush == nullptr) throw GdiError("CreateSolidBrush failed");
  ::FillRect(dc_, &r, brush);
  DeleteObject(brush);
}

void Canvas::Polyline(std::span<const Point> points) {
  if (points.empty()) return;
  Use(kPenSlot);
  std::vector<POINT> gdi(points.size());
  std::transform(points.begin(), points.end(), gdi.begin(), [](const Point& p) {
    return POINT{p.x, p.y};
  });
  ::Polyline(dc_, gdi.data(), static_cast<int>(gdi.size()));
}

void Canvas::SetPixel(Point at, Colour colour) { SetPixelV(dc_, at.x, at.y, ToColorRef(colour)); }

void Canvas::Rectangle(const Rect& rect) {
  Use(kPenSlot);
  Use(kBrushSlot);
  ::Rectangle(dc_, rect.left, rect.top, rect.right, rect.bottom);
}

void Canvas::DrawFocusRect(const Rect& rect) {
  const RECT r = ToRECT(rect);
  ::DrawFocusRect(dc_, &r);
}

int Canvas::DrawText(const std::string& text, Rect& rect, unsigned flags) {
  Use(kFontSlot);
  SetTextColor(dc_, ToColorRef(font_.colour));
  std::wstring wide = platform::win32::ToWide(text);
  RECT r = ToRECT(rect);
  const int height = DrawTextW(dc_, wide.data(), static_cast<int>(wide.size()), &r, flags);
  rect = Rect{r.left, r.top, r.right, r.bottom};
  return height;
}

Size Canvas::TextExtent(const std::string& text) {
  Use(kFontSlot);
  const std::wstring wide = platform::win32::ToWide(text);
  SIZE size{};
  GetTextExtentPoint32W(dc_, wide.c_str(), static_cast<int>(wide.size()), &size);
  return Size{size.cx, size.cy};
}

bool Canvas::BitBlt(Point to, Size size, const Canvas& source, Point from, RasterOp op) {
  if (UsesPattern(op)) Use(kBrushSlot);
  return ::BitBlt(dc_, to.x, to.y, size.width, size.height, source.Handle(), from.x, from.y,
                  static_cast<DWORD>(op)) != FALSE;
}

int Canvas::Save() {
  // The saved state must not hold an object the canvas may delete before
  // the restore; the canvas's objects are selected again when next used.
  for (int slot = 0; slot < kSlotCount; ++slot) Deselect(static_cast<Slot>(slot));
  const int saved = SaveDC(dc_);
  if (saved == 0) throw GdiError("SaveDC failed");
  return saved;
}

void Canvas::Restore(int saved) {
  // The restored state holds the objects selected at the save, none of ours.
  RestoreDC(dc_, saved);
  for (Held& held : held_) held.selected = false;
}

Point Canvas::SetViewportOrigin(Point origin) {
  POINT previous{};
  SetViewportOrgEx(dc_, origin.x, origin.y, &previous);
  return Point{previous.x, previous.y};
}

void Canvas::IntersectClip(const Rect& rect) {
  IntersectClipRect(dc_, rect.left, rect.top, rect.right, rect.bottom);
}

int Canvas::MapMode() const { return GetMapMode(dc_); }

void Canvas::SetMapMode(int mode) { ::SetMapMode(dc_, mode); }

Size Canvas::DeviceToLogical(Size size) const {
  POINT p{size.width, size.height};
  DPtoLP(dc_, &p, 1);
  return Size{p.x, p.y};
}

// ---- MemoryCanvas ----

namespace detail {

MemoryDc::MemoryDc(HDC reference, HBITMAP bitmap) : memoryDc_(CreateCompatibleDC(reference)) {
  if (memoryDc_ == nullptr) throw GdiError("CreateCompatibleDC failed");
  if (bitmap != nullptr) {
    replaced_ = SelectObject(memoryDc_, bitmap);
    if (replaced_ == nullptr || replaced_ == HGDI_ERROR) {
      DeleteDC(memoryDc_);
      throw GdiError("selecting a bitmap into a memory context failed");
    }
  }
}

MemoryDc::~MemoryDc() {
  if (replaced_ != nullptr) SelectObject(memoryDc_, replaced_);
  DeleteDC(memoryDc_);
}

}  // namespace detail

MemoryCanvas::MemoryCanvas(HDC reference, HBITMAP bitmap)
    : MemoryDc(reference, bitmap), Canvas(memoryDc_) {}

MemoryCanvas::MemoryCanvas(HDC reference, const Bitmap& bitmap)
    : MemoryCanvas(reference, bitmap.Handle()) {}

}  // namespace ui::win32
