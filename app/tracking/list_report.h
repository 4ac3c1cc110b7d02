#pragma once

#include <string>

#include "tracking/coffee_shop_list.h"

namespace snapdesk {

// The tracked records as lines of text (position, tab, name, executable), for the console
// watch of a newcomer.
std::string describeList(const CoffeeShopList& list);

}  // namespace snapdesk
