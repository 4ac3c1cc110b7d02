#pragma once

// The dialogs of saving a project on real windows over the main window, each switching the
// refresh timer as it must while it is up.

// clang-format off
#include <windows.h>
// clang-format on

#include <functional>
#include <optional>
#include <string>

#include "common/timer1_switch.h"
#include "platform/file_system.h"
#include "platform/link_path_resolver.h"
#include "platform/shell.h"
#include "platform/ui.h"
#include "projects/project_dialogs.h"
#include "tracking/coffee_shop_list.h"

namespace snapdesk {

class Win32ProjectDialogs final : public ProjectDialogs {
  public:
    struct Ports {
        Ui& ui;
        Shell& shell;
        FileSystem& files;
        CoffeeShopList& list;
        LinkPathResolver& links;
    };
    // `browseForFolder`: the shell's folder dialog over the main window (PathSearch's);
    // `showSave`: "Save Project As", `showOpenProject`: "Open Project", written elsewhere.
    Win32ProjectDialogs(HWND owner, Timer1Switch& timer, Ports ports,
                        std::function<std::string()> browseForFolder,
                        std::function<void()> showSave,
                        std::function<std::optional<std::string>()> showOpenProject);

    std::string showNoPathInfo(const std::string& noPathName,
                               const std::string& noPathExe) override;
    bool showContinueSearch(ContinueSearchActions& actions) override;
    std::string showNoNetscape6(const std::string& browserCaption,
                                const std::string& browserLabel) override;
    void showWinAmp(const std::string& winAmpSong, const std::string& winAmpExe) override;
    void showNoEmptyProject(bool tabHasRecords) override;
    EmptyOverwriteChoice showNoEmptyOverwrite() override;
    void showSave() override;
    std::optional<std::string> showOpenProject() override;

  private:
    HWND owner_;
    Timer1Switch& timer_;
    Ports ports_;
    std::function<std::string()> browseForFolder_;
    std::function<void()> showSave_;
    std::function<std::optional<std::string>()> showOpenProject_;
};

}  // namespace snapdesk
