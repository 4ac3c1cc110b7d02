#include "location/win32/win32_project_dialogs.h"

// clang-format off
#include <windows.h>
#include <commctrl.h>
// clang-format on

#include "location/win32/location_dialogs.h"

namespace snapdesk {

Win32ProjectDialogs::Win32ProjectDialogs(
    HWND owner, Timer1Switch& timer, Ports ports, std::function<std::string()> browseForFolder,
    std::function<void()> showSave, std::function<std::optional<std::string>()> showOpenProject)
    : owner_(owner),
      timer_(timer),
      ports_(ports),
      browseForFolder_(std::move(browseForFolder)),
      showSave_(std::move(showSave)),
      showOpenProject_(std::move(showOpenProject)) {
    INITCOMMONCONTROLSEX controls{sizeof(controls), ICC_STANDARD_CLASSES};
    InitCommonControlsEx(&controls);
}

std::string Win32ProjectDialogs::showNoPathInfo(const std::string& noPathName,
                                                const std::string& noPathExe) {
    Timer1Pause pause(timer_);
    NoPathInfo presenter(noPathName, noPathExe, ports_.shell, browseForFolder_);
    runNoPathInfoDialog(owner_, presenter);
    return presenter.answer();
}

bool Win32ProjectDialogs::showContinueSearch(ContinueSearchActions& actions) {
    // Left off: the save command switches it on again when it ends.
    timer_.setTimer1(false);
    return runContinueSearchDialog(owner_, actions);
}

std::string Win32ProjectDialogs::showNoNetscape6(const std::string& browserCaption,
                                                 const std::string& browserLabel) {
    Timer1Pause pause(timer_);
    NoNetscape6 presenter(ports_.ui, browserCaption, browserLabel);
    runNoNetscape6Dialog(owner_, presenter);
    return presenter.answer();
}

void Win32ProjectDialogs::showWinAmp(const std::string& winAmpSong, const std::string& winAmpExe) {
    Timer1Pause pause(timer_);
    WinAmp presenter({ports_.ui, ports_.shell, ports_.files, ports_.links, ports_.list}, winAmpSong,
                     winAmpExe);
    runWinAmpDialog(owner_, presenter);
}

void Win32ProjectDialogs::showNoEmptyProject(bool tabHasRecords) {
    Timer1Pause pause(timer_);
    runNoEmptyProjectDialog(owner_, tabHasRecords);
}

EmptyOverwriteChoice Win32ProjectDialogs::showNoEmptyOverwrite() {
    Timer1Pause pause(timer_);
    return runNoEmptyOverwriteDialog(owner_);
}

void Win32ProjectDialogs::showSave() {
    showSave_();
}

std::optional<std::string> Win32ProjectDialogs::showOpenProject() {
    return showOpenProject_();
}

}  // namespace snapdesk
