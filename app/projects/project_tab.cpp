#include "projects/project_tab.h"

namespace snapdesk {

void emptyProjectTab(CoffeeShopList& list) {
    for (long i = list.count(); i >= 1; --i) {
        if (list.inTab(i) == kProjectTab) {
            list.setInTab(i, list.originalTab(i));
            if (list.filePath(i) == kNoSave) {
                list.setFilePath(i, kNotFound);
            }
            list.mvToEnd(i);
        }
    }
}

}  // namespace snapdesk
