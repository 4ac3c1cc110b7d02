#pragma once

#include <string>
#include <string_view>
#include <vector>

// Decisions of the project store that need no files.
namespace snapdesk::project_rules {

inline constexpr const char* kUntitled = "[Untitled]";
inline constexpr const char* kProjectTabMarker = "++//";

// A name from an old data file that can become "<name>.txt" inside the projects folder and
// nowhere else: not empty, no drive, colon, slash or other character a file name cannot hold,
// and not a device's name.
bool isSafeProjectName(std::string_view name);

// Whether Windows takes the name as a device (CON, PRN, AUX, NUL, COM0-9, LPT0-9, ...), in any
// case, with or without an extension.
bool isDeviceName(std::string_view name);

// Why a name typed for a new project cannot be saved as "<name>.txt" in `projectsFolder`: the
// message to show, or "" when the name can be used. The name is taken as given (not trimmed).
std::string projectNameProblem(std::string_view name, std::string_view projectsFolder);

// Whether a stored document name answers a looked-up one (both compared in upper case),
// allowing for a three-letter extension on either side.
bool nameHasExtension(std::string_view name);
bool storedNameMatches(const std::string& upperName, bool hasExtension,
                       const std::string& upperStored);

// The folder of a stored path when it lies below a drive's root ("C:\a\b.doc" gives
// "C:\a"), else empty.
std::string folderBelowRoot(const std::string& path);

// The name saved for a member: its caption, or the browser's own name when the member is a
// browser saved as its program.
std::string savedMemberName(const std::string& caption, const std::string& filePath,
                            const std::string& exePath);

// The question before a project of that name is written over.
std::string overwriteQuestion(const std::string& name);

// "Project: " and the name, its ampersands doubled so they show as themselves.
std::string projectLabelCaption(const std::string& name);

// The project name of a file in the projects folder, or empty when it has no ".txt".
std::string projectNameOfFile(const std::string& fileName);

}  // namespace snapdesk::project_rules
