#pragma once
// A desktop for the windows' native tests: the stored forms come from the
// source tree, bitmaps are plain pictures of the size a window expects, and
// everything the windows ask of the system is recorded.

#include <deque>
#include <string>
#include <vector>

#include "app/windows/desktop.h"
#include "ui/tests/fake_window_system.h"

namespace app::testing {

class RecordingDesktop : public Desktop {
 public:
  struct Launch {
    const ui::Form* owner;
    std::string file;
    std::string parameters;
  };

  RecordingDesktop();

  void Open(const ui::Form& owner, const std::string& file,
            const std::string& parameters) override {
    launches.push_back({&owner, file, parameters});
  }
  int ShowMessageBox(const std::string& text, const std::string& title,
                     std::uint32_t flags) override;
  std::string StoredForm(const std::string& unit) override;
  std::string ProgramPath() override { return programPath; }
  std::int32_t WindowHandle(const ui::Form&) override { return windowHandle; }
  void Terminate() override { ++terminated; }

  // Puts the program's bitmaps into `windows`.
  void ProvideBitmaps(ui::testing::FakeWindowSystem& windows) const;

  std::string programPath = "C:\\Tools\\Quorvex\\QuorvexRemover.exe";
  std::int32_t windowHandle = 0x2003A;
  std::vector<Launch> launches;
  struct Box {
    std::string text, title;
    std::uint32_t flags;
  };
  std::vector<Box> boxes;
  std::deque<int> boxAnswers;  // IDOK when empty
  int terminated = 0;
};

// A 24-bit bitmap resource (the file without its 14-byte header).
std::vector<std::uint8_t> BitmapResource(int width, int height);

}  // namespace app::testing
