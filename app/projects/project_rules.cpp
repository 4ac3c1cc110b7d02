#include "projects/project_rules.h"

#include <string>

#include "common/text.h"

namespace snapdesk::project_rules {

namespace {

// The characters Windows refuses in a file name.
constexpr std::string_view kNotInFileNames = "\\/:*?\"<>|";
// The characters refused in a name typed for a new project.
constexpr std::string_view kNotInProjectNames = "\\/<>:;.,?|*\"";

constexpr const char* kEmptyNameMessage =
    "\r\n           Please enter a Project name.           \r\n";
constexpr const char* kIllegalCharacterMessage =
    "\r\n    Illegal character(s) in Project name.        \r\n"
    "     \\ / < >  : ; . , ? | * \" are not allowed.";
constexpr const char* kControlCharacterMessage =
    "\r\n    Tabs and other control characters are not allowed in a Project name.        \r\n";
constexpr const char* kTrailingBlankMessage =
    "\r\n    A Project name cannot end in a blank.        \r\n";

bool hasControlCharacter(std::string_view name) {
    for (const char c : name) {
        if (static_cast<unsigned char>(c) < 0x20) {
            return true;
        }
    }
    return false;
}

// Length in UTF-16 units, as the wide file functions count a path.
std::size_t wideLength(std::string_view utf8) {
    std::size_t units = 0;
    for (const char c : utf8) {
        const auto byte = static_cast<unsigned char>(c);
        if ((byte & 0xC0) != 0x80) {
            units += byte >= 0xF0 ? 2 : 1;
        }
    }
    return units;
}

// The longest path the file functions take without the long-path prefix, its NUL left out.
constexpr std::size_t kMaxPath = 259;

}  // namespace

bool isDeviceName(std::string_view name) {
    // Windows ignores an extension and blanks before it.
    std::string base = text::upperCase(name.substr(0, name.find('.')));
    base.erase(base.find_last_not_of(' ') + 1);
    for (const char* device : {"CON", "PRN", "AUX", "NUL", "CONIN$", "CONOUT$"}) {
        if (base == device) {
            return true;
        }
    }
    if (base.size() < 4 || (base.compare(0, 3, "COM") != 0 && base.compare(0, 3, "LPT") != 0)) {
        return false;
    }
    const std::string number = base.substr(3);
    // Digits, and the superscript ones, which Windows maps to the same ports.
    return (number.size() == 1 && number[0] >= '0' && number[0] <= '9') || number == "\xC2\xB9" ||
           number == "\xC2\xB2" || number == "\xC2\xB3";
}

bool isSafeProjectName(std::string_view name) {
    if (text::trim(name).empty() || hasControlCharacter(name) ||
        name.find_first_of(kNotInFileNames) != std::string_view::npos || isDeviceName(name)) {
        return false;
    }
    // "." and ".." name folders, not files.
    return name.find_first_not_of('.') != std::string_view::npos;
}

std::string projectNameProblem(std::string_view name, std::string_view projectsFolder) {
    if (text::trim(name).empty()) {
        return kEmptyNameMessage;
    }
    if (name.find_first_of(kNotInProjectNames) != std::string_view::npos) {
        return kIllegalCharacterMessage;
    }
    if (hasControlCharacter(name)) {
        return kControlCharacterMessage;
    }
    // Windows drops a final blank (and a final full stop, refused above) from a file name.
    if (name.back() == ' ') {
        return kTrailingBlankMessage;
    }
    if (isDeviceName(name)) {
        return "\r\n    " + std::string(name) +
               " is the name of a device and cannot be a Project name.        \r\n";
    }
    // projectsFolder + "\" + name + ".txt"
    const std::size_t room =
        kMaxPath > wideLength(projectsFolder) + 5 ? kMaxPath - wideLength(projectsFolder) - 5 : 0;
    if (wideLength(name) > room) {
        return "\r\n    The Project name is too long: at most " + std::to_string(room) +
               " characters fit.        \r\n";
    }
    return {};
}

bool nameHasExtension(std::string_view name) {
    const std::string cut = text::NulTrim(name);
    const std::size_t dot = text::findLast(cut, ".");
    return dot != 0 && cut.size() - dot == 3;
}

namespace {
bool withSuffix(const std::string& longer, const std::string& shorter) {
    return (text::beginsWith(longer, shorter + ".") && longer.size() == shorter.size() + 4) ||
           (text::beginsWith(longer, shorter + " .") && longer.size() == shorter.size() + 5);
}
}  // namespace

bool storedNameMatches(const std::string& upperName, bool hasExtension,
                       const std::string& upperStored) {
    if (upperStored == upperName) {
        return true;
    }
    return hasExtension ? withSuffix(upperName, upperStored) : withSuffix(upperStored, upperName);
}

std::string folderBelowRoot(const std::string& path) {
    if (path.size() < 3 || path.compare(1, 2, ":\\") != 0) {
        return {};
    }
    const std::size_t slash = text::findLast(path, "\\");
    return slash > 3 ? text::left(path, slash - 1) : std::string();
}

std::string savedMemberName(const std::string& caption, const std::string& filePath,
                            const std::string& exePath) {
    if (filePath != exePath) {
        return caption;
    }
    if (text::contains(exePath, "\\NETSCAPE.EXE")) {
        return "Netscape 4 Browser";
    }
    if (text::contains(exePath, "\\NETSCP6.EXE")) {
        return "Netscape 6 Browser";
    }
    if (text::contains(exePath, "\\IEXPLORE.EXE")) {
        return "Internet Explorer Browser";
    }
    return caption;
}

std::string projectLabelCaption(const std::string& name) {
    return "Project: " + text::doubleAmpersands(name);
}

std::string projectNameOfFile(const std::string& fileName) {
    const std::size_t at = fileName.find(".txt");
    return at == std::string::npos ? std::string() : fileName.substr(0, at);
}

std::string overwriteQuestion(const std::string& name) {
    return "\r\n        Do you want to overwrite " + name + "?          \r\n";
}

}  // namespace snapdesk::project_rules
