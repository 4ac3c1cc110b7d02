#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace snapdesk {

struct ProcessEntry {
    std::uint32_t processId = 0;
    std::string exeFile;  // as the snapshot reports it (may hold NULs)
};

// The executable behind a process.
class Processes {
  public:
    virtual ~Processes() = default;

    // GetVersionEx reports platform id 2 (Windows NT).
    virtual bool isWindowsNT() = 0;
    // NT: OpenProcess + EnumProcessModules + GetModuleFileNameEx of the first module.
    // Empty when the process cannot be opened or its modules cannot be listed.
    virtual std::optional<std::string> moduleFileName(std::uint32_t processId) = 0;
    // Windows 95/98: every process of a tool-help snapshot.
    virtual std::vector<ProcessEntry> processSnapshot() = 0;
    // The application user model id (AUMID) of a process installed as a package, as
    // "Microsoft.WindowsNotepad_8wekyb3d8bbwe!App"; nothing for any other process, and on a
    // system that has no packages.
    virtual std::optional<std::string> applicationUserModelId(std::uint32_t processId) = 0;
};

}  // namespace snapdesk
