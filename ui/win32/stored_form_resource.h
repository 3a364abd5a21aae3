#pragma once
// The program keeps each window's stored form as a resource of its own:
// type RCDATA, named after the form's unit ("MAINR", "FOUND", ...).

#include <windows.h>

#include <optional>
#include <string>

namespace ui::win32 {

// The text of the stored form resource `name` of `module`; none when the
// module has no such resource.
std::optional<std::string> StoredFormResource(HMODULE module, const std::string& name);

}  // namespace ui::win32
