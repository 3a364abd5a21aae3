#pragma once
// What the controls ask of the window system. A form is given one; its
// controls reach it through the form. The Win32 host implements it over real
// windows; native tests hand in a recorder.

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "ui/geometry.h"

namespace ui {

class Control;
class Font;
class Form;
class WinControl;

class WindowSystem {
 public:
  virtual ~WindowSystem() = default;

  // A control's look changed: paint it again soon (a lightweight control is
  // painted by its parent's window).
  virtual void Invalidate(Control& control) = 0;
  // Position, size, visibility, enabled state or text changed.
  virtual void Update(Control& control) = 0;
  // The control leaves its parent (or the form goes): its window, and the
  // windows inside it, go with it.
  virtual void Removed(Control& control) = 0;

  // The mouse: while a windowed control holds the capture it receives every
  // mouse message. `Captured` names the holder (null for none).
  virtual void SetCapture(WinControl& control) = 0;
  virtual void ReleaseCapture() = 0;
  virtual WinControl* Captured() = 0;

  // The keyboard focus; false when the window system refused it.
  virtual bool SetFocus(WinControl& control) = 0;
  virtual WinControl* Focused() = 0;

  virtual Point ClientToScreen(const Control& control, Point point) = 0;
  // The topmost control at a screen point, disabled controls included.
  virtual Control* ControlAtScreen(Point point) = 0;

  // Handles the messages that are waiting, then returns.
  virtual void ProcessMessages() = 0;
  // Shows `form` modally and returns when its modal result is set.
  virtual int ShowModal(Form& form) = 0;
  virtual void Show(Form& form) = 0;
  virtual void Close(Form& form) = 0;

  // One line of UTF-8 text in `font` (bold added when asked) as it would
  // be drawn: its width and height in pixels.
  virtual Size MeasureText(const Font& font, bool bold, std::string_view text) = 0;

  // UTF-8 text in `font` broken into lines no wider than `width`, as the
  // painters draw it (word breaks, line breaks, `&` prefixes): the size of
  // the block. Whoever registers the painters that draw wrapped text
  // installs it, so that measure and drawing agree; null until then.
  using WrappedTextMeasure =
      std::function<Size(const Font& font, std::string_view text, int width)>;
  void SetWrappedTextMeasure(WrappedTextMeasure measure) {
    wrappedTextMeasure_ = std::move(measure);
  }
  std::optional<Size> MeasureWrappedText(const Font& font, std::string_view text,
                                         int width) const {
    if (!wrappedTextMeasure_) return std::nullopt;
    return wrappedTextMeasure_(font, text, width);
  }

  // An information box with an OK button.
  virtual void ShowInformation(std::string_view text) = 0;

  // The program's bitmap resource of that name (its bytes, without a file
  // header), if there is one.
  virtual std::optional<std::vector<std::uint8_t>> BitmapResource(const std::string& name) = 0;

  // Calls `elapsed` every `milliseconds` from the message loop until
  // stopped; returns a non-zero id.
  virtual int StartTimer(unsigned milliseconds, std::function<void()> elapsed) = 0;
  virtual void StopTimer(int id) = 0;

 private:
  WrappedTextMeasure wrappedTextMeasure_;
};

}  // namespace ui
