#pragma once
// A window system for native tests: it records what the controls ask of
// it and answers from fields a test sets.

#include <algorithm>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "ui/control.h"
#include "ui/form.h"
#include "ui/win_control.h"
#include "ui/window_system.h"

namespace ui::testing {

class FakeWindowSystem : public WindowSystem {
 public:
  // Wrapped text: words (split at spaces) fill lines no wider than the
  // width, a longer word standing alone; each line 13 high.
  FakeWindowSystem() {
    SetWrappedTextMeasure([this](const Font& font, std::string_view text, int width) {
      Size block{0, 0};
      std::string line;
      auto close = [&] {
        block.width = std::max(block.width, MeasureText(font, false, line).width);
        block.height += 13;
        line.clear();
      };
      std::size_t at = 0;
      while (at <= text.size()) {
        const std::size_t space = std::min(text.find(' ', at), text.size());
        const std::string word(text.substr(at, space - at));
        const std::string joined = line.empty() ? word : line + " " + word;
        if (!line.empty() && MeasureText(font, false, joined).width > width) close();
        line = line.empty() ? word : line + " " + word;
        at = space + 1;
      }
      close();
      return block;
    });
  }

  void Invalidate(Control& control) override { invalidated.push_back(&control); }
  void Update(Control& control) override { updated.push_back(&control); }
  void Removed(Control& control) override {
    removed.push_back(&control);
    if (captured == &control) captured = nullptr;
    if (focused == &control) focused = nullptr;
  }
  void SetCapture(WinControl& control) override { captured = &control; }
  void ReleaseCapture() override { captured = nullptr; }
  WinControl* Captured() override { return captured; }
  bool SetFocus(WinControl& control) override {
    if (refuseFocus) return false;
    WinControl* before = focused;
    focused = &control;
    if (before && before != &control) before->FocusLost();
    if (before != &control) control.FocusGained();
    return true;
  }
  WinControl* Focused() override { return focused; }
  // Screen and client coordinates are the same here.
  Point ClientToScreen(const Control&, Point point) override { return point; }
  Control* ControlAtScreen(Point) override { return controlAtPointer; }
  void ProcessMessages() override { ++processed; }
  int ShowModal(Form& form) override {
    form.SetModal(true);
    form.Shown();
    if (whileModal) whileModal(form);
    form.SetModal(false);
    return form.ModalResult();
  }
  void Show(Form& form) override { form.Shown(); }
  void Close(Form& form) override { closed.push_back(&form); }
  // Every character 6 pixels wide and 13 high (bold: 7).
  Size MeasureText(const Font&, bool bold, std::string_view text) override {
    return {static_cast<int>(text.size()) * (bold ? 7 : 6), 13};
  }
  void ShowInformation(std::string_view text) override { information.emplace_back(text); }
  std::optional<std::vector<std::uint8_t>> BitmapResource(const std::string& name) override {
    const auto it = bitmaps.find(name);
    if (it == bitmaps.end()) return std::nullopt;
    return it->second;
  }
  int StartTimer(unsigned milliseconds, std::function<void()> elapsed) override {
    timers.push_back({milliseconds, std::move(elapsed), true});
    return static_cast<int>(timers.size());
  }
  void StopTimer(int id) override { timers.at(static_cast<std::size_t>(id) - 1).running = false; }

  std::vector<Control*> invalidated;
  std::vector<Control*> updated;
  std::vector<Control*> removed;
  std::vector<Form*> closed;
  std::vector<std::string> information;
  WinControl* captured = nullptr;
  WinControl* focused = nullptr;
  Control* controlAtPointer = nullptr;
  bool refuseFocus = false;
  int processed = 0;
  std::map<std::string, std::vector<std::uint8_t>> bitmaps;
  struct Timer {
    unsigned milliseconds;
    std::function<void()> elapsed;
    bool running;
  };
  std::vector<Timer> timers;
  // What the "user" does while a form is shown modally.
  std::function<void(Form&)> whileModal;
};

}  // namespace ui::testing
