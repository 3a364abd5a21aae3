#include "app/windows/tests/recording_desktop.h"

#include <algorithm>
#include <cctype>
#include <fstream>
#include <sstream>
#include <stdexcept>

namespace app::testing {
namespace {

void Put32(std::vector<std::uint8_t>& bytes, std::size_t at, std::uint32_t value) {
  for (int i = 0; i < 4; ++i) bytes[at + i] = static_cast<std::uint8_t>(value >> (8 * i));
}

}  // namespace

std::vector<std::uint8_t> BitmapResource(int width, int height) {
  const std::size_t stride = (static_cast<std::size_t>(width) * 3 + 3) & ~std::size_t{3};
  std::vector<std::uint8_t> bytes(40 + stride * height, 0x80);
  std::fill(bytes.begin(), bytes.begin() + 40, 0);
  Put32(bytes, 0, 40);
  Put32(bytes, 4, static_cast<std::uint32_t>(width));
  Put32(bytes, 8, static_cast<std::uint32_t>(height));
  bytes[12] = 1;   // planes
  bytes[14] = 24;  // bits per pixel
  return bytes;
}

RecordingDesktop::RecordingDesktop() = default;

int RecordingDesktop::ShowMessageBox(const std::string& text, const std::string& title,
                                     std::uint32_t flags) {
  boxes.push_back({text, title, flags});
  if (boxAnswers.empty()) return 1;  // IDOK
  const int answer = boxAnswers.front();
  boxAnswers.pop_front();
  return answer;
}

std::string RecordingDesktop::StoredForm(const std::string& unit) {
  std::string file = unit;
  std::transform(file.begin(), file.end(), file.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  std::ifstream in(std::string(QR_FORMS_DIR) + "/" + file + ".qrf", std::ios::binary);
  if (!in) throw std::runtime_error("no stored form " + unit);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

void RecordingDesktop::ProvideBitmaps(ui::testing::FakeWindowSystem& windows) const {
  windows.bitmaps["LOGO"] = BitmapResource(237, 189);
  for (const char* glyph :
       {"CHECK_ACTIVE", "CHECK_INACTIVE", "UPDATE_INACTIVE", "EXIT_ACTIVE", "EXIT_INACTIVE"}) {
    windows.bitmaps[glyph] = BitmapResource(32, 32);
  }
}

}  // namespace app::testing
