#include "mainwindow/main_form.h"

#include <algorithm>
#include <new>
#include <stdexcept>
#include <utility>

#include "common/app_title.h"
#include "common/runtime_error.h"
#include "location/browser_versions.h"
#include "mainwindow/menu_ids.h"
#include "mainwindow/settings_presenter.h"
#include "resources/version.h"
#include "snapshots/graphics_code.h"
#include "snapshots/image_update_mode.h"

namespace snapdesk {
namespace {

constexpr std::uint32_t kDeepPanelColor = 0xFF9090;
constexpr std::uint32_t kDeepCommentColor = 0xFF9898;
constexpr std::uint32_t kPalettePanelColor = 0x7FBF3F;
// How long start-up waits for the windows to draw their pictures in the background.
constexpr unsigned kStartRenderMs = 1500;

constexpr int kImageUpdateItems[] = {ID_mnuFrequentImageUpdates, ID_mnuMinimalImageUpdates,
                                     ID_mnuNoAutoImageUpdate};

std::string withBackslash(std::string folder) {
    if (folder.empty() || folder.back() != '\\') {
        folder += '\\';
    }
    return folder;
}

}  // namespace

std::string fatalLoadMessage(char location, long number, const std::string& description) {
    return std::string("Sorry! A Fatal Error Loading Main Form Has Occured at location: ") +
           location + "\n" + std::to_string(number) + " - " + description;
}

MainForm::MainForm(Platform& platform, MainWindowView& window, PanelView& panelView,
                   MainFormServices& services, ScreenMetrics screen, std::string programFolder)
    : platform_(platform),
      window_(window),
      panelView_(panelView),
      services_(services),
      screen_(screen),
      list_(platform),
      activation_(platform, list_, *this),
      projectDialogs_(services.projectCommands()),
      commands_(list_, *this, projectDialogs_,
                {SNAPDESK_VERSION_MAJOR, SNAPDESK_VERSION_MINOR, SNAPDESK_VERSION_REVISION}),
      hotKey_(platform.registry, platform.ui, window),
      hotKeyToggle_(platform.windows, *this) {
    state_.programFolder = withBackslash(std::move(programFolder));
    list_.setMainWindow(window_.handle());
}

MainForm::~MainForm() = default;

bool MainForm::load() {
    try {
        runLoadSteps();
        state_.loaded = true;
        // The last run's Project tab, if it did not end cleanly; no command runs under it.
        projectDialogs_.run([this] { services_.offerRecovery(); });
        window_.setTimer(MainTimer::Recovery, kRecoveryIntervalMs, true);
        hotKey_.start(settings_.HotKey);
        return true;
    } catch (const RuntimeError& e) {
        platform_.ui.messageBox(fatalLoadMessage(location_, e.number, e.description), kAppTitle,
                                MessageBoxStyle::OkCritical);
    } catch (const std::bad_alloc&) {
        platform_.ui.messageBox(fatalLoadMessage(location_, 7, "Out of memory"), kAppTitle,
                                MessageBoxStyle::OkCritical);
    } catch (const std::exception& e) {
        platform_.ui.messageBox(fatalLoadMessage(location_, 51, e.what()), kAppTitle,
                                MessageBoxStyle::OkCritical);
    }
    state_.shutDown = true;
    return false;
}

void MainForm::runLoadSteps() {
    location_ = 'a';
    services_.prepareDataFolder(state_.programFolder);

    location_ = 'b';
    PanelHost& host = *this;
    panel_ = std::make_unique<ThumbnailPanel>(panelState_, list_, platform_.ui, panelView_, host,
                                              screen_);

    location_ = 'c';
    services_.loadProjectStore();
    state_.ieVersion = ieVersionNumber(ieMajorVersion(platform_.registry));

    location_ = 'd';
    location_ = 'e';
    panel_->scaleToScreen(window_.geometry());

    location_ = 'f';
    settings_ = loadUserSettings(platform_.registry);

    location_ = 'g';
    applyStoredSettings();

    location_ = 'h';
    services_.clearBrowserHistoryTexts();
    panel_->fixedLayout(window_.geometry());

    location_ = 'i';
    window_.setCaption(kAppTitle);
    setTimer1(true);
    panelState_.projectName = "[Untitled]";
    panel_->tabClick(0);
    state_.helpFile = state_.programFolder + kHelpFileName;
    window_.setPlacement({applied_.left, applied_.top, applied_.width, applied_.height});

    location_ = 'j';
    services_.loadDirectoryTree();

    location_ = 'k';
    const int depth = colorDepth(platform_.display);
    if (depth > 8) {
        panelState_.tabColors[0] = kDeepPanelColor;
        panelState_.commentBackColor = kDeepCommentColor;
    } else {
        location_ = 'l';
        const std::uint32_t nearest = window_.nearestColor(kPalettePanelColor);
        panelState_.tabColors[0] = nearest;
        panelState_.commentBackColor = nearest;
    }

    location_ = 'm';
    redraw();

    location_ = 'n';
    panelState_.tabColors[1] = panelState_.tabColors[2] = panelState_.tabColors[3] =
        panelState_.tabColors[0];
    panelView_.setBackColor(PanelControl::canvas, panelState_.tabColors[0]);
    if (!window_.menuChecked(ID_mnuAutoLoad)) {
        // Windows that draw themselves need not flash to the front for their pictures.
        list_.renderPictures(kStartRenderMs);
        activation_.loadMissingImages();
    }

    location_ = 'o';
    panel_->bringTemplateToFront();
    redraw();

    location_ = 'p';
    state_.windowStateText = "NORMAL";
    if (settings_.Maximized == "yes") {
        window_.show(ShowCommand::Maximize);
        state_.windowStateText = "MAXIMIZED";
    }

    location_ = 'q';
    // The drop-down menus' element counts start with the window's menus (next commands).
    if (settings_.TextLabels == "no") {
        toggleTextLabels();
    }

    location_ = 'r';
    window_.show(ShowCommand::Show);
    window_.repaint();

    location_ = 's';
    state_.trayInstalled = window_.addTrayIcon(kAppTitle);
    if (state_.trayInstalled) {
        location_ = 't';
        window_.routeTrayMessages();
        state_.subclassed = true;
        location_ = 'u';
    }

    location_ = 'v';
    settings_.MaximizeLaunch = "no";
    window_.setMenuCaption(ID_mnuHelpLaunch, std::string("&Help with ") + kAppTitle);
    window_.initializeCom();

    location_ = 'w';
    state_.netscape6Version = netscape6Version(platform_.registry);
    ForceForeground(platform_.windows, window_.handle());
    window_.repaint();
}

void MainForm::applyStoredSettings() {
    const int screenHeight = window_.screenHeight();
    const int screenWidth = window_.screenWidth();
    const AppliedSettings a = applySettings(
        settings_,
        {panelState_.preferredHeight, panelState_.preferredWidth, screenHeight, screenWidth});
    const Bounds now = window_.placement();
    window_.setPlacement({now.left, now.top, a.width, a.height});
    window_.setMenuChecked(ID_mnuAutoLoad, a.autoLoadChecked);
    window_.setMenuChecked(ID_mnuSingleClick, a.singleClickChecked);
    panel_->setHintText(a.hint);
    window_.setMenuChecked(ID_mnuDoUpdates, a.doUpdatesChecked);
    window_.setMenuChecked(ID_mnuFolders, a.foldersChecked);
    list_.setDisplayFolders(a.displayFolders);
    window_.setMenuChecked(ID_mnuMaximize, a.maximizeChecked);
    window_.setMenuChecked(ID_mnuRestorePositions, a.restorePositionsChecked);
    panelState_.tabMode = a.tabMode;
    window_.setMenuCaption(ID_mnuTabs, a.tabsCaption);
    // "TextLabels" = "no" is applied at "q" by the toggle, which also saves it.
    setImageUpdateMode(a.imageUpdateMode);
    for (int item : kImageUpdateItems) {
        window_.setMenuChecked(item, item == a.imageUpdateItem);
    }
    applied_ = a;
}

void MainForm::toggleTextLabels() {
    const bool on = !window_.menuChecked(ID_mnuTextLabels);
    window_.setMenuChecked(ID_mnuTextLabels, on);
    writeRegSetting(platform_.registry, kSettingsSection, "TextLabels", on ? "yes" : "no");
    // The toolbar changes height; the panel takes or gives the difference.
    window_.setToolbarTextLabels(on);
    resized();
}

void MainForm::redraw() {
    if (panel_ != nullptr && !state_.shutDown) {
        panel_->updateWindowList();
    }
}

void MainForm::timerTick(MainTimer timer) {
    // The repaint wait of a capture runs during start-up too: Timer2 always counts.
    if (timer == MainTimer::Timer2) {
        activation_.Timer2_Timer();
        return;
    }
    if (!state_.loaded || state_.shutDown) {
        return;
    }
    switch (timer) {
        case MainTimer::Timer1:
            // A refresh that pumps messages must not start a second one, nor run under a
            // command's dialog.
            if (timer1Running_ || projectDialogs_.open) {
                return;
            }
            timer1Running_ = true;
            redraw();
            services_.updatePaths(false);
            services_.watchRecovery();
            timer1Running_ = false;
            break;
        case MainTimer::Recovery:
            // A refresh pumping messages has the list half done: the next look sees it whole.
            if (!timer1Running_) {
                services_.watchRecovery();
            }
            break;
        case MainTimer::Timer2:
            break;
        case MainTimer::Timer4:
            // An open still running re-arms the follow-up itself.
            if (!projectDialogs_.open && services_.openRetryDue()) {
                services_.retryProjectMatch();
            }
            break;
    }
}

bool MainForm::command(int menuId) {
    if (state_.shutDown) {
        return false;
    }
    // A project command's dialog answers messages: nothing starts underneath it.
    if (projectDialogs_.open) {
        return true;
    }
    if (const auto toggle = toggleSetting(menuId, window_.menuChecked(menuId))) {
        if (toggle->imageUpdateMode) {
            for (int item : kImageUpdateItems) {
                window_.setMenuChecked(item, item == menuId);
            }
            setImageUpdateMode(*toggle->imageUpdateMode);
        } else {
            window_.setMenuChecked(menuId, toggle->checked);
        }
        if (toggle->hint) {
            panel_->setHintText(*toggle->hint);
        }
        if (toggle->displayFolders) {
            list_.setDisplayFolders(*toggle->displayFolders);
        }
        if (toggle->maximizeLaunch) {
            settings_.MaximizeLaunch = *toggle->maximizeLaunch;
        }
        if (toggle->restorePositions) {
            settings_.RestorePositions = *toggle->restorePositions;
        }
        writeRegSetting(platform_.registry, kSettingsSection, toggle->key, toggle->value);
        return true;
    }
    switch (menuId) {
        case ID_mnuExit:
            window_.postClose();
            return true;
        case ID_mnuLoadImages:
            activation_.mnuLoadImages_Click();
            return true;
        case ID_mnuTextLabels:
            toggleTextLabels();
            return true;
        case ID_mnuHotKey:
            chooseHotKey();
            return true;
        default:
            return commands_.command(menuId);
    }
}

bool MainForm::buttonCommand(int buttonId) {
    if (state_.shutDown) {
        return false;
    }
    if (projectDialogs_.open) {
        return true;
    }
    return commands_.buttonClickById(buttonId);
}

void MainForm::trayIconEvent(std::uintptr_t mouseEvent) {
    if (state_.loaded && !state_.shutDown && !projectDialogs_.open) {
        commands_.trayIconEvent(mouseEvent);
    }
}

void MainForm::updateImage(long k) {
    state_.selectedIndex = k;
    activation_.updateClick(k);
}

void MainForm::bringMainWindowBack() {
    if (!mainWindowIsNormal()) {
        window_.show(ShowCommand::Restore);
    }
    activation_.bringMainWindowBack();
}

void MainForm::searchChanged(const std::string& text) {
    if (panel_ != nullptr && !state_.shutDown) {
        panel_->setSearch(text);
    }
}

bool MainForm::searchKey(SearchKey key, int digit) {
    if (panel_ == nullptr || !state_.loaded || state_.shutDown) {
        return false;
    }
    // A project command's dialog answers messages: nothing starts underneath it.
    if (projectDialogs_.open) {
        return true;
    }
    switch (key) {
        case SearchKey::Up:
            panel_->moveHighlight(-1);
            return true;
        case SearchKey::Down:
            panel_->moveHighlight(1);
            return true;
        case SearchKey::Enter:
            if (const long k = panel_->highlighted(); k != 0) {
                activation_.activateThumbnail(k);
            }
            return true;
        case SearchKey::CtrlDigit:
            if (const long k = panel_->nthMatch(digit); k != 0) {
                activation_.activateThumbnail(k);
            }
            return true;
        case SearchKey::Escape:
            if (panel_->searchText().empty()) {
                sendBack();
            } else {
                window_.setSearchText("");
                panel_->setSearch("");
            }
            return true;
    }
    return false;
}

void MainForm::startSearch() {
    if (panel_ == nullptr || state_.shutDown) {
        return;
    }
    window_.setSearchText("");
    panel_->setSearch("");
    window_.focusSearch();
}

void MainForm::restoreMainWindow(ShowCommand state) {
    window_.show(state);
    ForceForeground(platform_.windows, window_.handle());
}

void MainForm::resized() {
    if (panel_ == nullptr || state_.shutDown) {
        return;
    }
    const WindowGeometry geometry = window_.geometry();
    const ResizeResult result = panel_->resize(geometry);
    if (!result.handled) {
        return;
    }
    state_.windowStateText = result.windowStateText;
    if (result.enlarge) {
        // Enlarging resizes again; that pass finds the window big enough.
        const Bounds now = window_.placement();
        window_.setPlacement({now.left, now.top, std::max(now.width, result.minimumWidth),
                              std::max(now.height, result.minimumHeight)});
    }
}

void MainForm::scaleChanged(ScreenMetrics screen) {
    screen_ = screen;
    if (panel_ == nullptr || state_.shutDown) {
        return;
    }
    list_.rescalePhotos();
    panel_->rescale(screen, window_.geometry());
}

ResizeResult MainForm::minimumSize() {
    if (panel_ == nullptr) {
        return {};
    }
    return panel_->minimumSize(window_.geometry());
}

bool MainForm::queryUnload() {
    if (state_.loaded && !state_.shutDown) {
        services_.updatePaths(true);
        bool proceed = true;
        // The question, and the save it may start, show dialogs.
        projectDialogs_.run([&] { proceed = services_.checkProceed(); });
        if (!proceed) {
            return false;
        }
    }
    saveClosingSettings();
    return true;
}

void MainForm::queryEndSession() {
    if (state_.loaded && !state_.shutDown) {
        services_.keepRecoveryNow();
    }
}

void MainForm::endSession() {
    if (state_.loaded && !state_.shutDown) {
        services_.keepRecoveryNow();
    }
    state_.sessionEnding = true;
    saveClosingSettings();
}

void MainForm::bringToFront() {
    if (state_.loaded && !state_.shutDown) {
        restoreMainWindow(state_.windowStateText == "MAXIMIZED" ? ShowCommand::Maximize
                                                                : ShowCommand::Restore);
    }
}

void MainForm::hotKeyPressed() {
    // Not under a dialog of a command: it would be minimised with the main window.
    if (!state_.loaded || state_.shutDown || projectDialogs_.open || hotKeyDialogOpen_) {
        return;
    }
    if (hotKeyToggle_.pressed() == HotKeyStep::Up) {
        startSearch();
    }
}

void MainForm::chooseHotKey() {
    const RaisedFlag raised(hotKeyDialogOpen_);
    window_.showHotKeyDialog(hotKey_);
    settings_.HotKey = hotKeyText(hotKey_.key());
}

void MainForm::saveClosingSettings() {
    if (state_.loaded) {
        const WindowGeometry geometry = window_.geometry();
        ClosingState closing;
        // A minimised window has an empty client area: its place is not worth keeping.
        closing.minimized = geometry.minimized || geometry.innerHeight == 0;
        closing.maximized = geometry.maximized;
        const Bounds place = window_.placement();
        closing.left = place.left;
        closing.top = place.top;
        closing.width = place.width;
        closing.height = place.height;
        closing.tabMode = panelState_.tabMode;
        for (const auto& [key, value] : closingSettings(closing)) {
            writeRegSetting(platform_.registry, kSettingsSection, key, value);
        }
    }
}

void MainForm::unload() {
    setTimer1(false);
    window_.setTimer(MainTimer::Recovery, kRecoveryIntervalMs, false);
    // Work still pumping messages when the window closed must not start more, and a repaint
    // wait in progress ends: its timer goes with the window.
    state_.shutDown = true;
    activation_.stop();
    hotKey_.stop();
    if (state_.loaded) {
        services_.saveOldPaths();
        // At the end of a session the file is what brings the tab back after the restart.
        if (!state_.sessionEnding) {
            services_.recoveryCleanExit();
        }
    }
    if (state_.trayInstalled) {
        window_.removeTrayIcon();
        state_.trayInstalled = false;
    }
    platform_.ui.doEvents();
    if (state_.subclassed) {
        window_.restoreWindowProcedure();
        state_.subclassed = false;
    }
    platform_.ui.doEvents();
}

void MainForm::shutdown() {
    state_.shutDown = true;
    setTimer1(false);
    window_.postClose();
}

void MainForm::tileClick(long k) {
    if (!window_.menuChecked(ID_mnuSingleClick)) {
        activation_.activateThumbnail(k);
    } else if (TileView* tile = panel_->cswDocs(k)) {
        tile->setFocus();
    }
}

void MainForm::tileDblClick(long k) {
    activation_.activateThumbnail(k);
}

void MainForm::tileKeyPress(long k, short& keyAscii) {
    if (keyAscii == 13) {
        activation_.activateThumbnail(k);
    }
}

void MainForm::tileMouseDown(long k, short button, short /*shift*/, float /*x*/, float /*y*/) {
    if (button == kRightButton) {
        state_.selectedIndex = k;
        commands_.showThumbnailPopup(k);
    }
}

void MainForm::setTimer1(bool enabled) {
    timer1On_ = enabled;
    window_.setTimer(MainTimer::Timer1, kTimer1IntervalMs, enabled);
}

bool MainForm::setTimer2(bool enabled, unsigned intervalMs) {
    return window_.setTimer(MainTimer::Timer2, intervalMs, enabled);
}

bool MainForm::mainWindowIsNormal() {
    const WindowGeometry geometry = window_.geometry();
    return !geometry.minimized && !geometry.maximized;
}

}  // namespace snapdesk
