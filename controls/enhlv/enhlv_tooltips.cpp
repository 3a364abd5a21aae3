#include "controls/enhlv/enhlv_tooltips.h"

namespace controls {

TTooltipOptions ChooseToolTipOptions(TTooltipOptions requested, TTooltipOptions current) {
  using O = TEnumToolTipOptions;
  TTooltipOptions chosen = requested;
  if (Has(chosen, O::ttoOffSet) && !Has(current, O::ttoOffSet)) chosen &= ~Option(O::ttoBelowItem);
  if (Has(chosen, O::ttoBelowItem) && !Has(current, O::ttoBelowItem)) {
    chosen &= ~Option(O::ttoOffSet);
  }
  return chosen;
}

ToolTipTimes TimesFor(TTooltipOptions options) {
  return {Has(options, TEnumToolTipOptions::ttoInstantShow) ? 1 : 500,
          Has(options, TEnumToolTipOptions::ttoLongStay) ? 32000 : 3000};
}

ui::Point PlaceToolTip(TTooltipOptions options, const ui::Rect& tip, ui::Point pointer,
                       const ui::Rect& label, ui::Size screen) {
  using O = TEnumToolTipOptions;
  ui::Point at{tip.left, tip.top};
  if (Has(options, O::ttoOffSet)) {
    at = {pointer.x + 20, pointer.y + label.Height() / 2};
  } else if (Has(options, O::ttoBelowItem)) {
    at.y += label.Height();
  }
  if (Has(options, O::ttoAdjustForScreenBoundary)) {
    if (at.x < 0) at.x = 0;
    if (at.y < 0) at.y = 0;
    if (at.x + tip.Width() > screen.width) at.x = screen.width - tip.Width();
    if (at.y + tip.Height() > screen.height) at.y = screen.height - tip.Height();
  }
  return at;
}

bool SupportsTooltipTitle(std::optional<std::pair<int, int>> version) {
  if (!version) return false;
  return version->first > 5 || (version->first == 5 && version->second >= 80);
}

}  // namespace controls
