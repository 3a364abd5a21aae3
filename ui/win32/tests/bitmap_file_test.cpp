// Bitmap file bytes to a GDI bitmap: every pixel read back, in the formats
// a glyph property or a bitmap resource may hold.

#include "ui/win32/bitmap_file.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <cstdint>
#include <ostream>
#include <string>
#include <vector>

#include "ui/win32/testing/pixel_surface.h"

namespace {

using ui::Colour;
using ui::win32::FromFile;
using ui::win32::testing::ReadPixels;

void Put16(std::vector<std::uint8_t>& b, std::size_t at, std::uint32_t v) {
  b[at] = static_cast<std::uint8_t>(v);
  b[at + 1] = static_cast<std::uint8_t>(v >> 8);
}
void Put32(std::vector<std::uint8_t>& b, std::size_t at, std::uint32_t v) {
  Put16(b, at, v);
  Put16(b, at + 2, v >> 16);
}

// A bitmap file with a 40-byte info header. `height` negative: top-down.
// `table` is the palette (0x00RRGGBB entries as stored) or the three colour
// masks; `rows` are the rows in file order without their padding.
std::vector<std::uint8_t> BitmapFile(int width, int height, int bits, std::uint32_t compression,
                                     std::uint32_t coloursUsed, const std::vector<std::uint32_t>& table,
                                     const std::vector<std::vector<std::uint8_t>>& rows) {
  const std::size_t stride = (static_cast<std::size_t>(width) * bits + 31) / 32 * 4;
  const std::size_t offset = 14 + 40 + 4 * table.size();
  std::vector<std::uint8_t> file(offset + stride * rows.size(), 0);
  file[0] = 'B';
  file[1] = 'M';
  Put32(file, 2, static_cast<std::uint32_t>(file.size()));
  Put32(file, 10, static_cast<std::uint32_t>(offset));
  Put32(file, 14, 40);
  Put32(file, 18, static_cast<std::uint32_t>(width));
  Put32(file, 22, static_cast<std::uint32_t>(height));
  Put16(file, 26, 1);
  Put16(file, 28, static_cast<std::uint32_t>(bits));
  Put32(file, 30, compression);
  Put32(file, 46, coloursUsed);
  for (std::size_t i = 0; i < table.size(); ++i) Put32(file, 54 + 4 * i, table[i]);
  for (std::size_t r = 0; r < rows.size(); ++r) {
    std::copy(rows[r].begin(), rows[r].end(), file.begin() + offset + r * stride);
  }
  return file;
}

struct FileCase {
  std::string name;
  std::vector<std::uint8_t> file;
  int bits;
  int width;
  int height;
  std::vector<Colour> pixels;  // 0x00BBGGRR, top row first
};
void PrintTo(const FileCase& c, std::ostream* os) { *os << c.name; }

std::vector<FileCase> FileCases() {
  return {
      // Rows of 9 bytes padded to 12; the bottom row comes first.
      {"rgb24_bottom_up",
       BitmapFile(3, 2, 24, BI_RGB, 0, {},
                  {{0x00, 0x00, 0xFF, 0x00, 0xFF, 0x00, 0xFF, 0x00, 0x00},
                   {0x10, 0x20, 0x30, 0x40, 0x50, 0x60, 0x70, 0x80, 0x90}}),
       24, 3, 2,
       {0x00102030, 0x00405060, 0x00708090,  //
        0x000000FF, 0x0000FF00, 0x00FF0000}},
      {"rgb32_top_down",
       BitmapFile(2, -2, 32, BI_RGB, 0, {},
                  {{0x01, 0x02, 0x03, 0, 0x04, 0x05, 0x06, 0},
                   {0xFF, 0xFF, 0xFF, 0, 0x00, 0x00, 0x00, 0}}),
       32, 2, 2,
       {0x00010203, 0x00040506, 0x00FFFFFF, 0x00000000}},
      // Three palette entries in use; the indices name them.
      {"palette8",
       BitmapFile(3, 2, 8, BI_RGB, 3, {0x00FF00FF, 0x00123456, 0x00000000},
                  {{2, 1, 0}, {0, 0, 1}}),
       8, 3, 2,
       {0x00FF00FF, 0x00FF00FF, 0x00563412,  //
        0x00000000, 0x00563412, 0x00FF00FF}},
      {"palette4",
       BitmapFile(3, 1, 4, BI_RGB, 0,
                  {0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0x00ABCDEF, 0x00102030, 0x00808080},
                  {{0xDE, 0xF0}}),
       4, 3, 1,
       {0x00EFCDAB, 0x00302010, 0x00808080}},
      // Two colours that are not black and white: the palette is kept.
      {"palette1",
       BitmapFile(10, 2, 1, BI_RGB, 0, {0x00C0FFEE, 0x00200040},
                  {{0b10110000, 0b01000000}, {0b00000000, 0b11000000}}),
       1, 10, 2,
       {0x00EEFFC0, 0x00EEFFC0, 0x00EEFFC0, 0x00EEFFC0, 0x00EEFFC0,
        0x00EEFFC0, 0x00EEFFC0, 0x00EEFFC0, 0x00400020, 0x00400020,  //
        0x00400020, 0x00EEFFC0, 0x00400020, 0x00400020, 0x00EEFFC0,
        0x00EEFFC0, 0x00EEFFC0, 0x00EEFFC0, 0x00EEFFC0, 0x00400020}},
      // 5-6-5 masks after the header; full intensities convert exactly.
      {"bitfields16",
       BitmapFile(3, 1, 16, BI_BITFIELDS, 0, {0xF800, 0x07E0, 0x001F},
                  {{0x00, 0xF8, 0xE0, 0x07, 0x1F, 0x00}}),
       16, 3, 1,
       {0x000000FF, 0x0000FF00, 0x00FF0000}},
  };
}

class FromFileTest : public ::testing::TestWithParam<FileCase> {};

TEST_P(FromFileTest, KeepsFormatAndEveryPixel) {
  const FileCase& c = GetParam();
  ui::Bitmap picture;
  ASSERT_TRUE(picture.LoadFromFile(c.file));
  const ui::win32::Bitmap bitmap = FromFile(picture);
  ASSERT_FALSE(bitmap.Empty());
  EXPECT_EQ(bitmap.Width(), c.width);
  EXPECT_EQ(bitmap.Height(), c.height);
  EXPECT_EQ(bitmap.BitsPerPixel(), c.bits);
  EXPECT_EQ(ReadPixels(bitmap), c.pixels);
}

INSTANTIATE_TEST_SUITE_P(Formats, FromFileTest, ::testing::ValuesIn(FileCases()),
                         [](const auto& info) { return info.param.name; });

TEST(FromFile, EmptyPictureGivesEmptyBitmap) {
  EXPECT_TRUE(FromFile(ui::Bitmap{}).Empty());
}

// A bitmap resource, as the program's glyphs are loaded, gives the same
// picture as its file.
TEST(FromFile, ResourceBytesGiveSamePixels) {
  const std::vector<std::uint8_t> file =
      BitmapFile(3, 2, 8, BI_RGB, 2, {0x00FF0000, 0x000000FF}, {{0, 1, 1}, {1, 0, 0}});
  ui::Bitmap fromResource;
  ASSERT_TRUE(fromResource.LoadFromResource(std::vector<std::uint8_t>(file.begin() + 14, file.end())));
  EXPECT_EQ(ReadPixels(FromFile(fromResource)),
            (std::vector<Colour>{0x00FF0000, 0x000000FF, 0x000000FF,  //
                                 0x000000FF, 0x00FF0000, 0x00FF0000}));
}

}  // namespace
