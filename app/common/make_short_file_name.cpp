#include "common/make_short_file_name.h"

#include <string_view>

#include "common/text.h"

namespace snapdesk {

std::string makeShortFileName(const std::string& text, int mode) {
    // The words the shell's folder windows and the old browsers add to a document's name.
    constexpr std::string_view kExploringPrefix = "Exploring - ";
    constexpr std::string_view kInternetExplorerSuffix = " - Microsoft Internet Explorer";
    constexpr std::string_view kNetscapeSuffix = " - Netscape";
    constexpr std::string_view kNetscapePrefix = "Netscape - ";
    std::string name = text;
    if (text::beginsWith(name, kExploringPrefix)) {
        name = text::from(name, 13);
    } else if (const std::size_t ie = text::findFirst(name, kInternetExplorerSuffix); ie >= 6) {
        name = text::left(name, ie - 1);
    } else if (const std::size_t ns = text::findFirst(name, kNetscapeSuffix); ns >= 2) {
        name = std::string(kNetscapePrefix) + text::left(name, ns - 1);
    }
    // A path keeps its last part, except a folder right below the drive ("C:\Letters").
    if (const std::size_t slash = text::findLast(name, "\\"); slash != 0) {
        const std::size_t driveColon = text::findFirst(name, ":\\");
        if (driveColon == 0 || driveColon + 1 != slash) {
            name = text::from(name, slash + 1);
        }
    }
    if (mode == kDoubleAmpersands) {
        name = text::doubleAmpersands(name);
    }
    return name;
}

}  // namespace snapdesk
