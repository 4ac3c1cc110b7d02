#include "location/browser_profiles.h"

#include <algorithm>

#include "common/text.h"
#include "location/json_value.h"
#include "projects/ini_document.h"

namespace snapdesk {

namespace {

// Paths in profiles.ini use "/"; one spelling for comparing and joining.
std::string backslashed(std::string path) {
    std::replace(path.begin(), path.end(), '/', '\\');
    while (!path.empty() && path.back() == '\\') {
        path.pop_back();
    }
    return path;
}

bool looksAbsolute(const std::string& path) {
    return (path.size() >= 2 && path[1] == ':') || text::beginsWith(path, "\\\\");
}

struct IniProfile {
    std::string path;  // backslashed, as written
    bool relative = true;
    bool isDefault = false;
};

std::string fullFolder(const std::string& path, bool relative, const std::string& firefoxFolder) {
    return relative ? firefoxFolder + "\\" + path : path;
}

// The Default= of the first section that has one among `sections`.
std::string firstDefault(const IniDocument& ini, const std::vector<std::string>& sections) {
    for (const std::string& section : sections) {
        std::string value = backslashed(ini.value(section, "Default", ""));
        if (!value.empty()) {
            return value;
        }
    }
    return {};
}

}  // namespace

LocalState readLocalState(std::string_view text) {
    LocalState state;
    const std::optional<JsonValue> root = parseJson(text);
    if (!root) {
        return state;
    }
    if (const JsonValue* cache = root->at({"profile", "info_cache"});
        cache != nullptr && cache->kind == JsonValue::Kind::Object) {
        for (const JsonValue& entry : cache->items) {
            const JsonValue* name = entry.member("name");
            if (!entry.name.empty()) {
                state.profiles.push_back(
                    {entry.name, name != nullptr && name->kind == JsonValue::Kind::String
                                     ? name->text
                                     : std::string()});
            }
        }
    }
    if (const JsonValue* last = root->at({"profile", "last_used"});
        last != nullptr && last->kind == JsonValue::Kind::String) {
        state.lastUsed = last->text;
    }
    return state;
}

std::string chooseChromiumProfile(const LocalState& state, const std::string& profileName,
                                  bool defaultFolderExists) {
    if (!profileName.empty()) {
        for (const ChromiumProfile& profile : state.profiles) {
            if (profile.name == profileName) {
                return profile.folder;
            }
        }
    }
    if (!state.lastUsed.empty()) {
        return state.lastUsed;
    }
    return defaultFolderExists ? "Default" : "";
}

FirefoxProfiles readFirefoxProfiles(std::string_view profilesIni,
                                    std::optional<std::string_view> installsIni,
                                    const std::string& firefoxFolder) {
    const IniDocument ini = IniDocument::parse(profilesIni);
    std::vector<IniProfile> profiles;
    std::vector<std::string> installSections;
    for (const std::string& section : ini.sectionNames()) {
        const std::string upper = text::upperCase(ini::trimBlanks(section));
        if (text::beginsWith(upper, "INSTALL")) {
            installSections.push_back(section);
        } else if (text::beginsWith(upper, "PROFILE")) {
            IniProfile profile;
            profile.path = backslashed(ini.value(section, "Path", ""));
            profile.relative = ini.value(section, "IsRelative", "1") != "0";
            profile.isDefault = ini.value(section, "Default", "0") == "1";
            if (!profile.path.empty()) {
                profiles.push_back(profile);
            }
        }
    }

    FirefoxProfiles result;
    for (const IniProfile& profile : profiles) {
        result.folders.push_back(fullFolder(profile.path, profile.relative, firefoxFolder));
    }
    std::string chosen = firstDefault(ini, installSections);
    if (chosen.empty() && installsIni) {
        const IniDocument installs = IniDocument::parse(*installsIni);
        chosen = firstDefault(installs, installs.sectionNames());
    }
    if (!chosen.empty()) {
        // An install's default names a profile by its path; that profile says how to read it.
        const auto same = std::find_if(profiles.begin(), profiles.end(), [&](const IniProfile& p) {
            return text::upperCase(p.path) == text::upperCase(chosen);
        });
        const bool relative = same != profiles.end() ? same->relative : !looksAbsolute(chosen);
        result.defaultFolder = fullFolder(chosen, relative, firefoxFolder);
        return result;
    }
    const auto marked = std::find_if(profiles.begin(), profiles.end(),
                                     [](const IniProfile& p) { return p.isDefault; });
    if (marked != profiles.end()) {
        result.defaultFolder = result.folders[static_cast<std::size_t>(marked - profiles.begin())];
    } else if (!result.folders.empty()) {
        result.defaultFolder = result.folders.front();
    }
    return result;
}

}  // namespace snapdesk
