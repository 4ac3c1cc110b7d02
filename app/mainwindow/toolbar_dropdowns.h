#pragma once

// The lists of documents the toolbar's drop-down buttons open: "updateimages" (zzzzUpdate),
// "addtoproject" (zzzzTo) and "movefromproject" (zzzzFrom).

#include <string>

#include "mainwindow/dynamic_menu.h"
#include "tracking/coffee_shop_list.h"

namespace snapdesk {

// A record's entry: its short name with every "&" doubled, so that it shows as typed.
std::string dropDownCaption(const std::string& captionString);

// "All", a separator, then every displayed record of any tab, or "No Files Open" when there
// is none. Elements left over from a longer list are hidden before the list opens.
void buildUpdateImagesList(DynamicItemArray& zzzzUpdate, const CoffeeShopList& list);

// The records that are not on the Project tab (toProject) or are on it, or "No Files To Move"
// when there is none; surplus elements hidden as above.
void buildMoveList(DynamicItemArray& array, const CoffeeShopList& list, bool toProject);

}  // namespace snapdesk
