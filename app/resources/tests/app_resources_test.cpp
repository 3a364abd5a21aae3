// The program's resources, linked into this test program as into
// QuorvexRemover.exe and read back from it: the manifest (and that the
// loader applies it), the version block, the icon, the logo and the main
// window's button glyphs.

#include <windows.h>

#include <algorithm>
#include <cstdint>
#include <cwctype>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include <gtest/gtest.h>

#include "ui/win32/canvas.h"
#include "ui/win32/testing/pixel_surface.h"

namespace {

using ui::Colour;
using ui::win32::Bitmap;
using ui::win32::testing::PixelSurface;
using ui::win32::testing::ReadPixels;

HMODULE Self() { return GetModuleHandleW(nullptr); }

std::string Resource(LPCWSTR name, LPCWSTR type) {
  HRSRC info = FindResourceW(Self(), name, type);
  if (info == nullptr) return {};
  const auto* bytes = static_cast<const char*>(LockResource(LoadResource(Self(), info)));
  return std::string(bytes, SizeofResource(Self(), info));
}

// The element of `xml` that starts with `open` (up to its "/>").
std::string Element(const std::string& xml, const std::string& open) {
  const auto start = xml.find(open);
  if (start == std::string::npos) return {};
  return xml.substr(start, xml.find("/>", start) - start);
}

TEST(ProgramManifest, RequestsTheAdministratorAndTheCommonControlsSix) {
  const std::string manifest = Resource(MAKEINTRESOURCEW(1), MAKEINTRESOURCEW(24));
  ASSERT_FALSE(manifest.empty());

  const std::string level = Element(manifest, "<requestedExecutionLevel");
  EXPECT_NE(level.find("level=\"requireAdministrator\""), std::string::npos) << level;
  EXPECT_NE(level.find("uiAccess=\"false\""), std::string::npos) << level;

  const auto dependency = manifest.find("<dependentAssembly>");
  ASSERT_NE(dependency, std::string::npos);
  const std::string controls = Element(manifest.substr(dependency), "<assemblyIdentity");
  for (const char* attribute :
       {"type=\"win32\"", "name=\"Microsoft.Windows.Common-Controls\"", "version=\"6.0.0.0\"",
        "processorArchitecture=\"*\"", "publicKeyToken=\"6595b64144ccf1df\""}) {
    EXPECT_NE(controls.find(attribute), std::string::npos) << attribute << " in " << controls;
  }
  const std::string program = Element(manifest, "<assemblyIdentity");
  EXPECT_NE(program.find("version=\"1.0.1.3\""), std::string::npos) << program;
}

TEST(ProgramManifest, TheLoaderGivesTheProcessTheCommonControlsSix) {
  // The process's manifest redirects comctl32.dll into the side-by-side
  // assembly of version 6.
  ACTCTX_SECTION_KEYED_DATA redirection = {};
  redirection.cbSize = sizeof redirection;
  EXPECT_TRUE(FindActCtxSectionStringW(0, nullptr, ACTIVATION_CONTEXT_SECTION_DLL_REDIRECTION,
                                       L"comctl32.dll", &redirection));

  HMODULE controls = LoadLibraryW(L"comctl32.dll");
  ASSERT_NE(controls, nullptr);
  wchar_t path[MAX_PATH] = {};
  GetModuleFileNameW(controls, path, MAX_PATH);
  FreeLibrary(controls);
  std::wstring lower(path);
  for (wchar_t& c : lower) c = towlower(c);
  EXPECT_NE(lower.find(L"microsoft.windows.common-controls_6595b64144ccf1df_6.0."),
            std::wstring::npos)
      << std::string(lower.begin(), lower.end());
}

std::wstring OwnPath() {
  wchar_t path[MAX_PATH] = {};
  GetModuleFileNameW(nullptr, path, MAX_PATH);
  return path;
}

TEST(VersionBlock, DescribesQuorvexRemoverOneZeroOneThree) {
  const std::wstring path = OwnPath();
  DWORD handle = 0;
  const DWORD size = GetFileVersionInfoSizeW(path.c_str(), &handle);
  ASSERT_GT(size, 0u);
  std::string block(size, '\0');
  ASSERT_TRUE(GetFileVersionInfoW(path.c_str(), 0, size, block.data()));

  VS_FIXEDFILEINFO* fixed = nullptr;
  UINT length = 0;
  ASSERT_TRUE(VerQueryValueW(block.data(), L"\\", reinterpret_cast<void**>(&fixed), &length));
  EXPECT_EQ(fixed->dwFileVersionMS, 0x00010000u);
  EXPECT_EQ(fixed->dwFileVersionLS, 0x00010003u);
  EXPECT_EQ(fixed->dwProductVersionMS, 0x00010000u);
  EXPECT_EQ(fixed->dwProductVersionLS, 0x00010003u);
  EXPECT_EQ(fixed->dwFileType, static_cast<DWORD>(VFT_APP));

  WORD* translation = nullptr;
  ASSERT_TRUE(VerQueryValueW(block.data(), L"\\VarFileInfo\\Translation",
                             reinterpret_cast<void**>(&translation), &length));
  ASSERT_EQ(length, 4u);
  EXPECT_EQ(translation[0], 0x0409);
  EXPECT_EQ(translation[1], 1252);

  const std::pair<const wchar_t*, const wchar_t*> kStrings[] = {
      {L"CompanyName", L"Halvorn"},
      {L"FileDescription", L"Quorvex Remover"},
      {L"FileVersion", L"1.0.1.3"},
      {L"InternalName", L"QuorvexRemover"},
      {L"OriginalFilename", L"QuorvexRemover.exe"},
      {L"ProductName", L"Quorvex Remover"},
      {L"ProductVersion", L"1.0.1.3"},
  };
  for (const auto& [name, value] : kStrings) {
    const std::wstring query = std::wstring(L"\\StringFileInfo\\040904E4\\") + name;
    wchar_t* text = nullptr;
    length = 0;
    ASSERT_TRUE(VerQueryValueW(block.data(), query.c_str(), reinterpret_cast<void**>(&text),
                               &length))
        << "missing " << std::string(name, name + wcslen(name));
    EXPECT_EQ(std::wstring(text, wcsnlen(text, length)), value);
  }
  wchar_t* copyright = nullptr;
  ASSERT_TRUE(VerQueryValueW(block.data(), L"\\StringFileInfo\\040904E4\\LegalCopyright",
                             reinterpret_cast<void**>(&copyright), &length));
  EXPECT_NE(std::wstring(copyright).find(L"Halvorn"), std::wstring::npos);
}

// Distinct colours and pixels other than `background` of a picture.
struct Content {
  std::size_t colours;
  int drawn;
};
Content ContentOf(const std::vector<Colour>& pixels, Colour background) {
  std::set<Colour> distinct(pixels.begin(), pixels.end());
  int drawn = 0;
  for (Colour c : pixels) drawn += c != background;
  return {distinct.size(), drawn};
}

TEST(Logo, FillsTheMainWindowsPictureOnWhite) {
  const Bitmap logo = Bitmap::LoadFromResource(Self(), "LOGO");
  ASSERT_FALSE(logo.Empty());
  EXPECT_EQ(logo.Width(), 237);
  EXPECT_EQ(logo.Height(), 189);
  EXPECT_EQ(logo.BitsPerPixel(), 24);
  const std::vector<Colour> pixels = ReadPixels(logo);
  ASSERT_EQ(pixels.size(), 237u * 189u);
  for (std::size_t corner : {0u, 236u, 188u * 237u, 188u * 237u + 236u}) {
    EXPECT_EQ(pixels[corner], 0x00FFFFFFu) << "corner " << corner;
  }
  const Content content = ContentOf(pixels, 0x00FFFFFF);
  EXPECT_GT(content.colours, 100u) << "smooth shading, not a few flat colours";
  EXPECT_GT(content.drawn, 237 * 189 / 5);
}

class GlyphTest : public ::testing::TestWithParam<const char*> {};

TEST_P(GlyphTest, APictureOnTheTransparentColourOfItsBottomLeftPixel) {
  const Bitmap glyph = Bitmap::LoadFromResource(Self(), GetParam());
  ASSERT_FALSE(glyph.Empty());
  // Beside a 71-pixel high button's caption, six pixels from its edge.
  EXPECT_EQ(glyph.Width(), 32);
  EXPECT_EQ(glyph.Height(), 32);
  const std::vector<Colour> pixels = ReadPixels(glyph);
  ASSERT_EQ(pixels.size(), 32u * 32u);
  const Colour transparent = pixels[31 * 32];
  // The picture sits inside the transparent colour: every corner has it.
  for (std::size_t corner : {0u, 31u, 31u * 32u + 31u}) {
    EXPECT_EQ(pixels[corner], transparent) << "corner " << corner;
  }
  // A colour of the button's face would vanish into it on any button.
  EXPECT_NE(transparent, 0x00FFF3EFu);
  const Content content = ContentOf(pixels, transparent);
  EXPECT_GT(content.drawn, 32 * 32 / 4);
  EXPECT_LT(content.drawn, 32 * 32 * 9 / 10);
  EXPECT_GT(content.colours, 12u) << "anti-aliased and shaded";
}

INSTANTIATE_TEST_SUITE_P(MainWindowButtons, GlyphTest,
                         ::testing::Values("CHECK_ACTIVE", "CHECK_INACTIVE", "UPDATE_INACTIVE",
                                           "EXIT_ACTIVE", "EXIT_INACTIVE"),
                         [](const auto& info) { return std::string(info.param); });

// Mean colourfulness (largest minus smallest channel) of the pixels that
// are not the transparent colour.
double MeanChroma(const std::vector<Colour>& pixels, Colour transparent) {
  double sum = 0;
  int count = 0;
  for (Colour c : pixels) {
    if (c == transparent) continue;
    const int r = c & 0xFF, g = (c >> 8) & 0xFF, b = (c >> 16) & 0xFF;
    sum += std::max({r, g, b}) - std::min({r, g, b});
    ++count;
  }
  return count == 0 ? 0 : sum / count;
}

TEST(Glyphs, HoverShowsAMoreVividPicture) {
  for (const auto& [active, inactive] : {std::pair{"CHECK_ACTIVE", "CHECK_INACTIVE"},
                                         std::pair{"EXIT_ACTIVE", "EXIT_INACTIVE"}}) {
    SCOPED_TRACE(active);
    const std::vector<Colour> hovered = ReadPixels(Bitmap::LoadFromResource(Self(), active));
    const std::vector<Colour> resting = ReadPixels(Bitmap::LoadFromResource(Self(), inactive));
    ASSERT_EQ(hovered.size(), 32u * 32u);
    ASSERT_EQ(resting.size(), 32u * 32u);
    EXPECT_GT(MeanChroma(hovered, hovered[31 * 32]), MeanChroma(resting, resting[31 * 32]) + 20);
  }
}

TEST(FlatButtonGlyphs, ComeAlongWithTheProgramsOwn) {
  for (const char* name : {"OFFICE_1", "OFFICE_24"}) {
    EXPECT_FALSE(Bitmap::LoadFromResource(Self(), name).Empty()) << name;
  }
}

TEST(ProgramIcon, GroupHoldsSixteenThirtyTwoAndFortyEight) {
  const std::string group = Resource(L"MAINICON", MAKEINTRESOURCEW(14));  // RT_GROUP_ICON
  ASSERT_GE(group.size(), 6u);
  const auto* bytes = reinterpret_cast<const std::uint8_t*>(group.data());
  const unsigned count = bytes[4] | (bytes[5] << 8);
  ASSERT_EQ(group.size(), 6u + 14u * count);
  std::set<int> sizes;
  for (unsigned i = 0; i < count; ++i) {
    const std::uint8_t* entry = bytes + 6 + 14 * i;
    EXPECT_EQ(entry[0], entry[1]) << "square images";
    sizes.insert(entry[0]);
  }
  EXPECT_EQ(sizes, (std::set<int>{16, 32, 48}));
}

TEST(ProgramIcon, LoadsAtSixteenAndThirtyTwoAsAPictureWithTransparentCorners) {
  for (int size : {16, 32}) {
    SCOPED_TRACE(size);
    HICON icon = static_cast<HICON>(LoadImageW(Self(), L"MAINICON", IMAGE_ICON, size, size, 0));
    ASSERT_NE(icon, nullptr);
    ICONINFO info = {};
    ASSERT_TRUE(GetIconInfo(icon, &info));
    const Bitmap colour(info.hbmColor);
    const Bitmap mask(info.hbmMask);
    EXPECT_EQ(colour.Width(), size) << "an image of this size, not a scaled one";
    EXPECT_EQ(colour.Height(), size);

    PixelSurface surface(size, size, 0x00FFFFFF);
    ASSERT_TRUE(DrawIconEx(surface.Handle(), 0, 0, icon, size, size, 0, nullptr, DI_NORMAL));
    DestroyIcon(icon);
    const std::vector<Colour> pixels = surface.Pixels();
    EXPECT_EQ(pixels[size - 1], 0x00FFFFFFu) << "top-right corner shows the background";
    const Content content = ContentOf(pixels, 0x00FFFFFF);
    EXPECT_GT(content.drawn, size * size / 3);
    EXPECT_GT(content.colours, 8u);
  }
}

}  // namespace
