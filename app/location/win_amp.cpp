#include "location/win_amp.h"

#include "common/app_title.h"
#include "common/text.h"
#include "tracking/recent_folder.h"

namespace snapdesk {
namespace {

constexpr const char* kRecentHeading = "Recent Songs and Playlists";
constexpr const char* kSongsFilter =
    "Songs/Playlists (*.mp3,*.m3u)|*.mp3;*.m3u|All Files (*.*)|*.*";
constexpr const char* kBrowseTitle = "Locate Playlist or Song";
constexpr const char* kLineBreak = "\r\n";
// Shorter targets cannot name a song in a folder.
constexpr std::size_t kShortestSongTarget = 7;

// The folder part of a path, its last "\" included; "" when it has none.
std::string folderOf(const std::string& path) {
    const std::size_t slash = path.rfind('\\');
    return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

std::string nameOf(const std::string& path) {
    const std::size_t slash = path.rfind('\\');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

}  // namespace

std::string winAmpPathMissingMessage(const std::string& path) {
    return "         The path you entered:" + std::string(46, ' ') + kLineBreak +
           std::string(9, ' ') + path + kLineBreak +
           "         does not point to a file or folder." + kLineBreak +
           "         Please check and re-enter the path.";
}

void WinAmp::loadRecentList(WindowHandle dialog) {
    recent_.assign(1, RecentSong{kRecentHeading, ""});
    const std::string& folder = recentFolder();
    if (folder == kRecentFolderUnknown) {
        return;
    }
    for (const FileEntry& link : ports_.files.findFiles(folder + "*.lnk")) {
        const std::string target =
            text::upperCase(text::NulTrim(ports_.links.getLinkPath(dialog, folder + link.name)));
        if ((text::contains(target, ".MP3") || text::contains(target, ".M3U")) &&
            target.size() > kShortestSongTarget) {
            recent_.push_back({nameOf(target), target});
        }
    }
}

std::string WinAmp::pathOfLine(std::size_t line) const {
    if (line == 0 || line >= recent_.size()) {
        return {};
    }
    return text::trim(recent_[line].fullPath);
}

std::string WinAmp::browse(WindowHandle dialog) const {
    FileDialogRequest request;
    request.title = kBrowseTitle;
    request.filter = kSongsFilter;
    if (!winAmpSong_.empty()) {
        request.initialFolder = folderOf(winAmpSong_);
        request.fileName = nameOf(winAmpSong_);
    } else {
        request.initialFolder = folderOf(winAmpExe_);
    }
    return ports_.shell.openFileDialog(dialog, request);
}

bool WinAmp::accept(const std::string& pathBox) {
    const std::string path = text::trim(pathBox);
    if (!path.empty() && !ports_.files.fileAttributes(path)) {
        ports_.ui.messageBox(winAmpPathMissingMessage(path), kAppTitle,
                             MessageBoxStyle::OkCritical);
        return false;
    }
    CoffeeShopList& list = ports_.list;
    for (long i = 1; i <= list.count(); ++i) {
        if (text::contains(text::upperCase(list.EXEPath(i)), "\\WINAMP.EXE")) {
            list.setFilePath(i, path.empty() ? list.EXEPath(i) : path);
            list.setSearchDone(i, true);
            break;
        }
    }
    return true;
}

}  // namespace snapdesk
