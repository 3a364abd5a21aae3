#include "controls/standard/timer.h"

#include "ui/class_info.h"
#include "ui/form.h"
#include "ui/publish.h"
#include "ui/window_system.h"

namespace controls {

const ui::ClassInfo& TTimer::StaticClass() {
  static const ui::ClassInfo info(
      "TTimer", &ui::Component::StaticClass(),
      ui::Publish<TTimer>()
          .Boolean("Enabled", &TTimer::Enabled, &TTimer::SetEnabled, true)
          .Integer("Interval", &TTimer::Interval, &TTimer::SetInterval, 1000, 0, INT32_MAX)
          .EventOf("OnTimer", &TTimer::OnTimer)
          .Done());
  return info;
}

TTimer::~TTimer() {
  if (timerId_ != 0) windows_->StopTimer(timerId_);
}

void TTimer::SetEnabled(bool enabled) {
  if (enabled == enabled_) return;
  enabled_ = enabled;
  Update();
}

void TTimer::SetInterval(int milliseconds) {
  if (milliseconds == interval_) return;
  interval_ = milliseconds;
  Update();
}

void TTimer::Update() {
  if (timerId_ != 0) {
    windows_->StopTimer(timerId_);
    timerId_ = 0;
  }
  auto* form = dynamic_cast<ui::Form*>(Owner());
  if (!enabled_ || interval_ <= 0 || !OnTimer || !form) return;
  windows_ = &form->System();
  timerId_ = windows_->StartTimer(static_cast<unsigned>(interval_), [this] { OnTimer(*this); });
}

}  // namespace controls
