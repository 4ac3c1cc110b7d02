#pragma once

// The modal dialogs of saving a project, as the save commands see them: each is shown over the
// main window and hands back its answer. The real ones are dialogs of the resource script.

#include <optional>
#include <string>

namespace snapdesk {

// The searches "Path Not Found" offers.
class ContinueSearchActions {
  public:
    virtual ~ContinueSearchActions() = default;
    // The folder list searched to its end for every member without a location.
    virtual void quickSearch() = 0;
    // The drive walked again first, then the same, then one forced location pass.
    virtual void fullSearch() = 0;
};

enum class EmptyOverwriteChoice { DeleteProject, OpenNewProject, Closed };

// The special answers of "Storing ... URLs".
inline constexpr const char* kSaveBrowserExe = "SAVEDABROWSEREXE";

class ProjectDialogs {
  public:
    virtual ~ProjectDialogs() = default;

    // "Cannot Find Path Information": a path, the program itself (`noPathExe`), or "" to
    // leave the member out.
    virtual std::string showNoPathInfo(const std::string& noPathName,
                                       const std::string& noPathExe) = 0;
    // "Path Not Found": runs the search the user chooses; true when the save is cancelled.
    virtual bool showContinueSearch(ContinueSearchActions& actions) = 0;
    // "Storing <label> URLs": the address typed, kSaveBrowserExe, or "" to leave it out.
    virtual std::string showNoNetscape6(const std::string& browserCaption,
                                        const std::string& browserLabel) = 0;
    // "Storing WinAmp Playlist or Song": writes the choice into the list's first player record.
    virtual void showWinAmp(const std::string& winAmpSong, const std::string& winAmpExe) = 0;
    // "Cannot Save an Empty Project", with the texts for a tab with or without records.
    virtual void showNoEmptyProject(bool tabHasRecords) = 0;
    // "Empty Project": what the user chose.
    virtual EmptyOverwriteChoice showNoEmptyOverwrite() = 0;
    // "Save Project As": asks the name and saves, or is cancelled.
    virtual void showSave() = 0;
    // "Open Project": the project the user chose to open, or nothing when cancelled. Projects
    // may be deleted in it.
    virtual std::optional<std::string> showOpenProject() = 0;
};

}  // namespace snapdesk
