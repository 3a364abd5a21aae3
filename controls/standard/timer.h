#pragma once
// TTimer: calls OnTimer every Interval milliseconds while Enabled, through
// the window system of the form that owns it.

#include "ui/component.h"
#include "ui/event.h"
#include "ui/window_system.h"

namespace controls {

class TTimer : public ui::Component {
 public:
  TTimer() = default;
  ~TTimer() override;

  static const ui::ClassInfo& StaticClass();
  const ui::ClassInfo& Class() const override { return StaticClass(); }

  bool Enabled() const { return enabled_; }
  void SetEnabled(bool enabled);
  int Interval() const { return interval_; }
  void SetInterval(int milliseconds);
  bool Running() const { return timerId_ != 0; }

  // Bound by the stored form; the timer starts once the form is loaded.
  ui::Event<void(ui::Component&)> OnTimer;

  void Loaded() override { Update(); }

 private:
  // Runs exactly while enabled, with an interval and a handler, on a form.
  void Update();

  bool enabled_ = true;
  int interval_ = 1000;
  int timerId_ = 0;
  ui::WindowSystem* windows_ = nullptr;
};

}  // namespace controls
