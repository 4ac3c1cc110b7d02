#include "common/packaged_programs.h"

#include "common/text.h"

namespace snapdesk::packaged {
namespace {

constexpr std::size_t kLongestAppId = 130;  // APPLICATION_USER_MODEL_ID_MAX_LENGTH

bool isAppIdCharacter(char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '.' ||
           c == '-' || c == '_' || c == '!';
}

}  // namespace

std::string programText(std::string_view appId) {
    return std::string(kAppsFolder) + std::string(appId);
}

bool isPackagedProgram(std::string_view program) {
    return text::beginsWith(text::upperCase(program), text::upperCase(kAppsFolder));
}

std::string appIdOf(std::string_view program) {
    return isPackagedProgram(program) ? std::string(program.substr(kAppsFolder.size()))
                                      : std::string();
}

std::string appIdProblem(std::string_view appId) {
    if (text::contains(appId, "\"")) {
        return "The program's application id holds a double quote";
    }
    if (text::hasControlCharacter(appId)) {
        return "The program's application id holds a control character";
    }
    for (const char c : appId) {
        if (!isAppIdCharacter(c)) {
            return "The program's application id holds characters that application ids do not "
                   "use";
        }
    }
    const std::size_t bang = appId.find('!');
    if (bang == 0 || bang == std::string_view::npos || bang + 1 == appId.size() ||
        appId.find('!', bang + 1) != std::string_view::npos) {
        return "The program's application id is not a package's name and an application";
    }
    if (appId.size() > kLongestAppId) {
        return "The program's application id is too long";
    }
    return {};
}

}  // namespace snapdesk::packaged
