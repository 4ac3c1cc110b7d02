#pragma once

// How each member of a project is started again: with which call, which arguments, in which
// pass and with which wait. Pure rules; the open command carries them out.

#include <string>
#include <vector>

namespace snapdesk {

// One member as the project file holds it; `exe` is in upper case.
struct ProjectMember {
    std::string name;
    std::string location;
    std::string exe;
    std::string comment;
    // A Chromium-family browser's profile folder, "" for the browser's own choice (also when
    // a brace list leaves it out).
    std::string profile = {};
    // Where its window stood when the project was saved (window_placement.h), "" for nowhere.
    std::string placement = {};
};

enum class LaunchHow {
    ShellOpen,      // the shell opens `file` (verb, parameters, folders below)
    StartProgram,   // `file` started as a program with `parameters`
    BrowserObject,  // a new browser through its automation object, sent to `address`
    Refused,        // not started: `refusal` says why
};

struct LaunchPlan {
    LaunchHow how = LaunchHow::Refused;
    std::string verb = "open";
    std::string file;
    std::string parameters;
    std::string workingFolder;
    std::string currentFolder;
    std::string address;  // BrowserObject: "" opens an empty browser
    std::string refusal;
};

// Netscape 6 members wait for their own passes after every other member.
enum class LaunchClass { Ordinary = 0, Netscape6 = 1, Netscape6Web = 2 };

// What the rules need besides the member.
struct LaunchContext {
    int ieVersion = 3;
    std::string netscape6Version;
    // Explorer is given `/n "folder"` instead of `/n , folder` (Wine's Explorer).
    bool quotedExplorerFolder = false;
};

namespace launch_rules {

inline constexpr unsigned kOrdinaryWaitMs = 2000;
inline constexpr unsigned kExcelWaitMs = 6000;
inline constexpr unsigned kFirstNetscape6WaitMs = 10000;
// A hand-edited project may hold any number of members; more are not started in one open.
inline constexpr std::size_t kMostMembersOpened = 200;
// Longer than any path or web address a member can have.
inline constexpr std::size_t kLongestValue = 2083;

LaunchClass launchClass(const ProjectMember& member);

// Whether the member is started by the shell's association of its location; only then is
// `associatedProgram` (the program the shell would open it with, long name, upper case)
// needed.
bool needsAssociation(const ProjectMember& member);

LaunchPlan planLaunch(const ProjectMember& member, const LaunchContext& context,
                      const std::string& associatedProgram);

// The wait after starting `member`; `netscape6Counter` counts the Netscape 6 starts.
unsigned waitAfterLaunch(const ProjectMember& member, int& netscape6Counter, int netscape6Members);

// A location on a drive or a network share, not a web address.
bool isFilePath(const std::string& location);

// Why a member read from a project file cannot be opened at all, or "".
std::string memberProblem(const ProjectMember& member);

// The reason text of a shell error code (32 or less).
std::string launchErrorText(long code);
// The message for a member that could not be started.
std::string launchErrorMessage(const ProjectMember& member, const std::string& reason);
// The one message for the members a project file held that were not opened.
std::string notOpenedMessage(const std::vector<std::string>& lines);

}  // namespace launch_rules
}  // namespace snapdesk
