#include "location/browser_versions.h"

namespace snapdesk {
namespace {

// The value cut at its first NUL; empty when it cannot be read.
std::string machineValue(Registry& registry, const std::string& key, const std::string& name) {
    const auto value = registry.readMachineString(key, name);
    if (!value) {
        return {};
    }
    return value->substr(0, value->find('\0'));
}

}  // namespace

std::string ieMajorVersion(Registry& registry) {
    const std::string version =
        machineValue(registry, "Software\\Microsoft\\Internet Explorer\\", "Version");
    return version.empty() ? "3" : version.substr(0, 1);
}

int ieVersionNumber(const std::string& majorVersion) {
    if (majorVersion.size() == 1 && majorVersion[0] >= '0' && majorVersion[0] <= '9') {
        return majorVersion[0] - '0';
    }
    return 3;
}

std::string netscape6Version(Registry& registry) {
    const std::string version =
        machineValue(registry, "Software\\Netscape\\Netscape 6\\", "CurrentVersion");
    return version.empty() ? "notfound" : version.substr(0, 3);
}

}  // namespace snapdesk
