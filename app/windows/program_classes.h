#pragma once
// The component classes the program's stored forms are made of.

#include "ui/class_registry.h"

namespace app {

const ui::ClassRegistry& ProgramClasses();

}  // namespace app
