#pragma once
// The tooltip rules of the list view TEnhListView, portable: which options
// a new set keeps, the delay times they ask for, where a tip is placed, and
// whether the common controls can show a tip's title.

#include <cstdint>
#include <optional>
#include <utility>

#include "ui/geometry.h"

namespace controls {

enum class TEnumToolTipOptions : std::int32_t {
  ttoInstantShow,
  ttoLongStay,
  ttoBelowItem,
  ttoOffSet,
  ttoAdjustForScreenBoundary,
};

// A set of TEnumToolTipOptions, bit i standing for value i.
using TTooltipOptions = std::uint32_t;

constexpr TTooltipOptions Option(TEnumToolTipOptions option) {
  return TTooltipOptions{1} << static_cast<int>(option);
}
constexpr bool Has(TTooltipOptions options, TEnumToolTipOptions option) {
  return (options & Option(option)) != 0;
}

enum class TEnumToolTipIcon : std::int32_t { ttiNoIcon, ttiInfo, ttiWarning, ttiError };

// The options that `requested` becomes when it replaces `current`: of the
// two placements the one newly asked for wins, and asked for together,
// ttoOffSet wins.
TTooltipOptions ChooseToolTipOptions(TTooltipOptions requested, TTooltipOptions current);

struct ToolTipTimes {
  int initialDelay;  // milliseconds before the tip shows
  int stayVisible;   // milliseconds it stays
  friend bool operator==(const ToolTipTimes&, const ToolTipTimes&) = default;
};
ToolTipTimes TimesFor(TTooltipOptions options);

// Where the tip goes: from where the platform put it (`tip`), by the
// options of this tip, the pointer and the row's label rectangle, kept on
// a screen of `screen` size when asked.
ui::Point PlaceToolTip(TTooltipOptions options, const ui::Rect& tip, ui::Point pointer,
                       const ui::Rect& label, ui::Size screen);

// Tip titles need the common controls 5.80 or later; an unreadable
// version (none) counts as too old.
bool SupportsTooltipTitle(std::optional<std::pair<int, int>> version);

}  // namespace controls
