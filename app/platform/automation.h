#pragma once

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "common/modern_programs.h"
#include "platform/handles.h"

namespace snapdesk {

// One open document of the word processor: its Name and Path properties ("" for a document
// that was never saved).
struct WordDocument {
    std::string name;
    std::string folder;
};

// One window of the shell's collection of open windows.
struct ShellWindowLocation {
    std::string locationName;
    std::string locationURL;
};

// A browser started through its automation object.
class BrowserObject {
  public:
    virtual ~BrowserObject() = default;
    // Throw RuntimeError when the browser does not answer.
    virtual void navigate(const std::string& address) = 0;
    virtual void setVisible(bool visible) = 0;
};

// Other programs reached through their automation objects. Each call is bounded in time, so
// a server that hangs cannot hold the program; a server that fails or dies in the middle of a
// walk makes the call throw RuntimeError, and nothing half-read is returned.
class Automation {
  public:
    virtual ~Automation() = default;

    // The open documents of the running word processor, in their order (Item 1 to Count).
    // Nothing when no word processor is running or it has no automation object.
    virtual std::optional<std::vector<WordDocument>> wordDocuments() = 0;
    // The shell's open windows. Nothing when the collection cannot be created; empty when it
    // can be created but not listed.
    virtual std::optional<std::vector<ShellWindowLocation>> shellWindows() = 0;
    // A new browser object, not yet visible. Throws RuntimeError when it cannot be created.
    virtual std::unique_ptr<BrowserObject> createBrowser() = 0;
    // The FullName of the document that one window of an Office program shows, read from that
    // window's own object model: a path, a web address for a file kept in the cloud, or a bare
    // name for a document never saved. `window` is the frame or the document window. Nothing
    // when the window serves no object.
    virtual std::optional<std::string> officeDocumentFullName(WindowHandle window,
                                                              OfficeProgram program) = 0;
};

}  // namespace snapdesk
