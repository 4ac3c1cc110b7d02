#pragma once

// Snapdesk started as a user starts it, seen from outside: its main window, tiles, tabs and
// stored settings, and the clicks and keys a user gives it.
#include <windows.h>

#include <initializer_list>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "test_apps.h"

namespace snapdesk::testing {

// The settings key of the current user.
void clearSnapdeskSettings();
std::optional<std::wstring> snapdeskSetting(const std::wstring& name);
void storeSnapdeskSetting(const std::wstring& name, const std::wstring& value);

// xdotool on the test display, run to its end by Wine's ntdll as the Linux program it is: its
// keys and clicks reach Wine as a person's, and wineserver matches the keys against hot keys.
// True when it ended well.
bool xdotool(std::initializer_list<std::string> arguments);
// The window raised, then clicked on its caption with the display's mouse, so that the display's
// keyboard types into it (the virtual desktop lies at the display's origin); true once it is
// the foreground.
bool clickCaption(HWND window);
// A screenshot of the desktop for a person to look at, saved in $SNAPDESK_E2E_SHOTS when set;
// the assertions never read it.
void screenshot(const char* step);
// A text file written anew; false when it cannot be.
bool writeTextFile(const std::wstring& path, const std::string& text);
// A text file of that name in the temporary folder, written anew; its full path, or empty.
std::wstring writeTempTextFile(const std::wstring& name, const std::string& text);
// Wine's notepad on a file; `window` gets its window once shown (nullptr on time-out).
Program startNotepadOn(const std::wstring& path, HWND& window);

// The popup menu on screen (TrackPopupMenu's window), nullptr when none shows in time; and
// whether none shows any more.
HWND waitForPopup(Milliseconds timeout = Milliseconds{5000});
bool popupGone(Milliseconds timeout = Milliseconds{5000});
// A key pressed and let go in a window, as the keyboard sends it.
void key(HWND window, WPARAM virtualKey);
// The first window of that class below `parent`, nullptr when none.
HWND descendant(HWND parent, const wchar_t* className);

// A visible top-level window of the process with this caption, nullptr on time-out.
HWND waitForWindowTitled(const Program& program, const std::wstring& caption,
                         Milliseconds timeout = Milliseconds{15000});
// Whether the window is gone or hidden within the usual time-out.
bool gone(HWND window);
// Every text of a dialog's static controls, one a line.
std::wstring staticTexts(HWND dialog);
// A button of a dialog clicked.
void click(HWND dialog, int id);
// The message box that Snapdesk shows now: its text, and `button` pressed ("<no message>"
// when none shows).
std::wstring answerMessage(const Program& program, int button = IDOK);

// A shortcut in the Recent folder, as the shell leaves one for a document the user opened; its
// path, or empty.
std::wstring addRecentShortcut(const std::wstring& name, const std::wstring& target);

// Visible top-level windows of any process whose caption holds `part`; and each of them closed.
std::vector<HWND> windowsWith(const std::wstring& part);
void closeWindowsWith(const std::wstring& part);
// A project picked in the list of "Open Project", as a click on its line does.
void selectProject(HWND dialog, const std::wstring& name);

// Text files in the temporary folder, each with a Recent shortcut as a user who opened it has,
// and open in notepad; the files and shortcuts are removed at the end.
struct OpenTextDocuments {
    explicit OpenTextDocuments(std::initializer_list<const wchar_t*> names);
    ~OpenTextDocuments();
    OpenTextDocuments(const OpenTextDocuments&) = delete;
    OpenTextDocuments& operator=(const OpenTextDocuments&) = delete;
    bool allOpen() const { return open; }

    std::vector<std::wstring> paths, shortcuts;
    std::vector<std::unique_ptr<Program>> notepads;
    bool open = true;
};

struct Tile {
    HWND window = nullptr;
    std::wstring fileName;
    std::wstring comment;
};

class SnapdeskApp {
  public:
    // Starts snapdesk.exe and waits for its main window to be shown. A Project kept from an
    // earlier run is removed first unless it is to be offered.
    SnapdeskApp();
    enum class KeptProject { Removed, Offered };
    explicit SnapdeskApp(KeptProject kept);
    // The same with a copy installed elsewhere (by the installer).
    explicit SnapdeskApp(const std::wstring& installedProgram);
    bool started() const { return main_ != nullptr; }
    HWND main() const { return main_; }
    Program& program() { return program_; }

    // The tiles on screen, row by row.
    std::vector<Tile> tiles() const;
    std::optional<Tile> tileNamed(const std::wstring& fileName) const;
    // Waits (pumping) until a tile of that name is on screen.
    std::optional<Tile> waitForTile(const std::wstring& fileName,
                                    Milliseconds timeout = kWindowTimeout) const;
    // Waits (pumping) until a tile of each name is on screen.
    bool waitForTiles(const std::vector<std::wstring>& fileNames, Milliseconds timeout) const;
    std::vector<std::wstring> tabCaptions() const;
    // A menu or accelerator command, as the menu bar sends it.
    void command(int id) const;

    // A left click, a double click and keys on a tile's picture; a click on its comment.
    static void click(const Tile& tile);
    static void doubleClick(const Tile& tile);
    static void typeComment(const Tile& tile, const std::wstring& text);
    static void rightClick(const Tile& tile);
    // Right click on the tile, then "Move to Project", the second item of its popup; true once
    // the tile has left its tab.
    bool moveToProject(const std::wstring& name, Milliseconds timeout) const;
    // Open Project given until it takes, shown by a dialog or a question: an open still
    // finishing lets no command through.
    void startOpen() const;

    // Sends WM_CLOSE and waits until the process has ended.
    bool closeAndWait();
    // The same, answering No when it asks whether to save the project's changes first.
    bool closeWithoutSaving();
    // Save Project As under `name`: true when its dialog was the only one to show (every
    // location was found) and it closed.
    bool saveProjectAsWithoutQuestions(const std::wstring& name);

  private:
    std::wstring installed_;  // empty when the program could not be installed
    Program program_;
    HWND main_ = nullptr;
};

}  // namespace snapdesk::testing
