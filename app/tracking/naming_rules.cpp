#include "tracking/naming_rules.h"

#include <array>
#include <string_view>
#include <utility>

#include "common/modern_programs.h"
#include "common/text.h"
#include "tracking/browser_captions.h"
#include "tracking/recent_folder.h"

namespace snapdesk {

using text::contains;
using text::findFirst;
using text::left;

namespace {

bool isDesignBrowser(const std::string& exe) {
    return contains(exe, "\\NETSCP6.EXE") || contains(exe, "\\NETSCAPE.EXE") ||
           contains(exe, "\\IEXPLORE.EXE");
}

// A page title is no file name: no extension ends it, and none is hidden in it.
bool namesPages(const std::string& exe) {
    return modernBrowserOf(exe) != ModernBrowser::None;
}

bool isWinamp(const std::string& exe) {
    return contains(exe, "\\WINAMP.EXE");
}

bool isAol(const std::string& exe) {
    return contains(exe, "\\AOL.EXE") || contains(exe, "\\WAOL.EXE");
}

// R1: a file name ends at the first blank after its extension's dot.
std::string cutAfterExtension(std::string name, const std::string& exe) {
    const auto dot = text::findLast(name, ".");
    if (dot == 0 || isWebBrowser(exe) || isWinamp(exe)) {
        return name;
    }
    if (const auto blank = findFirst(name, " ", dot + 1)) {
        return left(name, blank - 1);
    }
    return name;
}

// R2: Visio puts the document before a colon.
std::string cutVisio(std::string name, const std::string& exe) {
    const auto colon = findFirst(name, ":");
    if (contains(exe, "\\VISIO.EXE") && colon > 5) {
        return left(name, colon - 1);
    }
    return name;
}

// R3: the song before " - Winamp", keeping the blank.
std::string cutWinamp(std::string name, const std::string& exe) {
    const auto at = findFirst(name, " - Winamp");
    if (isWinamp(exe) && at != 0) {
        return left(name, at);
    }
    return name;
}

// R4: "Instant Message" and the character after it become "IM ".
std::string shortenAolMessage(std::string name, const std::string& exe) {
    const auto at = findFirst(name, "Instant Message");
    if (isAol(exe) && at != 0) {
        return left(name, at - 1) + "IM " + text::from(name, at + 16);
    }
    return name;
}

// R5 to R7: a program suffix at the very end is cut, keeping the blank before it. The suffix
// must really be there: a name exactly as long as the cut is not emptied.
std::string cutSuffix(std::string name, const std::string& suffix) {
    const auto at = findFirst(name, suffix);
    if (at != 0 && at + suffix.size() == name.size() + 1) {
        return left(name, at);
    }
    return name;
}

// Today's Office ends its captions with the program's name, and marks some documents before
// it. What stays is the document's name alone, without a blank after it, so that a hidden
// extension can be found from the Recent folder.
std::string cutOfficeProgram(std::string name, const std::string& exe) {
    const char* suffix = nullptr;
    switch (officeProgramOf(exe)) {
        case OfficeProgram::Word:
            suffix = " - Word";
            break;
        case OfficeProgram::Excel:
            suffix = " - Excel";
            break;
        case OfficeProgram::PowerPoint:
            suffix = " - PowerPoint";
            break;
        case OfficeProgram::None:
            return name;
    }
    const std::string_view cut = suffix;
    if (name.size() <= cut.size() || !text::endsWith(name, cut)) {
        return name;
    }
    name.resize(name.size() - cut.size());
    static constexpr std::array markers = {" [Compatibility Mode]", " [Protected View]",
                                           " [Repaired]", " [Group]"};
    for (bool cutOne = true; cutOne;) {
        cutOne = false;
        for (const std::string_view marker : markers) {
            if (name.size() > marker.size() && text::endsWith(name, marker)) {
                name.resize(name.size() - marker.size());
                cutOne = true;
            }
        }
    }
    return name;
}

// R8: a read-only marker and what follows it are cut.
std::string cutReadOnly(std::string name) {
    const auto upper = text::upperCase(name);
    if (!contains(upper, "ONLY")) {
        return name;
    }
    static constexpr std::array markers = {"[READ-ONLY]", "[READ ONLY]", "(READ-ONLY)",
                                           "(READ ONLY)"};
    for (const char* marker : markers) {
        if (const auto at = findFirst(upper, marker)) {
            return text::trim(left(name, at - 1));
        }
    }
    return name;
}

// R9: a name without extension becomes the name of its shortcut in the Recent folder.
std::string addHiddenExtension(std::string name, const std::string& exe, const std::string& recent,
                               FileSystem& files) {
    if (findFirst(name, ".", 2) != 0 || contains(exe, "\\EXPLORER.EXE") || namesPages(exe) ||
        recent == kRecentFolderUnknown) {
        return name;
    }
    const auto slash = text::findLast(name, "\\");
    const std::string base = text::from(name, slash + 1);
    // Wildcards in a caption would match some other document's shortcut.
    if (base.find_first_of("*?") != std::string::npos) {
        return name;
    }
    if (const auto found = files.findFirstFile(recent + base + ".*.lnk")) {
        const auto lnk = text::findLast(found->name, ".lnk");
        return lnk == 0 ? found->name : left(found->name, lnk - 1);
    }
    return name;
}

}  // namespace

bool isWebBrowser(const std::string& exePath) {
    return isDesignBrowser(exePath) || namesPages(exePath);
}

std::optional<std::string> fixedDocumentName(const std::string& exePath) {
    static const std::array<std::pair<const char*, const char*>, 4> names = {{
        {"\\OUTLOOK.EXE", "Microsoft Outlook"},
        {"\\QMPRO32.EXE", "Quick Mail"},
        {"\\MSIMN.EXE", "Outlook Express"},
        {"\\EUDORA.EXE", "Eudora"},
    }};
    for (const auto& [exe, name] : names) {
        if (contains(exePath, exe)) {
            return name;
        }
    }
    return std::nullopt;
}

std::string documentName(const std::string& windowText, const std::string& exePath,
                         const std::string& recentFolder, FileSystem& files) {
    std::string name = cutAfterExtension(browserPageTitle(windowText, exePath), exePath);
    name = cutVisio(std::move(name), exePath);
    name = cutWinamp(std::move(name), exePath);
    name = shortenAolMessage(std::move(name), exePath);
    name = cutSuffix(std::move(name), " - Notepad");
    name = cutSuffix(std::move(name), " - WordPad");
    name = cutOfficeProgram(std::move(name), exePath);
    name = cutSuffix(std::move(name), " - [Working Offline]");
    name = cutReadOnly(std::move(name));
    return addHiddenExtension(std::move(name), exePath, recentFolder, files);
}

}  // namespace snapdesk
