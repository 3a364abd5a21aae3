#pragma once
// Shortcut files in the Shell Link binary format, written byte by byte so
// that the seeds need no shell object: one whose target list starts with My
// Computer and then the Control Panel (the rootkit's kind), and an ordinary
// one to a drive.

#include <cstdint>
#include <vector>

namespace e2e {

using Bytes = std::vector<std::uint8_t>;

// My Computer, the Control Panel, then one applet item.
Bytes ControlPanelShortcut();
// My Computer, then the drive C:\.
Bytes DriveShortcut();

}  // namespace e2e
