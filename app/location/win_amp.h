#pragma once

// "Storing WinAmp Playlist or Song": the song or playlist the music player is saved with,
// chosen from the Recent folder's shortcuts, browsed for, or typed. The choice goes straight
// into the player's record of the window list.

#include <string>
#include <vector>

#include "platform/file_system.h"
#include "platform/link_path_resolver.h"
#include "platform/shell.h"
#include "platform/ui.h"
#include "tracking/coffee_shop_list.h"

namespace snapdesk {

// One line of the Recent list: what it shows and the full path behind it.
struct RecentSong {
    std::string shown;
    std::string fullPath;
};

// The message for a typed path that names nothing.
std::string winAmpPathMissingMessage(const std::string& path);

class WinAmp {
  public:
    struct Ports {
        Ui& ui;
        Shell& shell;
        FileSystem& files;
        LinkPathResolver& links;
        CoffeeShopList& list;
    };
    WinAmp(Ports ports, std::string winAmpSong, std::string winAmpExe)
        : ports_(ports), winAmpSong_(std::move(winAmpSong)), winAmpExe_(std::move(winAmpExe)) {}

    // Resolves every shortcut of the Recent folder; a songs or playlists target is listed.
    // Throws when the shortcut resolver cannot be reached.
    void loadRecentList(WindowHandle dialog);
    // The Recent list: its heading first, then one line per song or playlist.
    const std::vector<RecentSong>& recentList() const { return recent_; }
    // What the path box shows when the dialog opens.
    const std::string& initialPath() const { return winAmpSong_; }
    // What the path box shows when the line is chosen: nothing for the heading.
    std::string pathOfLine(std::size_t line) const;

    // "Browse...": an existing song or playlist, "" when cancelled.
    std::string browse(WindowHandle dialog) const;
    // OK with the path box's text: true when the player's record took it and the dialog may
    // close; a path that names nothing is refused with a message.
    bool accept(const std::string& pathBox);

  private:
    Ports ports_;
    std::string winAmpSong_;
    std::string winAmpExe_;
    std::vector<RecentSong> recent_;
};

}  // namespace snapdesk
