#pragma once
// The platform services the icon guard's core works with, passed in by the
// caller so tests can hand in an in-memory machine.

#include "platform/wide_registry.h"
#include "platform/wide_shell.h"

namespace iconguard {

struct GuardPlatform {
  platform::WideRegistry& registry;
  platform::WideShell& shell;
};

}  // namespace iconguard
