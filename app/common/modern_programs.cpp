#include "common/modern_programs.h"

#include <array>
#include <string>
#include <utility>

#include "common/text.h"

namespace snapdesk {
namespace {

template <typename Kind, std::size_t N>
Kind byFileName(std::string_view exePath, const std::array<std::pair<const char*, Kind>, N>& table,
                Kind none) {
    const std::string upper = text::upperCase(exePath);
    for (const auto& [file, kind] : table) {
        if (text::endsWith(upper, file)) {
            return kind;
        }
    }
    return none;
}

}  // namespace

ModernBrowser modernBrowserOf(std::string_view exePath) {
    static constexpr std::array<std::pair<const char*, ModernBrowser>, 6> browsers = {{
        {"\\CHROME.EXE", ModernBrowser::Chrome},
        {"\\MSEDGE.EXE", ModernBrowser::Edge},
        {"\\BRAVE.EXE", ModernBrowser::Brave},
        {"\\VIVALDI.EXE", ModernBrowser::Vivaldi},
        {"\\OPERA.EXE", ModernBrowser::Opera},
        {"\\FIREFOX.EXE", ModernBrowser::Firefox},
    }};
    return byFileName(exePath, browsers, ModernBrowser::None);
}

bool isChromiumFamily(ModernBrowser browser) {
    return browser != ModernBrowser::None && browser != ModernBrowser::Firefox;
}

const char* modernBrowserLabel(ModernBrowser browser) {
    switch (browser) {
        case ModernBrowser::Chrome:
            return "Google Chrome";
        case ModernBrowser::Edge:
            return "Microsoft Edge";
        case ModernBrowser::Brave:
            return "Brave";
        case ModernBrowser::Vivaldi:
            return "Vivaldi";
        case ModernBrowser::Opera:
            return "Opera";
        case ModernBrowser::Firefox:
            return "Firefox";
        case ModernBrowser::None:
            break;
    }
    return "";
}

OfficeProgram officeProgramOfClass(std::string_view windowClass) {
    if (windowClass == "OpusApp") {
        return OfficeProgram::Word;
    }
    if (windowClass == "XLMAIN") {
        return OfficeProgram::Excel;
    }
    if (windowClass == "PPTFrameClass") {
        return OfficeProgram::PowerPoint;
    }
    return OfficeProgram::None;
}

OfficeProgram officeProgramOf(std::string_view exePath) {
    static constexpr std::array<std::pair<const char*, OfficeProgram>, 3> programs = {{
        {"\\WINWORD.EXE", OfficeProgram::Word},
        {"\\EXCEL.EXE", OfficeProgram::Excel},
        {"\\POWERPNT.EXE", OfficeProgram::PowerPoint},
    }};
    return byFileName(exePath, programs, OfficeProgram::None);
}

}  // namespace snapdesk
