#pragma once

// Which profile of today's browsers a window shows and where each profile lies, from the
// browsers' own files: Chromium's "Local State" and Firefox's "profiles.ini" and
// "installs.ini". These are outside data: a file that cannot be read gives no profiles.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace snapdesk {

struct ChromiumProfile {
    std::string folder;  // "Default", "Profile 1", ...
    std::string name;    // as the browser shows it, e.g. in Edge's captions
};

// "Local State": profile.info_cache (folder -> {"name": ...}) and profile.last_used.
struct LocalState {
    std::vector<ChromiumProfile> profiles;  // in file order
    std::string lastUsed;
};
LocalState readLocalState(std::string_view text);

// The folder of the profile named `profileName`; else the last used; else "Default" when that
// folder exists; else "".
std::string chooseChromiumProfile(const LocalState& state, const std::string& profileName,
                                  bool defaultFolderExists);

// Firefox's profiles as full folder paths.
struct FirefoxProfiles {
    std::string defaultFolder;         // "" when there is none
    std::vector<std::string> folders;  // every [Profile...], in file order
};
// The default is the first [Install...] section's Default=, then installs.ini's, then the
// profile with Default=1, then the first profile. Relative paths ("IsRelative=1", "/" as
// separators) are taken from `firefoxFolder`.
FirefoxProfiles readFirefoxProfiles(std::string_view profilesIni,
                                    std::optional<std::string_view> installsIni,
                                    const std::string& firefoxFolder);

}  // namespace snapdesk
