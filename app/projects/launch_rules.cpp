#include "projects/launch_rules.h"

#include "common/modern_programs.h"
#include "common/packaged_programs.h"
#include "common/text.h"
#include "projects/browser_command_line.h"

namespace snapdesk::launch_rules {
namespace {

constexpr const char* kNetscape = "\\NETSCAPE.EXE";
constexpr const char* kNetscape6 = "\\NETSCP6.EXE";
constexpr const char* kInternetExplorer = "\\IEXPLORE.EXE";
constexpr const char* kWinAmp = "\\WINAMP.EXE";
constexpr const char* kExplorer = "\\EXPLORER.EXE";
constexpr const char* kExcel = "\\EXCEL.EXE";

constexpr const char* kQuoteInLocation = "The location holds a double quote";
constexpr const char* kProgramOfItsOwn =
    "The document is a program, and the Project names no program to open it with";

// Files the shell would run as programs when opened.
constexpr const char* kProgramTypes[] = {".EXE", ".COM", ".BAT", ".CMD", ".PIF", ".SCR",
                                         ".VBS", ".VBE", ".JS",  ".JSE", ".WSF", ".WSH",
                                         ".MSI", ".MSC", ".CPL", ".HTA", ".LNK"};

bool isProgramFile(const std::string& path) {
    return text::endsWith(text::upperCase(path), ".EXE") && !text::contains(path, "\"");
}

bool isProgramType(const std::string& path) {
    const std::string upper = text::upperCase(text::trim(path));
    for (const char* type : kProgramTypes) {
        if (text::endsWith(upper, type)) {
            return true;
        }
    }
    return false;
}

LaunchPlan refused(std::string reason) {
    LaunchPlan plan;
    plan.refusal = std::move(reason);
    return plan;
}

// `program` started with `arguments`, provided it is a program file.
LaunchPlan start(const std::string& program, std::string arguments) {
    if (!isProgramFile(program)) {
        return refused(launchErrorText(11));
    }
    LaunchPlan plan;
    plan.how = LaunchHow::StartProgram;
    plan.file = program;
    plan.parameters = std::move(arguments);
    return plan;
}

// The program with the location as its one quoted argument.
LaunchPlan startWith(const std::string& program, const std::string& location) {
    if (text::contains(location, "\"")) {
        return refused(kQuoteInLocation);
    }
    return start(program, "\"" + location + "\"");
}

// A document an Office program names by its web address (a cloud file it saves as it goes)
// opens in that program, whatever the shell would open the address with.
bool isOfficeWebDocument(const ProjectMember& member) {
    return officeProgramOf(member.exe) != OfficeProgram::None &&
           text::isWebAddress(member.location);
}

LaunchPlan shellOpen(std::string file, std::string parameters, std::string workingFolder,
                     std::string currentFolder) {
    LaunchPlan plan;
    plan.how = LaunchHow::ShellOpen;
    plan.file = std::move(file);
    plan.parameters = std::move(parameters);
    plan.workingFolder = std::move(workingFolder);
    plan.currentFolder = std::move(currentFolder);
    return plan;
}

// A document or program: its saved program opens it when the shell would choose another.
LaunchPlan documentLaunch(const ProjectMember& member, const std::string& associatedProgram) {
    const std::string& exe = member.exe;
    const std::string upperLocation = text::upperCase(member.location);
    if (exe.empty()) {
        if (isProgramType(member.location)) {
            return refused(kProgramOfItsOwn);
        }
        return shellOpen(member.location, "", "", "");
    }
    if (!isProgramFile(exe)) {
        return refused(launchErrorText(11));
    }
    const std::size_t slash = text::findLast(exe, "\\");
    const std::string folder = slash == 0 ? std::string() : text::left(exe, slash - 1);
    if (upperLocation == exe) {
        return shellOpen(exe, "", folder, folder);
    }
    if (associatedProgram != exe || isOfficeWebDocument(member)) {
        if (text::contains(member.location, "\"")) {
            return refused(kQuoteInLocation);
        }
        return shellOpen(exe, "\"" + member.location + "\"", folder, folder);
    }
    return shellOpen(member.location, "", "", folder);
}

// A page of today's browsers in a window of its own, started by the member's browser.
LaunchPlan pageLaunch(const ProjectMember& member, ModernBrowser browser) {
    auto arguments = browser_command_line::forPage(browser, member.location, member.profile);
    if (!arguments.refusal.empty()) {
        return refused(std::move(arguments.refusal));
    }
    return start(member.exe, std::move(arguments.parameters));
}

// A packaged program is started by its application id; its document is opened by the shell's
// association, as the program cannot be named on a command line.
LaunchPlan packagedLaunch(const ProjectMember& member) {
    if (!packaged::isPackagedProgram(member.location)) {
        return isProgramType(member.location) ? refused(kProgramOfItsOwn)
                                              : shellOpen(member.location, "", "", "");
    }
    const std::string appId = packaged::appIdOf(member.location);
    if (std::string problem = packaged::appIdProblem(appId); !problem.empty()) {
        return refused(std::move(problem));
    }
    return shellOpen(packaged::programText(appId), "", "", "");
}

}  // namespace

LaunchClass launchClass(const ProjectMember& member) {
    if (!text::contains(member.exe, kNetscape6)) {
        return LaunchClass::Ordinary;
    }
    return text::beginsWith(text::upperCase(member.location), "HTTP://") ? LaunchClass::Netscape6Web
                                                                         : LaunchClass::Netscape6;
}

bool needsAssociation(const ProjectMember& member) {
    if (text::beginsWith(member.name, "Exploring") ||
        modernBrowserOf(member.exe) != ModernBrowser::None ||
        packaged::isPackagedProgram(member.exe) || isOfficeWebDocument(member)) {
        return false;
    }
    for (const char* program : {kNetscape, kNetscape6, kInternetExplorer, kWinAmp, kExplorer}) {
        if (text::contains(member.exe, program)) {
            return false;
        }
    }
    return true;
}

LaunchPlan planLaunch(const ProjectMember& member, const LaunchContext& context,
                      const std::string& associatedProgram) {
    const std::string& exe = member.exe;
    const std::string& location = member.location;
    const std::string upperLocation = text::upperCase(location);
    // Before the folder rule: a page may be called "Exploring ...".
    if (const ModernBrowser browser = modernBrowserOf(exe); browser != ModernBrowser::None) {
        return pageLaunch(member, browser);
    }
    if (text::beginsWith(member.name, "Exploring")) {
        LaunchPlan plan = shellOpen(location, "", "", "");
        plan.verb = "explore";
        return plan;
    }
    if (packaged::isPackagedProgram(exe)) {
        return packagedLaunch(member);
    }
    if (text::contains(exe, kNetscape)) {
        return text::contains(upperLocation, kNetscape) ? start(location, "")
                                                        : startWith(exe, location);
    }
    if (text::contains(exe, kNetscape6)) {
        if (text::contains(upperLocation, kNetscape6)) {
            return start(location, "");
        }
        std::string address = location;
        if (context.netscape6Version != "6.0" && text::beginsWith(upperLocation, "HTTP://")) {
            address = address.substr(7);
        }
        return startWith(exe, address);
    }
    if (text::contains(exe, kInternetExplorer)) {
        if (context.ieVersion > 4) {
            LaunchPlan plan;
            plan.how = LaunchHow::BrowserObject;
            if (!text::contains(upperLocation, kInternetExplorer)) {
                plan.address = location;
            }
            return plan;
        }
        return text::contains(upperLocation, kInternetExplorer) ? start(location, "")
                                                                : startWith(exe, location);
    }
    if (text::contains(exe, kWinAmp)) {
        return startWith(exe, text::contains(location, kWinAmp) ? std::string() : location);
    }
    if (text::contains(exe, kExplorer)) {
        const std::string folder = text::contains(location, kExplorer) ? std::string() : location;
        if (text::contains(folder, "\"")) {
            return refused(kQuoteInLocation);
        }
        return start(exe,
                     context.quotedExplorerFolder ? "/n \"" + folder + "\"" : "/n , " + folder);
    }
    return documentLaunch(member, associatedProgram);
}

unsigned waitAfterLaunch(const ProjectMember& member, int& netscape6Counter, int netscape6Members) {
    if (text::contains(member.exe, kExcel)) {
        return kExcelWaitMs;
    }
    if (text::contains(member.exe, kNetscape6)) {
        const bool first = netscape6Counter < 1 && netscape6Members >= 2;
        ++netscape6Counter;
        return first ? kFirstNetscape6WaitMs : kOrdinaryWaitMs;
    }
    return kOrdinaryWaitMs;
}

bool isFilePath(const std::string& location) {
    const bool onDrive = location.size() >= 3 && location[1] == ':' && location[2] == '\\';
    return onDrive || text::beginsWith(location, "\\\\");
}

std::string memberProblem(const ProjectMember& member) {
    if (text::trim(member.name).empty()) {
        return "it has no name";
    }
    if (member.location.empty() && member.exe.empty()) {
        return "it has neither a location nor a program";
    }
    for (const std::string* value : {&member.name, &member.location, &member.exe}) {
        if (value->size() > kLongestValue) {
            return "a value is too long";
        }
    }
    return {};
}

std::string launchErrorText(long code) {
    switch (code) {
        case 2:
            return "File not found";
        case 3:
            return "Path not found";
        case 5:
            return "Access denied";
        case 8:
            return "Out of memory";
        case 11:
            return "Invalid EXE file or error in EXE image";
        case 26:
            return "A sharing violation occurred";
        case 27:
            return "Incomplete or invalid file association";
        case 28:
            return "DDE Time out";
        case 29:
            return "DDE transaction failed";
        case 30:
            return "DDE busy";
        case 31:
            return "No association for file extension";
        case 32:
            return "DLL not found";
        default:
            return "Unknown error";
    }
}

std::string launchErrorMessage(const ProjectMember& member, const std::string& reason) {
    return "An Error has occured opening a member of the Project.\r\nProgram File: " + member.exe +
           "\r\nDocument: " + member.location + "\r\nReason: " + reason;
}

std::string notOpenedMessage(const std::vector<std::string>& lines) {
    constexpr std::size_t kLinesShown = 10;
    std::string message = "These members of the Project were not opened:\r\n";
    for (std::size_t i = 0; i < lines.size() && i < kLinesShown; ++i) {
        message += "\r\n" + lines[i];
    }
    if (lines.size() > kLinesShown) {
        message += "\r\n... and " + std::to_string(lines.size() - kLinesShown) + " more";
    }
    return message;
}

}  // namespace snapdesk::launch_rules
