#pragma once

// The hot key of the running program: registered on the main window at start-up and again
// when the user picks another, stored with the other settings, a conflict told once.

#include <string>

#include "mainwindow/hot_key.h"
#include "platform/registry.h"
#include "platform/ui.h"

namespace snapdesk {

// Whether the hot key works now.
enum class HotKeyUse { Active, Off, InUse, Refused };

// Registering the one hot key of the main window; a key registered replaces none.
class HotKeyRegistrar {
  public:
    virtual ~HotKeyRegistrar() = default;
    // Active, InUse (another program holds it) or Refused (the system takes no such key).
    virtual HotKeyUse registerHotKey(const HotKey& key) = 0;
    virtual void unregisterHotKey() = 0;
};

inline constexpr const char* kHotKeySetting = "HotKey";
// The key whose conflict the user was told about; the message is not shown again for it.
inline constexpr const char* kHotKeyToldSetting = "HotKeyInUseTold";

class HotKeySetting {
  public:
    HotKeySetting(Registry& registry, Ui& ui, HotKeyRegistrar& registrar)
        : registry_(registry), ui_(ui), registrar_(registrar) {}

    // The stored key registered; a key another program holds is told once, not at every start.
    void start(const std::string& storedText);
    // The user's choice: registered at once in place of the current one and stored when it
    // works. A key that does not work leaves the current one as it was. The new key's use.
    HotKeyUse choose(const HotKey& key);
    // Closing: the key let go.
    void stop();

    const HotKey& key() const { return key_; }
    HotKeyUse use() const { return use_; }

  private:
    HotKeyUse registerKey(const HotKey& key);

    Registry& registry_;
    Ui& ui_;
    HotKeyRegistrar& registrar_;
    HotKey key_;
    HotKeyUse use_ = HotKeyUse::Off;
};

// The status line of the Hot Key dialog.
std::string hotKeyStatus(HotKeyUse use);
// What the user is told when another program holds the key.
std::string hotKeyInUseMessage(const HotKey& key);

}  // namespace snapdesk
