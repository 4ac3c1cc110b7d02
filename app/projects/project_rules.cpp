#include "projects/project_rules.h"

#include "common/text.h"

namespace snapdesk::project_rules {

bool isSafeProjectName(std::string_view name) {
    if (text::trim(name).empty()) {
        return false;
    }
    for (const char c : name) {
        if (static_cast<unsigned char>(c) < 0x20 ||
            std::string_view("\\/:*?\"<>|").find(c) != std::string_view::npos) {
            return false;
        }
    }
    // "." and ".." name folders, not files.
    return name.find_first_not_of('.') != std::string_view::npos;
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

}  // namespace snapdesk::project_rules
