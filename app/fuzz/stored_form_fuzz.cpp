// A stored form of any content read into the program's windows with the
// program's own component classes. A damaged form must end in a FormError
// (or a window that is whole), never in a crash or a leak.

#include <cstddef>
#include <cstdint>
#include <stdexcept>
#include <string>

#include "app/windows/exmes.h"
#include "app/windows/found.h"
#include "app/windows/suggest.h"
#include "app/windows/usbcheck.h"
#include "ui/form_error.h"
#include "ui/tests/fake_window_system.h"

namespace {

// Every stored form is the fuzzer's input; the rest of the desktop does nothing.
class InputDesktop : public app::Desktop {
 public:
  explicit InputDesktop(std::string form) : form_(std::move(form)) {}
  void Open(const ui::Form&, const std::string&, const std::string&) override {}
  int ShowMessageBox(const std::string&, const std::string&, std::uint32_t) override { return 1; }
  std::string StoredForm(const std::string&) override { return form_; }
  std::string ProgramPath() override { return "C:\\QuorvexRemover.exe"; }
  std::int32_t WindowHandle(const ui::Form&) override { return 1; }
  void Terminate() override {}

 private:
  std::string form_;
};

template <class Make>
void Read(Make make) {
  try {
    make();
  } catch (const ui::FormError&) {
  } catch (const std::logic_error&) {
    // A form without a component the window works with.
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  InputDesktop desktop(std::string(reinterpret_cast<const char*>(data), size));
  ui::testing::FakeWindowSystem windows;
  Read([&] { app::TfrmSuggest window(windows, desktop); });
  Read([&] { app::TfrmExMes window(windows, desktop, "Quorvex Remover"); });
  Read([&] { app::TfrmUSB window(windows, desktop); });
  Read([&] { app::TfrmFound window(windows, desktop); });
  return 0;
}
