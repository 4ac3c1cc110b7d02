#pragma once

// Open Project: every saved member started again with its program, the new windows found in
// the window list and put on the Project tab with their locations and comments. Also the
// follow-up matching for slow programs and the toolbar's Refresh Project.

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "location/path_search.h"
#include "platform/automation.h"
#include "platform/platform.h"
#include "platform/shell.h"
#include "projects/launch_rules.h"
#include "projects/project_dialogs.h"
#include "projects/project_store.h"
#include "projects/save_commands.h"
#include "projects/window_placer.h"
#include "tracking/coffee_shop_list.h"

namespace snapdesk {

// What the open command needs from the main window besides what a save needs.
class OpenCommandsHost : public SaveCommandsHost {
  public:
    virtual std::string netscape6Version() = 0;
    // A member's launch begins: its wait counts from here, so that the time the shell takes
    // to start a program is part of the wait.
    virtual void launchStarting() {}
    // Waits on Timer2 until `ms` have passed since the launch began or `arrived` answers true,
    // processing messages; `arrived` is asked every 50 to 100 ms, and sooner when the desktop
    // tells of a window shown or retitled.
    virtual void waitForLaunch(unsigned ms, const std::function<bool()>& arrived) = 0;
    // The record made the selected one and its picture taken anew.
    virtual void updateImage(long k) = 0;
    // The main window in its normal state, on top and in the foreground.
    virtual void bringMainWindowBack() = 0;
    virtual void setTimer4(bool enabled, unsigned intervalMs) = 0;
    // The setting that puts members' windows back where they were saved.
    virtual bool restoreWindowPositions() { return true; }
};

class OpenCommands {
  public:
    static constexpr unsigned kFirstRetryMs = 3000;
    static constexpr unsigned kSecondRetryMs = 4000;

    struct Parts {
        CoffeeShopList& list;
        ProjectStore& store;
        PathSearch& search;
        ProjectDialogs& dialogs;
        SaveCommands& saves;
    };
    OpenCommands(Parts parts, Platform& platform, Shell& shell, Automation& automation,
                 OpenCommandsHost& host);

    void mnuOpen_Click();
    // Members kept from an earlier run opened as a project of that name ("[Untitled]" for
    // none); members whose location was not found yet are only looked for among the windows.
    void openRecovered(const std::string& name, const std::vector<StoredMember>& members);
    // Timer4: true once when a follow-up matching pass is due (the flag is cleared).
    bool takeOpenRetry();
    void retryProjectMatch();
    void refreshProject();

  private:
    void openProject(const std::string& name, const std::vector<StoredMember>* given = nullptr);
    std::vector<ProjectMember> readMembers(const std::string& name,
                                           std::vector<std::string>& notOpened);
    std::vector<ProjectMember> membersToOpen(const std::vector<StoredMember>& stored,
                                             std::vector<std::string>& notOpened);
    void launchAll(const std::vector<ProjectMember>& members);
    // Whether the window of member `j` is there now: a window that was not open before the
    // open and that the matching takes for it. It is matched at once.
    bool memberArrived(std::size_t j, const ProjectMember& member);
    // Whether record i, not on the Project tab, is the member's window by its program,
    // name and location.
    bool matchesMember(long i, const ProjectMember& member) const;
    bool isOpen(const ProjectMember& member) const;
    // The program the shell opens `document` with (long name, upper case), or "".
    std::string associatedProgram(const std::string& document);
    // False when the member could not be started (the user has been told).
    bool launch(const ProjectMember& member);
    long launchByPlan(const LaunchPlan& plan);
    void matchLaunched(const std::vector<ProjectMember>& members);
    void placeLeftovers(const std::vector<ProjectMember>& members);
    void updateProjectImages();
    // The one place where a member's window, record k, is matched: it goes onto the Project
    // tab with the member's location and comment.
    void memberWindowArrived(const ProjectMember& member, long k);
    long projectTabCount() const;
    bool onProjectTabAlready(const ProjectMember& member) const;

    CoffeeShopList& list_;
    ProjectStore& store_;
    PathSearch& search_;
    ProjectDialogs& dialogs_;
    SaveCommands& saves_;
    Platform& platform_;
    Shell& shell_;
    Automation& automation_;
    OpenCommandsHost& host_;
    WindowPlacer placer_;
    // Kept until the next open.
    std::vector<WindowHandle> preOpenHandles_;
    std::vector<bool> launched_;
    int netscape6Counter_ = 0;
    int netscape6Members_ = 0;
    bool openRetry_ = false;
    std::int16_t openPass_ = 0;
};

}  // namespace snapdesk
