#include "location/cloud_files.h"

#include <cstdint>

#include "common/text.h"

namespace snapdesk {
namespace {

constexpr const char* kOneDriveProviders = "Software\\SyncEngines\\Providers\\OneDrive";
constexpr std::uint32_t kDirectoryAttribute = 0x10;

int hexValue(char c) {
    if (c >= '0' && c <= '9') {
        return c - '0';
    }
    if (c >= 'a' && c <= 'f') {
        return c - 'a' + 10;
    }
    if (c >= 'A' && c <= 'F') {
        return c - 'A' + 10;
    }
    return -1;
}

// Every "%XY" turned into its byte (UTF-8 stays UTF-8); a "%" without two hex digits stays.
std::string percentDecoded(const std::string& s) {
    std::string out;
    out.reserve(s.size());
    for (std::size_t i = 0; i < s.size(); ++i) {
        if (s[i] == '%' && i + 2 < s.size()) {
            const int high = hexValue(s[i + 1]);
            const int low = hexValue(s[i + 2]);
            if (high >= 0 && low >= 0) {
                out.push_back(static_cast<char>(high * 16 + low));
                i += 2;
                continue;
            }
        }
        out.push_back(s[i]);
    }
    return out;
}

// The address without its query or fragment, decoded.
std::string decodedPath(const std::string& address) {
    return percentDecoded(address.substr(0, address.find_first_of("?#")));
}

}  // namespace

std::string syncedPathOf(const std::string& address, const std::vector<SyncRoot>& roots) {
    const std::string path = decodedPath(address);
    const std::string upperPath = text::upperCase(path);
    const SyncRoot* best = nullptr;
    std::size_t bestLength = 0;
    for (const SyncRoot& root : roots) {
        std::string space = decodedPath(root.urlNamespace);
        while (text::endsWith(space, "/")) {
            space.pop_back();
        }
        // The namespace ends where a folder of the address ends.
        const bool holds = !space.empty() && !root.mountPoint.empty() &&
                           text::beginsWith(upperPath, text::upperCase(space)) &&
                           path.size() > space.size() + 1 && path[space.size()] == '/';
        if (holds && space.size() > bestLength) {
            best = &root;
            bestLength = space.size();
        }
    }
    if (best == nullptr) {
        return {};
    }
    std::string rest = path.substr(bestLength + 1);
    for (char& c : rest) {
        if (c == '/') {
            c = '\\';
        }
    }
    // A name that climbs out of the synced folder is not one of its files.
    const std::string wrapped = "\\" + rest + "\\";
    if (text::contains(wrapped, "\\..\\") || text::contains(wrapped, "\\.\\")) {
        return {};
    }
    std::string folder = best->mountPoint;
    if (!text::endsWith(folder, "\\")) {
        folder += "\\";
    }
    return folder + rest;
}

std::vector<SyncRoot> oneDriveRoots(Registry& registry) {
    std::vector<SyncRoot> roots;
    for (const std::string& name : registry.userSubkeys(kOneDriveProviders)) {
        const std::string key = std::string(kOneDriveProviders) + "\\" + name;
        const auto space = registry.readUserString(key, "UrlNamespace");
        const auto mount = registry.readUserString(key, "MountPoint");
        if (space && mount) {
            roots.push_back({*space, *mount});
        }
    }
    return roots;
}

std::string officeDocumentLocation(const std::string& fullName, Registry& registry,
                                   FileSystem& files) {
    if (!text::isWebAddress(fullName)) {
        return fullName;
    }
    const std::string local = syncedPathOf(fullName, oneDriveRoots(registry));
    if (local.empty()) {
        return fullName;
    }
    const auto attributes = files.fileAttributes(local);
    return attributes && (*attributes & kDirectoryAttribute) == 0 ? local : fullName;
}

}  // namespace snapdesk
