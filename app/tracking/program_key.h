#pragma once

#include <string>

#include "tracking/coffee_shop_list.h"

namespace snapdesk {

// What a record's program is compared by with a project member's saved program (which is in
// upper case): a packaged program's application id in its saved form, upper-cased, since its
// executable's path changes with every update; else the upper-cased executable path.
std::string programKeyOf(const CoffeeShopList& list, long i);

}  // namespace snapdesk
