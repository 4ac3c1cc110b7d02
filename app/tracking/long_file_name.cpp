#include "tracking/long_file_name.h"

#include "common/app_title.h"
#include "common/runtime_error.h"

#include <optional>

namespace snapdesk {

namespace {

// The long name of the last element of `partial`, as the file system stores it. An element
// that is not there (a deleted file, a path of another machine) stays as written.
std::string longNameOf(FileSystem& files, const std::string& partial) {
    const bool isPattern = partial.find_first_of("*?") != std::string::npos;
    if (const auto entry = isPattern ? std::nullopt : files.findFirstFile(partial)) {
        return entry->name;
    }
    const auto slash = partial.rfind('\\');
    return slash == std::string::npos ? partial : partial.substr(slash + 1);
}

}  // namespace

std::string LongFileName(FileSystem& files, Ui& ui, const std::string& path) {
    try {
        if (path.empty()) {
            return {};
        }
        std::string result;
        std::size_t scanFrom = 0;
        if (path.size() >= 2 && path[1] == ':') {
            result = path.substr(0, 2);
            scanFrom = 2;
        }
        // The first "\" after a drive (or at the very start) opens the root: nothing to look up.
        if (scanFrom < path.size() && path[scanFrom] == '\\') {
            ++scanFrom;
        }
        for (auto slash = path.find('\\', scanFrom); slash != std::string::npos;
             slash = path.find('\\', slash + 1)) {
            result += "\\" + longNameOf(files, path.substr(0, slash));
        }
        result += "\\" + longNameOf(files, path);
        return result;
    } catch (const RuntimeError& e) {
        ui.messageBox("Error has occured in 'LongFileName'\nFileName: " + path + " _ " +
                          e.description + " " + e.source,
                      kAppTitle, MessageBoxStyle::Ok);
        return {};
    }
}

}  // namespace snapdesk
