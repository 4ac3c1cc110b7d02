#pragma once

// The commands that move the selected record onto the Project tab or off it.

#include "mainwindow/command_host.h"
#include "tracking/coffee_shop_list.h"

namespace snapdesk {

// Project tab, end of the list, redraw, then a location search for the new member.
void mnuMvToMyProject_Click(CoffeeShopList& list, CommandHost& host);
// Documents, Others, Web Browsers: a "nosave" member becomes searchable again ("notfound").
void mnuMvToDocs_Click(CoffeeShopList& list, CommandHost& host);
void mnuMvToApps_Click(CoffeeShopList& list, CommandHost& host);
void mnuMvtoWeb_Click(CoffeeShopList& list, CommandHost& host);
// Back to the tab discovery chose (zzzzFrom), "nosave" cleared, end of the list, redraw.
void moveBackFromProject(CoffeeShopList& list, CommandHost& host);

}  // namespace snapdesk
