#pragma once

// Finding where each document of the Project tab lives: the background pass that runs on the
// refresh timer, and the searches a save runs before it writes anything.

#include <cstdint>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "common/timer1_switch.h"
#include "location/browser_history.h"
#include "location/dir_tree.h"
#include "location/modern_history.h"
#include "platform/automation.h"
#include "platform/link_path_resolver.h"
#include "platform/platform.h"
#include "platform/shell.h"
#include "projects/project_store.h"
#include "tracking/coffee_shop_list.h"

namespace snapdesk {

// What the searches need from the main window.
class PathSearchHost : public Timer1Switch {
  public:
    virtual WindowHandle mainWindowHandle() = 0;
    // Internet Explorer's major version, as start-up read it.
    virtual int ieVersion() = 0;
};

// Where the searches look.
struct PathSources {
    Automation& automation;
    LinkPathResolver& links;
    BrowserHistory& history;
    const ProjectStore& store;
    DirectoryTree& tree;
    // Today's browsers' histories; none, and their pages stay unknown.
    ModernBrowserHistory* modernHistory = nullptr;
};

class PathSearch {
  public:
    PathSearch(CoffeeShopList& list, Platform& platform, Shell& shell, PathSources sources,
               PathSearchHost& host);

    // One step of the background search over the Project tab; an unforced call works on
    // every second call only.
    void updatePaths(bool force);
    // The folder search of every Project document still without a location, to its end;
    // `restart` also starts again the ones left out or searched before.
    void finishFilePathSearch(bool& restart);

    // The searches of a save. findOfficePaths asks each Office window's own document first;
    // findWordPath then asks the running word processor about the Word records it left.
    void findOfficePaths();
    void findWordPath();
    void findExplorerPaths();
    void findBrowserPaths();
    void findModernBrowserPaths();

    // The shell's folder dialog, owned by the main window: the folder, or "".
    std::string browseForFolder();

  private:
    // One record of the background pass; `treeStepTaken` allows one folder-search step a pass.
    void searchRecord(long i, bool& treeStepTaken);
    std::string pathFromCaption(long i, const std::string& caption);
    std::string shortcutOrStoredPath(long i, const std::string& name);
    std::string browserWindowAddress(const std::string& caption);
    // The folder an Explorer window shows, "notfound", or "" when the shell failed midway.
    std::string explorerFolder(const std::string& caption);
    // The shell's windows, asked once per pass. Nothing when the collection cannot be
    // created; a walk that failed midway is remembered as failed for the rest of the pass.
    const std::optional<std::vector<ShellWindowLocation>>& shellWindowsOfPass();
    void forgetShellWindows();
    bool onProjectTab(long i) const { return list_.inTab(i) == kProjectTab; }
    OfficeProgram officeProgramOfRecord(long i);

    CoffeeShopList& list_;
    Platform& platform_;
    Shell& shell_;
    PathSources sources_;
    PathSearchHost& host_;
    int alternation_ = 0;
    bool shellWindowsAsked_ = false;
    bool shellWalkFailed_ = false;
    std::optional<std::vector<ShellWindowLocation>> shellWindows_;
    // Windows whose own document object named their file in the last findOfficePaths.
    std::set<WindowHandle> answeredByOffice_;
};

}  // namespace snapdesk
