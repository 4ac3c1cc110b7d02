#pragma once

// Programs installed as packages (Windows 8 and later). Their executable lies in a folder
// that changes with every update and cannot be started by its path, so a project names such a
// program by its application user model id (AUMID) in the shell's form of it,
// "shell:AppsFolder\<AUMID>", which older readers keep as plain text.

#include <string>
#include <string_view>

namespace snapdesk::packaged {

inline constexpr std::string_view kAppsFolder = "shell:AppsFolder\\";

// "shell:AppsFolder\" + the id.
std::string programText(std::string_view appId);
// Whether a program or location names a packaged program (any letter case).
bool isPackagedProgram(std::string_view program);
// The application id a packaged program text names; "" for any other text.
std::string appIdOf(std::string_view program);
// Why the shell must not be given this application id, or "" when it may: only the characters
// of "Package.Name_publisherid!App", nothing a command line or the shell could read otherwise.
std::string appIdProblem(std::string_view appId);

}  // namespace snapdesk::packaged
