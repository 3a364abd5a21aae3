#pragma once
// An event of a component: the handler to call and the name under which a
// stored form bound it.

#include <functional>
#include <string>
#include <utility>

namespace ui {

template <class Signature>
struct Event {
  std::string handlerName;
  std::function<Signature> handler;

  explicit operator bool() const { return static_cast<bool>(handler); }
  template <class... Args>
  void operator()(Args&&... args) const {
    if (handler) handler(std::forward<Args>(args)...);
  }
};

}  // namespace ui
