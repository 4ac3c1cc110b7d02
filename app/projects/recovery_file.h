#pragma once

// The recovery file: the Project tab as it stands, kept in "datafiles" while Snapdesk runs so
// that a restart of Windows, a crash or a power cut loses none of it. It is a project file
// (the members' sections) with a section of its own for what a project file does not hold.

#include <string>
#include <vector>

#include "platform/file_system.h"
#include "projects/project_store.h"

namespace snapdesk {

inline constexpr const char* kRecoveryFileName = "recovery.txt";

struct RecoveryState {
    std::string projectName;  // "[Untitled]" when no project is open
    bool saved = false;       // the named project's file holds the tab as it is
    std::string changed;      // when the tab last changed, as the user reads a time
    // Every member, also those whose location is not known yet ("notfound", "nosave").
    std::vector<StoredMember> members;
};

enum class RecoveryRead { Missing, Damaged, Read };

// Writes the state in one replacement of the file; false when it did not reach the disk.
bool writeRecoveryFile(FileSystem& files, const std::string& path, const RecoveryState& state);
RecoveryRead readRecoveryFile(FileSystem& files, const std::string& path, RecoveryState& state);
// A damaged file moved aside under a name of its own (never deleted); its new path, or "" when
// it could not be moved.
std::string setRecoveryFileAside(FileSystem& files, const std::string& path);

// Whether the state holds work the user has not saved: members, and no saved project that
// holds them as they are.
bool recoveryHasWork(const RecoveryState& state);

}  // namespace snapdesk
