#pragma once

// Office documents kept in a synced cloud folder: with AutoSave on, the program names them by
// their web address, while the same file lies in the folder the sync client keeps on disk.

#include <string>
#include <vector>

#include "platform/file_system.h"
#include "platform/registry.h"

namespace snapdesk {

// One folder the sync client keeps: the web address it mirrors and where it lies on disk.
struct SyncRoot {
    std::string urlNamespace;  // e.g. "https://d.docs.live.net/1a2b3c/"
    std::string mountPoint;    // e.g. "C:\Users\me\OneDrive"
};

// The local path a web address stands for under the root whose address is its longest
// beginning (compared without case, escapes decoded); "" when no root holds it.
std::string syncedPathOf(const std::string& address, const std::vector<SyncRoot>& roots);

// The OneDrive roots of the current user, as the sync client registers them.
std::vector<SyncRoot> oneDriveRoots(Registry& registry);

// An Office document's FullName as a location: a web address becomes its synced file when
// that file is there, else it stays the address; any other name is returned as it is.
std::string officeDocumentLocation(const std::string& fullName, Registry& registry,
                                   FileSystem& files);

}  // namespace snapdesk
