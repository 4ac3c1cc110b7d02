#pragma once

#include <windows.h>
// clang-format off
#include <exdisp.h>
// clang-format on

#include "platform/automation.h"
#include "platform/ui.h"

namespace snapdesk {

// Other programs through COM late binding: members are looked up by name on IDispatch, no type
// library. Every walk runs on a worker thread of the multithreaded apartment while the calling
// thread keeps its messages flowing through `ui`; a server that does not answer within the
// time-out is abandoned to that worker and the call throws RuntimeError.
class Win32Automation : public Automation {
  public:
    static constexpr unsigned kDefaultTimeoutMs = 5000;

    // `shellWindowsClass` differs from the shell's own collection only in tests.
    explicit Win32Automation(Ui& ui, unsigned timeoutMs = kDefaultTimeoutMs,
                             const CLSID& shellWindowsClass = CLSID_ShellWindows);

    std::optional<std::vector<WordDocument>> wordDocuments() override;
    std::optional<std::vector<ShellWindowLocation>> shellWindows() override;
    std::unique_ptr<BrowserObject> createBrowser() override;
    std::optional<std::string> officeDocumentFullName(WindowHandle window,
                                                      OfficeProgram program) override;

  private:
    Ui& ui_;
    unsigned timeoutMs_;
    CLSID shellWindowsClass_;
};

}  // namespace snapdesk
