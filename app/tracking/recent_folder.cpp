#include "tracking/recent_folder.h"

namespace snapdesk {

namespace {
std::string& storage() {
    static std::string folder = kRecentFolderUnknown;
    return folder;
}
}  // namespace

const std::string& recentFolder() {
    return storage();
}

void setRecentFolder(std::string folder) {
    storage() = std::move(folder);
}

}  // namespace snapdesk
