#pragma once
// Driving real windows from inside their own modal loops: a script of
// steps a user takes, run from a timer, each step acting once its window
// is there. A script that stalls fails the test and then closes whatever
// window is active, tick by tick, until the modal showing returns.

#include <gtest/gtest.h>
#include <windows.h>

#include <cstddef>
#include <functional>
#include <utility>
#include <vector>

namespace localizer::testing {

// A shown top-level window of this process with that class and caption
// (null for any).
inline HWND ShownWindow(const wchar_t* className, const wchar_t* caption) {
  HWND window = FindWindowW(className, caption);
  DWORD process = 0;
  if (window == nullptr || !IsWindowVisible(window)) return nullptr;
  GetWindowThreadProcessId(window, &process);
  return process == GetCurrentProcessId() ? window : nullptr;
}

class UserScript {
 public:
  // A step answers true when it has acted, false while its window is not
  // there yet.
  using Step = std::function<bool()>;
  explicit UserScript(std::vector<Step> steps) : steps_(std::move(steps)) {}

  void Tick() {
    if (Done()) return;
    if (!stalled_ && steps_[next_]()) {
      ++next_;
      return;
    }
    if (!stalled_ && GetTickCount() - start_ > kPatienceMs) {
      ADD_FAILURE() << "step " << next_ << " never came";
      stalled_ = true;
    }
    if (stalled_) {
      if (HWND active = GetActiveWindow()) PostMessageW(active, WM_CLOSE, 0, 0);
    }
  }
  bool Done() const { return next_ == steps_.size(); }

 private:
  static constexpr DWORD kPatienceMs = 20000;

  std::vector<Step> steps_;
  std::size_t next_ = 0;
  bool stalled_ = false;
  DWORD start_ = GetTickCount();
};

}  // namespace localizer::testing
