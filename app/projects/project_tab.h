#pragma once

#include "tracking/coffee_shop_list.h"

namespace snapdesk {

// Every record of the Project tab back on the tab it came from, at the end of the list; a
// member that was left out of the project becomes searchable again.
void emptyProjectTab(CoffeeShopList& list);

}  // namespace snapdesk
