#pragma once

// Where a member's window stood when its project was saved, as the project file holds it, and
// the rule that brings a rectangle onto the monitors there are now.
//
// The value of a member in the placement section: parts separated by ";".
//   window part    state,left,top,right,bottom[,workLeft,workTop,workRight,workBottom]
//                  the frame's normal rectangle in screen pixels and the work area of the
//                  monitor it was on (left out when it was on none)
//   document part  mdi:state,left,top,right,bottom
//                  an MDI document's rectangle inside its frame's client
// state is "normal", "maximized" or "minimized". A part that is not a known state and four
// integers forming a rectangle (or eight with the monitor) is ignored.

#include <optional>
#include <string>
#include <vector>

#include "platform/window_manager.h"

namespace snapdesk {

struct SavedPlacement {
    std::optional<WindowPlacement> window;
    std::optional<Rect> monitorWork;  // with `window` only
    std::optional<WindowPlacement> document;
};

std::string placementText(const SavedPlacement& placement);
SavedPlacement parsePlacement(const std::string& text);

// The work area of the monitor that holds the largest part of `rect`; nullopt when none does.
std::optional<Rect> workAreaHolding(const Rect& rect, const std::vector<MonitorArea>& monitors);

// `rect` as it is, when the monitor whose work area it was saved with is still there; else
// moved onto the nearest monitor's work area, whole and at most its size.
Rect placedOnMonitors(const Rect& rect, const std::optional<Rect>& savedWork,
                      const std::vector<MonitorArea>& monitors);

}  // namespace snapdesk
