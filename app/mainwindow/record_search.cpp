#include "mainwindow/record_search.h"

#include <string>
#include <string_view>

#include "tracking/tracked_window.h"

namespace snapdesk {

namespace {

std::string_view knownLocation(const std::string& path) {
    return path == kNotFound || path == kNoSave ? std::string_view{} : std::string_view{path};
}

std::string_view programName(const std::string& exePath) {
    const auto slash = exePath.find_last_of("\\/");
    return slash == std::string::npos ? std::string_view{exePath}
                                      : std::string_view{exePath}.substr(slash + 1);
}

}  // namespace

std::string recordHaystack(const CoffeeShopList& list, long k) {
    const std::string caption = list.CaptionString(k);
    const std::string comment = list.CommentString(k);
    const std::string path = list.filePath(k);
    const std::string exe = list.EXEPath(k);
    return SearchWords::haystack({caption, comment, knownLocation(path), programName(exe)});
}

}  // namespace snapdesk
