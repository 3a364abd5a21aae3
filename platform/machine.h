#pragma once
// Everything of the machine that the scanner and the check workflow touch.

#include "platform/clock.h"
#include "platform/drives.h"
#include "platform/file_system.h"
#include "platform/process_token.h"
#include "platform/registry.h"
#include "platform/text.h"
#include "platform/wide_registry.h"

namespace platform {

struct Machine {
  Registry& registry;
  FileSystem& files;
  Drives& drives;
  ProcessToken& token;
  Text& text;
  // The same registry with exact (UTF-16) names, for copying whole key trees.
  WideRegistry& wideRegistry;
  Clock& clock;
};

}  // namespace platform
