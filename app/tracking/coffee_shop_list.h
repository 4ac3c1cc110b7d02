#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include "common/text.h"
#include "platform/platform.h"
#include "tracking/process_table.h"
#include "tracking/provisional_pictures.h"
#include "tracking/tracked_window.h"

namespace snapdesk {

// The one list of tracked windows. Records are addressed by 1-based position, which is also
// their display order; gets outside 1..count return a neutral value, sets do nothing.
class CoffeeShopList {
  public:
    explicit CoffeeShopList(Platform& platform);

    // Purge vanished windows, enumerate the desktop and classify every record.
    // `takePictures` false: the window in front is not pictured this pass (a quick look).
    void refreshList(bool takePictures = true);
    // Bring a tracked window to the user. Modes: 0 maximise, 1 restore, 2 as it was.
    void activateDocument(long i, std::int16_t childMode, std::int16_t frameMode, bool& isFront);
    void moveTo(long a, long b);
    void mvToFront(long i);
    void mvToEnd(long i);
    // Every picture stretched to the thumbnail size of the display's new scale.
    void rescalePhotos();
    void updateImage(long i);
    // Start-up: every record without a picture asked to draw one; messages are processed until
    // all have answered or `maxMs` have passed.
    void renderPictures(unsigned maxMs);

    long count() const { return count_; }
    void setDisplayFolders(bool show) { displayFolders_ = show; }
    bool displayFolders() const { return displayFolders_; }
    // The program's own main window is never tracked.
    void setMainWindow(WindowHandle window) { mainWindow_ = window; }
    // Number of array slots (live records plus empty slots).
    std::size_t capacity() const { return records_.size(); }

    std::string EXEPath(long i) const;
    void setEXEPath(long i, const std::string& value);
    bool searchDone(long i) const;
    void setSearchDone(long i, bool value);
    std::string filePath(long i) const;
    void setFilePath(long i, const std::string& value);
    // Where the record's folder search resumes, and the file time of its best find so far.
    std::int32_t searchIndex(long i) const { return get(i, &TrackedWindow::searchIndex); }
    void setSearchIndex(long i, std::int32_t value) { set(i, &TrackedWindow::searchIndex, value); }
    std::uint32_t bestTimeHigh(long i) const { return get(i, &TrackedWindow::bestTimeHigh); }
    void setBestTimeHigh(long i, std::uint32_t value) {
        set(i, &TrackedWindow::bestTimeHigh, value);
    }
    std::uint32_t bestTimeLow(long i) const { return get(i, &TrackedWindow::bestTimeLow); }
    void setBestTimeLow(long i, std::uint32_t value) { set(i, &TrackedWindow::bestTimeLow, value); }
    std::int32_t updateCount(long i) const;
    void setUpdateCount(long i, std::int32_t value);
    std::string CommentString(long i) const;
    void setCommentString(long i, const std::string& value);
    std::string CaptionString(long i) const;
    void setCaptionString(long i, const std::string& value);
    bool gotPhoto(long i) const;
    void setGotPhoto(long i, bool value);
    bool doDisplay(long i) const;
    void setDoDisplay(long i, bool value);
    bool flgKeepView(long i) const;
    void setFlgKeepView(long i, bool value);
    std::int16_t inTab(long i) const;
    void setInTab(long i, std::int16_t value);
    bool isZoomed(long i) const;
    void setIsZoomed(long i, bool value);
    bool parentZoomed(long i) const;
    void setParentZoomed(long i, bool value);
    std::int16_t originalTab(long i) const;
    IconHandle hIcon(long i) const;
    WindowHandle hWnd(long i) const;
    WindowHandle hClient(long i) const;
    WindowHandle hTopWnd(long i) const;
    PicturePtr thePhoto(long i) const;
    bool photoIsProvisional(long i) const { return get(i, &TrackedWindow::photoIsProvisional); }
    std::string browserProfile(long i) const { return get(i, &TrackedWindow::browserProfile); }
    void setBrowserProfile(long i, const std::string& value) {
        setText(i, &TrackedWindow::browserProfile, value);
    }
    std::string appId(long i) const { return get(i, &TrackedWindow::appId); }
    void setAppId(long i, const std::string& value) { setText(i, &TrackedWindow::appId, value); }
    // The raw window text of the last enumeration.
    std::string WindowText(long i) const;

  private:
    static constexpr std::size_t kInitialSlots = 31;
    static constexpr std::size_t kGrowth = 30;
    static constexpr unsigned kIconTimeoutMs = 500;
    // Background pictures on their way at once during the refreshes.
    static constexpr std::size_t kRendersPerPass = 5;
    // The most one refresh waits for one window's icon: a window busy starting up would hold
    // the whole refresh for the time-out.
    static constexpr unsigned kIconTurnMs = 50;

    bool inRange(long i) const { return i >= 1 && i <= count_; }
    const TrackedWindow& at(long i) const { return records_[static_cast<std::size_t>(i - 1)]; }
    TrackedWindow& at(long i) { return records_[static_cast<std::size_t>(i - 1)]; }
    // Property access by position: neutral values outside 1..count, strings stored trimmed.
    template <typename T>
    T get(long i, T TrackedWindow::*field) const {
        return inRange(i) ? at(i).*field : T{};
    }
    template <typename T>
    void set(long i, T TrackedWindow::*field, T value) {
        if (inRange(i))
            at(i).*field = value;
    }
    void setText(long i, std::string TrackedWindow::*field, const std::string& value) {
        if (inRange(i))
            at(i).*field = text::trim(value);
    }

    void AddWindowToList(WindowHandle hWnd, WindowHandle hTopWnd, WindowHandle hClient,
                         const std::string& text, bool isExcel, std::int16_t tab);
    void removeWindow(WindowHandle hWnd);
    void CompactList(long& newCount);
    void compact();  // CompactList and store the new count
    // Position of the record of a window, 0 when none; kept in an index rebuilt after any
    // change of order, so that one refresh stays linear in the number of windows.
    long findRecord(WindowHandle hWnd);
    void refreshIcon(TrackedWindow& record, bool existed);
    // WM_GETICON within turns of kIconTurnMs, one per refresh; nothing while the window has
    // turns left of its kIconTimeoutMs, the failed answer once they are spent.
    std::optional<IconAnswer> askIcon(WindowHandle window);
    void refreshZoomState(TrackedWindow& record);
    // TakeSnapShot into the record: a capture replaces a provisional picture.
    void captureRecord(TrackedWindow& record);
    std::span<TrackedWindow> liveRecords() {
        return {records_.data(), static_cast<std::size_t>(count_)};
    }

    // Window discovery.
    void enumerateWindows();
    bool addDocumentsOf(WindowHandle top, bool isExcel);
    bool admitsTopWindow(WindowHandle top, std::unordered_map<WindowHandle, bool>& verdicts);
    ShowState stateOf(WindowHandle window);
    void classifyWindows();
    void classifyRecord(long i, bool& processTableBuilt, WindowHandle foreground);
    bool isToolWindow(WindowHandle window);
    bool hasWindowIcon(WindowHandle window);

    Platform& platform_;
    std::vector<TrackedWindow> records_;
    long count_ = 0;
    bool displayFolders_ = true;
    WindowHandle mainWindow_ = 0;
    IconHandle windowLogoIcon_ = 0;
    IconHandle applicationIcon_ = 0;
    ProcessTable processTable_;
    ProvisionalPictures provisional_;
    bool takePictures_ = true;
    // Time each window has let pass without answering the icon question so far.
    std::unordered_map<WindowHandle, unsigned> iconWaitSpent_;
    std::unordered_map<WindowHandle, long> positions_;
    bool positionsValid_ = false;
    // Windows the current walk found visible, with their minimised and maximised state.
    std::unordered_map<WindowHandle, ShowState> shownThisPass_;
    // Top-level windows the walk found cloaked: their records go as if hidden.
    std::unordered_set<WindowHandle> cloakedThisPass_;
    // Whether a top-level window passed the owner, tool-window and class tests. Kept only
    // while the window stays visible from one walk to the next: each of those questions is a
    // round trip to the window server, and their answers do not change for a window in use.
    std::unordered_map<WindowHandle, bool> admittedTops_;
};

// Foreground switch across threads; false when the window was already in front.
bool ForceForeground(WindowManager& windows, WindowHandle window);

}  // namespace snapdesk
