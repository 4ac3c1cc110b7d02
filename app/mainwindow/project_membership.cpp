#include "mainwindow/project_membership.h"

namespace snapdesk {
namespace {

void clearNoSave(CoffeeShopList& list, long i) {
    if (list.filePath(i) == kNoSave) {
        list.setFilePath(i, kNotFound);
    }
}

void moveOffProject(CoffeeShopList& list, CommandHost& host, std::int16_t tab) {
    const long i = host.selectedIndex();
    if (list.inTab(i) == kProjectTab) {
        clearNoSave(list, i);
    }
    list.setInTab(i, tab);
    list.mvToEnd(i);
    host.updateWindowList();
}

}  // namespace

void mnuMvToMyProject_Click(CoffeeShopList& list, CommandHost& host) {
    const long i = host.selectedIndex();
    list.setInTab(i, kProjectTab);
    list.mvToEnd(i);
    host.updateWindowList();
    // The new member's location is looked for at once.
    host.updatePaths(true);
}

void mnuMvToDocs_Click(CoffeeShopList& list, CommandHost& host) {
    moveOffProject(list, host, kDocumentsTab);
}

void mnuMvToApps_Click(CoffeeShopList& list, CommandHost& host) {
    moveOffProject(list, host, kOthersTab);
}

void mnuMvtoWeb_Click(CoffeeShopList& list, CommandHost& host) {
    moveOffProject(list, host, kWebBrowsersTab);
}

void moveBackFromProject(CoffeeShopList& list, CommandHost& host) {
    const long i = host.selectedIndex();
    list.setInTab(i, list.originalTab(i));
    clearNoSave(list, i);
    list.mvToEnd(i);
    host.updateWindowList();
}

}  // namespace snapdesk
