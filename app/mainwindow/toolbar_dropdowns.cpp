#include "mainwindow/toolbar_dropdowns.h"

#include "common/make_short_file_name.h"

namespace snapdesk {
namespace {

constexpr int kFirstUpdateDocument = 3;
constexpr int kFirstMoveDocument = 1;

// Lists the displayed records that `qualifies` accepts from element `first` on; returns the
// first element left over.
template <typename Qualifies>
int listRecords(DynamicItemArray& array, const CoffeeShopList& list, int first,
                const Qualifies& qualifies) {
    int m = first;
    for (long k = 1; k <= list.count(); ++k) {
        if (list.doDisplay(k) && qualifies(k)) {
            array.show(m, dropDownCaption(list.CaptionString(k)), std::to_string(k), list.hWnd(k));
            ++m;
        }
    }
    return m;
}

}  // namespace

std::string dropDownCaption(const std::string& captionString) {
    return makeShortFileName(captionString, kDoubleAmpersands);
}

void buildUpdateImagesList(DynamicItemArray& zzzzUpdate, const CoffeeShopList& list) {
    if (const DynamicItem* all = zzzzUpdate.item(1)) {
        zzzzUpdate.show(1, all->caption, kTagAll);
    }
    int m = listRecords(zzzzUpdate, list, kFirstUpdateDocument, [](long) { return true; });
    if (m == kFirstUpdateDocument) {
        zzzzUpdate.show(kFirstUpdateDocument, kNoFilesOpen, kTagNone);
        m = kFirstUpdateDocument + 1;
    }
    // Before the list opens: an element of a longer earlier list must not show a stale record.
    zzzzUpdate.hideFrom(m);
}

void buildMoveList(DynamicItemArray& array, const CoffeeShopList& list, bool toProject) {
    int m = listRecords(array, list, kFirstMoveDocument, [&list, toProject](long k) {
        return (list.inTab(k) == kProjectTab) != toProject;
    });
    if (m == kFirstMoveDocument) {
        array.show(kFirstMoveDocument, kNoFilesToMove, kTagNone);
        m = kFirstMoveDocument + 1;
    }
    array.hideFrom(m);
}

}  // namespace snapdesk
