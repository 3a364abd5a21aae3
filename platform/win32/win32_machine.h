#pragma once
// The real machine, every part through the Win32 API.

#include "platform/machine.h"
#include "platform/win32/win32_clock.h"
#include "platform/win32/win32_drives.h"
#include "platform/win32/win32_file_system.h"
#include "platform/win32/win32_process_token.h"
#include "platform/win32/win32_registry.h"
#include "platform/win32/win32_text.h"

namespace platform::win32 {

struct Win32Machine {
  Win32Registry registry;
  Win32FileSystem files;
  Win32Drives drives;
  Win32ProcessToken token;
  Win32Text text;
  Win32Clock clock;

  Machine machine() { return Machine{registry, files, drives, token, text, registry, clock}; }
};

}  // namespace platform::win32
