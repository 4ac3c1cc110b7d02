// The hot key's two modifier forms and its stored text, and what the key does on a simulated
// desktop.
#include <gtest/gtest.h>

#include "mainwindow/hot_key.h"
#include "mainwindow/hot_key_toggle.h"
#include "sim_world.h"

namespace snapdesk::testing {
namespace {

TEST(HotKey, TheControlsBitsSwapShiftAndAltAndTheTextRoundTrips) {
    const HotKey f12{kHotKeyControl | kHotKeyShift, 0x7B};
    const HotKey del{kHotKeyAlt, 0x2E};
    EXPECT_EQ(hotKeyFromControl(0x037B), f12);  // HOTKEYF_CONTROL | HOTKEYF_SHIFT
    EXPECT_EQ(controlValueOf(f12), 0x037B);
    EXPECT_EQ(controlValueOf(del), 0x0C2E);  // HOTKEYF_ALT, and the extended flag of Delete
    EXPECT_EQ(hotKeyFromControl(0x0C2E), del);
    EXPECT_EQ(hotKeyText(f12), "Ctrl+Shift+F12");
    for (const HotKey key : {kDefaultHotKey, f12, del, HotKey{kHotKeyWin, 0xDE}, HotKey{}}) {
        EXPECT_EQ(parseHotKey(hotKeyText(key)), key) << hotKeyText(key);
    }
    EXPECT_EQ(parseHotKey(" control + alt + k "), (HotKey{kHotKeyControl | kHotKeyAlt, 'K'}));
    for (const char* bad : {"", "Ctrl+Alt+", "Hyper+K", "Ctrl+F25"}) {
        EXPECT_EQ(parseHotKey(bad), kDefaultHotKey) << bad;
    }
}

// The main window moved as the main form moves it.
struct Host : HotKeyHost {
    sim::SimDesktop& desktop;
    WindowHandle main;
    Host(sim::SimDesktop& d, WindowHandle m) : desktop(d), main(m) {}
    WindowHandle mainWindowHandle() override { return main; }
    void bringToFront() override {
        desktop.showWindow(main, ShowCommand::Restore);
        desktop.setForegroundWindow(main);
    }
    void minimizeMainWindow() override { desktop.showWindow(main, ShowCommand::Minimize); }
};

TEST(HotKeyToggle, UpFromBehindAndBackWithTheFocusReturned) {
    SimWorld world;
    auto& desktop = world.desktop;
    const WindowHandle main = world.topLevel("Snapdesk!", 99);
    const WindowHandle about = world.topLevel("About", 99);
    const WindowHandle notepad = world.topLevel("notes.txt - Notepad", 2);
    desktop.window(main).minimized = true;
    desktop.setForeground(notepad);
    Host host(desktop, main);
    HotKeyToggle toggle(desktop, host);

    EXPECT_EQ(toggle.pressed(), HotKeyStep::Up);
    desktop.setForeground(about);  // a window of Snapdesk's own counts as Snapdesk in front
    EXPECT_EQ(toggle.pressed(), HotKeyStep::Back);
    EXPECT_TRUE(desktop.isMinimized(main));
    EXPECT_EQ(desktop.foregroundWindow(), notepad);

    // Minimised, yet the foreground window as Windows leaves it when nothing else is open.
    desktop.setForeground(main);
    EXPECT_EQ(toggle.pressed(), HotKeyStep::Up);
    // The remembered window gone: Windows picks who gets the focus.
    desktop.window(main).minimized = true;
    desktop.setForeground(notepad);
    toggle.pressed();
    desktop.destroyWindow(notepad);
    desktop.clearCalls();
    EXPECT_EQ(toggle.pressed(), HotKeyStep::Back);
    EXPECT_TRUE(desktop.isMinimized(main));
    EXPECT_EQ(desktop.calls(),
              (std::vector<std::string>{"ShowWindow(" + sim::handleText(main) + ",6)"}));
}

}  // namespace
}  // namespace snapdesk::testing
