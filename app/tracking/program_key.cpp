#include "tracking/program_key.h"

#include "common/packaged_programs.h"
#include "common/text.h"

namespace snapdesk {

std::string programKeyOf(const CoffeeShopList& list, long i) {
    const std::string appId = list.appId(i);
    return text::upperCase(appId.empty() ? list.EXEPath(i) : packaged::programText(appId));
}

}  // namespace snapdesk
