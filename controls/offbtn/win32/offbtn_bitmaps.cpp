#include "controls/offbtn/win32/offbtn_bitmaps.h"

#include <utility>

namespace controls {

using ui::Colour;
using ui::win32::Bitmap;
using ui::win32::Brush;
using ui::win32::BrushStyle;
using ui::win32::Canvas;
using ui::win32::MemoryCanvas;
using ui::win32::RasterOp;

void DrawTransparentBitmap(Canvas& canvas, std::int16_t x, std::int16_t y, const Bitmap& bitmap,
                           Colour transparent) {
  if (bitmap.Width() < 1 || bitmap.Height() < 1) return;
  DrawTransparentBitmapNew(canvas, bitmap.Handle(), x, y, ui::win32::ToColorRef(transparent));
}

void DrawTransparentBitmapNew(Canvas& dc, HBITMAP bitmap, int x, int y, Colour transparent) {
  HDC reference = dc.Handle();
  MemoryCanvas temp(reference, bitmap);
  BITMAP info{};
  GetObjectW(bitmap, sizeof(info), &info);
  const ui::Size size = temp.DeviceToLogical({info.bmWidth, info.bmHeight});
  const ui::Point origin{0, 0};

  // back and object hold masks, mem composes, save keeps the picture.
  Bitmap backBits = Bitmap::Monochrome(size.width, size.height);
  Bitmap objectBits = Bitmap::Monochrome(size.width, size.height);
  Bitmap memBits = Bitmap::Compatible(reference, size.width, size.height);
  Bitmap saveBits = Bitmap::Compatible(reference, size.width, size.height);
  MemoryCanvas back(reference, backBits);
  MemoryCanvas object(reference, objectBits);
  MemoryCanvas mem(reference, memBits);
  MemoryCanvas save(reference, saveBits);
  temp.SetMapMode(dc.MapMode());

  save.BitBlt(origin, size, temp, origin, RasterOp::kSrcCopy);
  // The mask: set where the picture has the transparent colour.
  const Colour previous = temp.SetBackgroundColour(transparent);
  object.BitBlt(origin, size, temp, origin, RasterOp::kSrcCopy);
  temp.SetBackgroundColour(previous);
  back.BitBlt(origin, size, object, origin, RasterOp::kNotSrcCopy);
  mem.BitBlt(origin, size, dc, {x, y}, RasterOp::kSrcCopy);
  // Clear where the picture goes, clear the picture's transparent pixels,
  // and combine the two.
  mem.BitBlt(origin, size, object, origin, RasterOp::kSrcAnd);
  temp.BitBlt(origin, size, back, origin, RasterOp::kSrcAnd);
  mem.BitBlt(origin, size, temp, origin, RasterOp::kSrcPaint);
  dc.BitBlt({x, y}, size, mem, origin, RasterOp::kSrcCopy);
  // The caller's bitmap as it was.
  temp.BitBlt(origin, size, save, origin, RasterOp::kSrcCopy);
}

void CreateDisabledBitmap(const Bitmap& source, Colour outline, Bitmap& disabledCache) {
  const int w = source.Width();
  const int h = source.Height();
  disabledCache = Bitmap::Compatible(nullptr, w, h);
  if (disabledCache.Empty()) return;

  // Set bits exactly where the source has the outline colour.
  Bitmap mask = source.Copy();
  mask.ConvertToMonochrome(outline);

  MemoryCanvas cache(nullptr, disabledCache);
  MemoryCanvas maskCanvas(nullptr, mask);
  cache.FillRect(ui::Rect{0, 0, w, h}, ui::kColourBtnFace);
  // With black text and a white background the set bits take the brush and
  // the clear bits keep the destination.
  for (const auto& [at, colour] : {std::pair{ui::Point{1, 1}, ui::kColourBtnHighlight},
                                   std::pair{ui::Point{0, 0}, ui::kColourBtnShadow}}) {
    cache.SetBrush(Brush{colour, BrushStyle::kSolid});
    cache.SetTextColour(0x00000000);
    cache.SetBackgroundColour(0x00FFFFFF);
    cache.BitBlt(at, ui::Size{w, h}, maskCanvas, ui::Point{0, 0}, RasterOp::kDSPDxax);
  }
}

}  // namespace controls
