// The hot key: its two modifier forms, its stored text, the setting's registration and what
// the key does on a simulated desktop.
#include <gtest/gtest.h>

#include <optional>
#include <set>

#include "mainwindow/hot_key_setting.h"
#include "mainwindow/hot_key_toggle.h"
#include "mainwindow/user_settings.h"
#include "sim_world.h"

namespace snapdesk::testing {
namespace {

TEST(HotKey, TheControlsShiftAndAltAreRegisterHotKeysAltAndShift) {
    // HOTKEYF_CONTROL | HOTKEYF_SHIFT with F12, and HOTKEYF_ALT with K.
    EXPECT_EQ(hotKeyFromControl(0x037B), (HotKey{kHotKeyControl | kHotKeyShift, 0x7B}));
    EXPECT_EQ(hotKeyFromControl(0x044B), (HotKey{kHotKeyAlt, 'K'}));
    EXPECT_EQ(controlValueOf({kHotKeyControl | kHotKeyShift, 0x7B}), 0x037B);
    EXPECT_EQ(controlValueOf({kHotKeyAlt, 'K'}), 0x044B);
    // The navigation keys carry the control's extended flag, which the key itself does not.
    EXPECT_EQ(controlValueOf({kHotKeyControl | kHotKeyAlt, 0x2E}), 0x0E2E);
    EXPECT_EQ(hotKeyFromControl(0x0E2E), (HotKey{kHotKeyControl | kHotKeyAlt, 0x2E}));
    EXPECT_EQ(controlValueOf({}), 0);
}

TEST(HotKey, StoredTextRoundTripsAndBadTextGivesTheDefault) {
    EXPECT_EQ(hotKeyText(kDefaultHotKey), kDefaultHotKeyText);
    for (const HotKey key : {kDefaultHotKey, HotKey{kHotKeyControl | kHotKeyShift, 0x7B},
                             HotKey{kHotKeyAlt | kHotKeyWin, '7'}, HotKey{kHotKeyControl, 0x62},
                             HotKey{kHotKeyControl | kHotKeyAlt, 0xDE}, HotKey{}}) {
        EXPECT_EQ(parseHotKey(hotKeyText(key)), key) << hotKeyText(key);
    }
    EXPECT_EQ(hotKeyText({kHotKeyControl | kHotKeyShift, 0x7B}), "Ctrl+Shift+F12");
    EXPECT_EQ(hotKeyText({kHotKeyControl | kHotKeyAlt, 0xDE}), "Ctrl+Alt+#222");
    EXPECT_EQ(parseHotKey(" control + alt + k "), (HotKey{kHotKeyControl | kHotKeyAlt, 'K'}));
    EXPECT_TRUE(parseHotKey("NONE").off());
    for (const char* bad :
         {"", "Ctrl+Alt+", "Hyper+K", "Ctrl+F25", "Ctrl+#0", "Ctrl+Alt+Spacebar"}) {
        EXPECT_EQ(parseHotKey(bad), kDefaultHotKey) << bad;
    }
}

// Keys another program holds refuse to register; the one registered is remembered.
struct Registrar : HotKeyRegistrar {
    std::set<std::string> held;
    std::optional<HotKey> registered;
    HotKeyUse registerHotKey(const HotKey& key) override {
        EXPECT_FALSE(registered) << "registered twice";
        if (held.contains(hotKeyText(key))) {
            return HotKeyUse::InUse;
        }
        registered = key;
        return HotKeyUse::Active;
    }
    void unregisterHotKey() override { registered.reset(); }
};

TEST(HotKeySetting, AKeyInUseIsToldOnceAndAChoiceThatFailsKeepsTheOldKey) {
    SimWorld world;
    Registrar registrar;
    registrar.held = {"Ctrl+Alt+Space", "Ctrl+Alt+J"};
    auto& messages = world.machine.ui.messages;
    for (int run = 0; run < 2; ++run) {
        HotKeySetting setting(world.machine.registry, world.machine.ui, registrar);
        setting.start("Ctrl+Alt+Space");
        EXPECT_EQ(setting.use(), HotKeyUse::InUse);
        setting.stop();
    }
    ASSERT_EQ(messages.size(), 1u) << "the second start says nothing of the same key";
    EXPECT_NE(messages[0].text.find("Ctrl+Alt+Space: another program is using it"),
              std::string::npos);

    HotKeySetting setting(world.machine.registry, world.machine.ui, registrar);
    setting.start("Ctrl+Alt+Space");
    EXPECT_EQ(setting.choose({kHotKeyControl | kHotKeyAlt, 'K'}), HotKeyUse::Active);
    EXPECT_EQ(readRegSetting(world.machine.registry, kSettingsSection, kHotKeySetting, ""),
              "Ctrl+Alt+K");
    EXPECT_EQ(setting.choose({kHotKeyControl | kHotKeyAlt, 'J'}), HotKeyUse::InUse);
    EXPECT_EQ(setting.key(), (HotKey{kHotKeyControl | kHotKeyAlt, 'K'}));
    EXPECT_EQ(registrar.registered, setting.key()) << "the old key works on";
    EXPECT_EQ(readRegSetting(world.machine.registry, kSettingsSection, kHotKeySetting, ""),
              "Ctrl+Alt+K");
    EXPECT_EQ(setting.choose({}), HotKeyUse::Off);
    EXPECT_FALSE(registrar.registered);
    EXPECT_EQ(readRegSetting(world.machine.registry, kSettingsSection, kHotKeySetting, ""), "none");
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
    const WindowHandle notepad = world.topLevel("report.txt - Notepad", 2);
    const WindowHandle writer = world.topLevel("Report Writer", 3);
    desktop.window(main).minimized = true;
    desktop.setForeground(notepad);
    Host host(desktop, main);
    HotKeyToggle toggle(desktop, host);

    EXPECT_EQ(toggle.pressed(), HotKeyStep::Up);
    EXPECT_FALSE(desktop.isMinimized(main));
    EXPECT_EQ(desktop.foregroundWindow(), main);
    // A window of Snapdesk's own in front counts as Snapdesk in front.
    desktop.setForeground(about);
    EXPECT_EQ(toggle.pressed(), HotKeyStep::Back);
    EXPECT_TRUE(desktop.isMinimized(main));
    EXPECT_EQ(desktop.foregroundWindow(), notepad);

    // Minimised but still the foreground window, as Windows leaves it with nothing else open:
    // the key brings it up.
    desktop.setForeground(main);
    EXPECT_EQ(toggle.pressed(), HotKeyStep::Up);

    // The remembered window closed meanwhile: Windows picks who gets the focus.
    desktop.setForeground(writer);
    desktop.window(main).minimized = true;
    EXPECT_EQ(toggle.pressed(), HotKeyStep::Up);
    desktop.destroyWindow(writer);
    desktop.clearCalls();
    EXPECT_EQ(toggle.pressed(), HotKeyStep::Back);
    EXPECT_TRUE(desktop.isMinimized(main));
    for (const std::string& call : desktop.calls()) {
        EXPECT_EQ(call.find("SetForegroundWindow"), std::string::npos) << call;
    }
}

}  // namespace
}  // namespace snapdesk::testing
