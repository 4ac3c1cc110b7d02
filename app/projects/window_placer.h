#pragma once

// Members' windows recorded when a project is saved and put back when it is opened.

#include <set>
#include <string>
#include <vector>

#include "platform/window_manager.h"
#include "tracking/coffee_shop_list.h"

namespace snapdesk {

// The placement text of each record, in the order given. A frame that holds several of the
// records is recorded with the first of them only.
std::vector<std::string> recordPlacements(WindowManager& windows, const CoffeeShopList& list,
                                          const std::vector<long>& records);

class WindowPlacer {
  public:
    explicit WindowPlacer(WindowManager& windows) : windows_(windows) {}

    // A new open: every window may be placed again.
    void startOpen();
    // The record's window put where `placement` says; a frame or document already placed by
    // this open, and anything the text does not give, stays where it is.
    void place(const CoffeeShopList& list, long record, const std::string& placement);

  private:
    WindowManager& windows_;
    std::set<WindowHandle> placed_;
};

}  // namespace snapdesk
