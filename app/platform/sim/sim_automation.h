#pragma once

#include <map>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "common/runtime_error.h"
#include "platform/automation.h"

namespace snapdesk::sim {

// Automation servers in memory. A server that is "not running" answers nothing; one that
// "fails" throws as a server that died in the middle of a walk does.
class SimAutomation : public Automation {
  public:
    bool wordRunning = false;
    std::vector<WordDocument> documents;
    bool shellWindowsAvailable = true;
    std::vector<ShellWindowLocation> windows;
    bool failWalks = false;
    int wordWalks = 0;
    int shellWalks = 0;
    // The document behind each Office window; a window missing here serves no object, one in
    // `deadOfficeWindows` belongs to a program that dies when asked.
    std::map<WindowHandle, std::string> officeDocuments;
    std::set<WindowHandle> deadOfficeWindows;
    std::vector<WindowHandle> officeQuestions;
    // Calls made on browser objects, in order: "navigate <address>", "visible -1".
    std::vector<std::string> browserCalls;

    std::optional<std::vector<WordDocument>> wordDocuments() override {
        ++wordWalks;
        if (!wordRunning) {
            return std::nullopt;
        }
        failIfAsked("Documents");
        return documents;
    }
    std::optional<std::vector<ShellWindowLocation>> shellWindows() override {
        ++shellWalks;
        if (!shellWindowsAvailable) {
            return std::nullopt;
        }
        failIfAsked("ShellWindows");
        return windows;
    }
    std::unique_ptr<BrowserObject> createBrowser() override {
        failIfAsked("InternetExplorer.Application");
        return std::make_unique<Browser>(browserCalls);
    }

    std::optional<std::string> officeDocumentFullName(WindowHandle window, OfficeProgram) override {
        officeQuestions.push_back(window);
        if (deadOfficeWindows.contains(window)) {
            throw RuntimeError{-2147023170, "The remote procedure call failed.", "FullName"};
        }
        const auto found = officeDocuments.find(window);
        if (found == officeDocuments.end()) {
            return std::nullopt;
        }
        return found->second;
    }

  private:
    class Browser : public BrowserObject {
      public:
        explicit Browser(std::vector<std::string>& calls) : calls_(calls) {}
        void navigate(const std::string& address) override {
            calls_.push_back("navigate " + address);
        }
        void setVisible(bool visible) override {
            calls_.push_back(visible ? "visible -1" : "visible 0");
        }

      private:
        std::vector<std::string>& calls_;
    };
    void failIfAsked(const char* source) const {
        if (failWalks) {
            throw RuntimeError{-2147023174, "The RPC server is unavailable.", source};
        }
    }
};

}  // namespace snapdesk::sim
