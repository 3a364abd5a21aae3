#pragma once
// What the user is told about findings a removal had to leave in place.

#include <string>

#include "scanner/removal.h"

namespace app {

// One line per finding left in place with its reason; "" when every
// finding was removed, scheduled for the restart, or already gone.
std::string LeftInPlaceMessage(const scanner::RemovalReport& report);

}  // namespace app
