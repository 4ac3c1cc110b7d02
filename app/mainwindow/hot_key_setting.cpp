#include "mainwindow/hot_key_setting.h"

#include "common/app_title.h"
#include "mainwindow/user_settings.h"

namespace snapdesk {

std::string hotKeyStatus(HotKeyUse use) {
    switch (use) {
        case HotKeyUse::Active:
            return "Active";
        case HotKeyUse::Off:
            return "Off: no hot key";
        case HotKeyUse::InUse:
            return "Not active: another program is using this key";
        case HotKeyUse::Refused:
            return "Not active: Windows does not accept this key";
    }
    return {};
}

std::string hotKeyInUseMessage(const HotKey& key) {
    return "Snapdesk could not use the hot key " + hotKeyText(key) +
           ": another program is using it.\n\nYou can choose another key in Settings, Hot Key...";
}

HotKeyUse HotKeySetting::registerKey(const HotKey& key) {
    return key.off() ? HotKeyUse::Off : registrar_.registerHotKey(key);
}

void HotKeySetting::start(const std::string& storedText) {
    key_ = parseHotKey(storedText);
    use_ = registerKey(key_);
    const std::string told = readRegSetting(registry_, kSettingsSection, kHotKeyToldSetting, "");
    const std::string text = hotKeyText(key_);
    if (use_ == HotKeyUse::InUse && told != text) {
        writeRegSetting(registry_, kSettingsSection, kHotKeyToldSetting, text);
        ui_.messageBox(hotKeyInUseMessage(key_), kAppTitle, MessageBoxStyle::OkExclamation);
    } else if (use_ == HotKeyUse::Active && !told.empty()) {
        // Working again: a later conflict is worth telling.
        writeRegSetting(registry_, kSettingsSection, kHotKeyToldSetting, "");
    }
}

HotKeyUse HotKeySetting::choose(const HotKey& key) {
    if (key == key_ && use_ == HotKeyUse::Active) {
        return use_;
    }
    if (use_ == HotKeyUse::Active) {
        registrar_.unregisterHotKey();
    }
    const HotKeyUse result = registerKey(key);
    if (result == HotKeyUse::Active || result == HotKeyUse::Off) {
        key_ = key;
        use_ = result;
        writeRegSetting(registry_, kSettingsSection, kHotKeySetting, hotKeyText(key_));
        writeRegSetting(registry_, kSettingsSection, kHotKeyToldSetting, "");
    } else if (use_ == HotKeyUse::Active && registerKey(key_) != HotKeyUse::Active) {
        // Taken meanwhile by another program.
        use_ = HotKeyUse::InUse;
    }
    return result;
}

void HotKeySetting::stop() {
    if (use_ == HotKeyUse::Active) {
        registrar_.unregisterHotKey();
        use_ = HotKeyUse::Off;
    }
}

}  // namespace snapdesk
