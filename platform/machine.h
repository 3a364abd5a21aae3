#pragma once
// Everything of the machine that the scanner and the check workflow touch.

#include "platform/drives.h"
#include "platform/file_system.h"
#include "platform/process_token.h"
#include "platform/registry.h"
#include "platform/text.h"

namespace platform {

struct Machine {
  Registry& registry;
  FileSystem& files;
  Drives& drives;
  ProcessToken& token;
  Text& text;
};

}  // namespace platform
