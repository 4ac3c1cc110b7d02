#include "tracking/list_report.h"

#include <array>
#include <sstream>

namespace snapdesk {

namespace {

std::string tabName(std::int16_t tab) {
    static constexpr std::array names = {"Documents", "Web Browsers", "Others", "Project"};
    return tab >= 0 && tab < static_cast<std::int16_t>(names.size()) ? names[tab] : "?";
}

}  // namespace

std::string describeList(const CoffeeShopList& list) {
    std::ostringstream out;
    out << list.count() << " tracked window" << (list.count() == 1 ? "" : "s") << "\n";
    for (long i = 1; i <= list.count(); ++i) {
        out << "  " << i << ". [" << tabName(list.inTab(i)) << "] \"" << list.CaptionString(i)
            << "\"  " << (list.EXEPath(i).empty() ? "(executable unknown)" : list.EXEPath(i))
            << (list.gotPhoto(i) ? "  pictured" : "") << "\n";
    }
    return out.str();
}

}  // namespace snapdesk
