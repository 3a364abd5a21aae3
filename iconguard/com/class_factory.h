#pragma once
// The class factory that the module table caches for a class.

#include <windows.h>

#include "iconguard/com/module.h"

namespace iconguard::com {

// A factory holding one reference (the module table's); null when out of
// memory.
IClassFactory* CreateClassFactory(InstanceCreator createInstance);

}  // namespace iconguard::com
