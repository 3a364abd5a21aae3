#pragma once
// A registry key opened for one scope and closed again on every way out of it.

#include <optional>
#include <string>

#include "platform/registry.h"

namespace scanner {

class ScopedKey {
 public:
  ScopedKey(platform::Registry& registry, platform::RegKey parent, const std::string& path)
      : ScopedKey(registry, registry.OpenKey(parent, path)) {}
  // Takes over a key that is already open (or the failure to open it).
  ScopedKey(platform::Registry& registry, std::optional<platform::RegKey> key)
      : registry_(registry), key_(key) {}
  ~ScopedKey() {
    if (key_) registry_.CloseKey(*key_);
  }
  ScopedKey(const ScopedKey&) = delete;
  ScopedKey& operator=(const ScopedKey&) = delete;

  explicit operator bool() const { return key_.has_value(); }
  platform::RegKey get() const { return *key_; }

 private:
  platform::Registry& registry_;
  std::optional<platform::RegKey> key_;
};

}  // namespace scanner
