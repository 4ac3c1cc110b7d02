#include "location/dir_tree.h"

#include <algorithm>
#include <cmath>

#include "common/app_title.h"
#include "common/runtime_error.h"
#include "common/text.h"
#include "location/dir_tree_file.h"
#include "projects/cinifile.h"

namespace snapdesk {

namespace {

constexpr std::uint32_t kHidden = 0x2;
constexpr std::uint32_t kSystem = 0x4;
constexpr std::uint32_t kDirectory = 0x10;
constexpr int kDesktopFolder = 0;
constexpr const char* kWarning = "Automatically generated file.  Do Not Delete or Edit.";

std::string readSetting(CInifile& ini, const std::string& section, const std::string& key,
                        const std::string& fallback) {
    ini.setSection(section);
    ini.setKey(key);
    ini.setDefault(fallback);
    return ini.Value();
}

void writeSetting(CInifile& ini, const std::string& section, const std::string& key,
                  std::string value) {
    ini.setSection(section);
    ini.setKey(key);
    ini.setValue(value);
}

// A setting that holds a whole number, blanks around it allowed; nothing otherwise.
std::optional<long long> wholeNumber(const std::string& value) {
    const std::string t = text::trim(value);
    if (!t.empty() && t[0] == '-') {
        const auto magnitude = dirtree::plainDecimal(std::string_view(t).substr(1));
        return magnitude ? std::optional<long long>(-*magnitude) : std::nullopt;
    }
    return dirtree::plainDecimal(t);
}

// Folder and name with one backslash between them (the desktop folder ends in one).
std::string joined(const std::string& folder, const std::string& name) {
    return text::endsWith(folder, "\\") ? folder + name : folder + "\\" + name;
}

bool sameUpperCase(const std::string& path, const std::string& upper) {
    return path.size() == upper.size() && text::upperCase(path) == upper;
}

}  // namespace

DirectoryTree::DirectoryTree(FileSystem& files, Shell& shell, Ui& ui, std::string dataFolder,
                             std::string version)
    : files_(files),
      shell_(shell),
      ui_(ui),
      dataFolder_(std::move(dataFolder)),
      version_(std::move(version)) {
    if (!text::endsWith(dataFolder_, "\\")) {
        dataFolder_ += "\\";
    }
    root_ = dirtree::driveRootOf(dataFolder_);
    reset();
}

std::string DirectoryTree::levelPath(int level) const {
    return dataFolder_ + "dirTree" + std::to_string(level) + ".txt";
}

void DirectoryTree::report(const std::string& procedure, const std::string& detail) {
    ui_.messageBox("Error has occured in '" + procedure + "'\n" + detail, kAppTitle,
                   MessageBoxStyle::Ok);
}

void DirectoryTree::reset() {
    dirList_.assign(2, std::string());
    dirList_[1] = root_;
    ++generation_;
}

void DirectoryTree::buildDirTree(DirTreeSplashHost& splash) {
    try {
        reset();
        treeReady_ = false;
        checkedStored_.reset();
        CInifile ini(files_);
        ini.setPath(levelPath(0));
        buildMode_ = kStoredBuild;
        const std::string built = readSetting(ini, "general", "treeBuilt", "notBuilt");
        if (text::left(built, 8) == "notBuilt") {
            buildMode_ = kFullBuild;
        } else {
            const auto depth = wholeNumber(readSetting(ini, "general", "maxDepth", "-1"));
            if (!depth || *depth < 0 || *depth > dirtree::kMaxLevels) {
                buildMode_ = kFullBuild;
            }
            for (long long i = 0; buildMode_ == kStoredBuild && i <= *depth; ++i) {
                if (!files_.fileAttributes(levelPath(static_cast<int>(i)))) {
                    buildMode_ = kFullBuild;
                }
            }
            // A damaged tree would give wrong folders: it counts as missing.
            if (buildMode_ == kStoredBuild) {
                checkedStored_ = loadStoredFolders();
                if (!checkedStored_) {
                    buildMode_ = kFullBuild;
                }
            }
        }
        splash.showSplash(*this);
        checkedStored_.reset();
        treeReady_ = true;
        buildMode_ = kStoredBuild;
    } catch (const RuntimeError& e) {
        checkedStored_.reset();
        report("buildDirTree", e.description + " " + e.source);
    }
}

void DirectoryTree::buildDirTreeFromScratch() {
    try {
        if (walkDrive()) {
            treeReady_ = true;
        }
    } catch (const RuntimeError& e) {
        report("buildDirTreeFromScratch", e.description + " " + e.source);
    }
    appendExtraFolders();
}

bool DirectoryTree::walkDrive() {
    CInifile ini(files_);
    ini.setPath(levelPath(0));
    {
        IniBatch batch(ini);
        ini.setSection("0");
        ini.DeleteSection();
        ini.setSection("general");
        ini.DeleteSection();
        writeSetting(ini, "Snapdesk!", "Warning", kWarning);
        writeSetting(ini, "0", "1", dirList_.at(1));
    }
    const std::string windows = text::upperCase(files_.windowsFolder());
    std::size_t previousFirst = 1;
    std::size_t previousLast = 1;
    for (int level = 1; level <= dirtree::kMaxLevels; ++level) {
        std::string content = dirtree::levelFileStart(level, version_);
        for (std::size_t parent = previousFirst; parent <= previousLast; ++parent) {
            const bool inWindows = sameUpperCase(dirList_[parent], windows);
            // Copied: the list may move its strings while it grows.
            const std::string folder = dirList_[parent];
            for (const FileEntry& entry : files_.listFolders(folder)) {
                if ((entry.attributes & kDirectory) == 0 ||
                    (entry.attributes & (kHidden | kSystem)) != 0 || entry.name.empty() ||
                    entry.name == "." || entry.name == "..") {
                    continue;
                }
                if (inWindows) {
                    const std::string upper = text::upperCase(entry.name);
                    if (upper == "SYSTEM" || upper == "SYSTEM32") {
                        continue;
                    }
                }
                dirList_.push_back(folder + "\\" + entry.name);
                content += dirtree::entryLine(static_cast<std::int64_t>(dirList_.size() - 1),
                                              static_cast<std::int64_t>(parent), entry.name);
                content += "\r\n";
            }
            if (buildMode_ == kFullBuild && onFolderWalked) {
                onFolderWalked();
            }
        }
        if (!files_.replaceFile(levelPath(level), content)) {
            throw RuntimeError(75, "Path/File access error", "DirectoryTree");
        }
        if (dirList_.size() - 1 == previousLast) {
            IniBatch batch(ini);
            writeSetting(ini, "general", "maxDepth", std::to_string(level - 1));
            writeSetting(ini, "general", "totalDirs", std::to_string(dirList_.size() - 1));
            writeSetting(ini, "general", "treeBuilt", "YES");
            writeSetting(ini, "general", "version", version_);
            return true;
        }
        previousFirst = previousLast + 1;
        previousLast = dirList_.size() - 1;
    }
    // Deeper than the walk goes: used as built, and walked again at the next start-up.
    return false;
}

std::optional<std::vector<std::string>> DirectoryTree::loadStoredFolders() {
    CInifile ini(files_);
    ini.setPath(levelPath(0));
    const auto depth = wholeNumber(readSetting(ini, "general", "maxDepth", "0"));
    const auto total = wholeNumber(readSetting(ini, "general", "totalDirs", "0"));
    if (!depth || !total || *depth < 0 || *depth > dirtree::kMaxLevels) {
        return std::nullopt;
    }
    dirtree::StoredTree tree(root_);
    for (int level = 1; level <= *depth; ++level) {
        const auto content = files_.readFile(levelPath(level));
        if (!content) {
            return std::nullopt;
        }
        const auto entries = dirtree::parseLevelFile(*content);
        if (!entries || !tree.addLevel(*entries)) {
            return std::nullopt;
        }
    }
    // Lines lost from the end of a file leave fewer folders than the walk found.
    if (static_cast<long long>(tree.count()) != *total) {
        return std::nullopt;
    }
    return tree.release();
}

void DirectoryTree::buildDirTreeFromStored() {
    try {
        auto folders = checkedStored_ ? std::move(checkedStored_) : loadStoredFolders();
        checkedStored_.reset();
        if (!folders) {
            // The files changed or were damaged since they were checked: walk the drive.
            reset();
            buildDirTreeFromScratch();
            return;
        }
        dirList_ = std::move(*folders);
        ++generation_;
    } catch (const RuntimeError& e) {
        report("buildDirTreeFromStored", e.description + " " + e.source);
    }
    appendExtraFolders();
}

void DirectoryTree::appendExtraFolders() {
    for (const auto& folder : projectFolders_) {
        if (!folder.empty()) {
            dirList_.push_back(folder);
        }
    }
    try {
        if (const auto desktop = shell_.specialFolderPath(kDesktopFolder, 0)) {
            if (!desktop->empty()) {
                dirList_.push_back(text::endsWith(*desktop, "\\") ? *desktop : *desktop + "\\");
            }
        }
    } catch (const RuntimeError&) {
        // No desktop folder: the list goes without it.
    }
    dirList_.shrink_to_fit();  // the list stays as it is for the run
    // At least one folder per step, so that a search always comes to its end.
    searchChunk_ =
        std::max<std::int32_t>(1, static_cast<std::int32_t>(std::lround(dirCount() / 8.0 + 0.9)));
}

void DirectoryTree::rebuildDirTree(const std::function<void(bool)>& setRefreshTimer) {
    if (setRefreshTimer) {
        setRefreshTimer(false);
    }
    treeReady_ = false;
    reset();
    buildDirTreeFromScratch();
    treeReady_ = true;
    if (setRefreshTimer) {
        setRefreshTimer(true);
    }
}

std::string DirectoryTree::findPath(std::string& name, std::int32_t& start, std::uint32_t& bestHigh,
                                    std::uint32_t& bestLow, bool& done, bool complete) {
    name = text::trim(name);
    if (!treeReady_ || name.empty()) {
        return kNotFound;
    }
    const std::size_t dot = name.rfind('.');
    const bool exact = dot != std::string::npos && name.size() - dot - 1 == 3;
    const std::string pattern = "\\" + name + (exact ? "" : "*");
    const std::string upperName = text::upperCase(name);

    // A start beyond the end is left from a longer list (the drive was walked again).
    std::int32_t from = (start == 0 || start > dirCount()) ? dirCount() : start;
    std::int32_t next = from - searchChunk_;
    std::int32_t last = next + 1;
    bool finished = false;
    if (complete || next <= 1) {
        finished = true;
        last = 1;
        next = 1;
    }
    // No file is called with "*" or "?": such a name would only match other files.
    const bool listable = name.find_first_of("*?") == std::string::npos;
    const std::uint64_t generation = generation_;
    std::optional<std::string> taken;
    std::uint64_t takenTime = 0;
    std::string listing;
    try {
        for (std::int32_t i = from; i >= last; --i) {
            const std::string folder = dirList_[static_cast<std::size_t>(i)];
            listing = text::endsWith(folder, "\\") ? folder + pattern.substr(1) : folder + pattern;
            const auto entries = listable ? files_.findFiles(listing) : std::vector<FileEntry>();
            for (const FileEntry& entry : entries) {
                if ((entry.attributes & kDirectory) != 0) {
                    continue;
                }
                std::string candidate;
                if (exact) {
                    candidate = joined(folder, name);
                } else {
                    const std::string upper = text::upperCase(entry.name);
                    const std::size_t n = upperName.size();
                    const bool accepted =
                        text::beginsWith(upper, upperName) &&
                        (upper.size() == n || (upper.size() == n + 4 && upper[n] == '.') ||
                         (upper.size() == n + 5 && upper.compare(n, 2, " .") == 0));
                    if (!accepted) {
                        continue;
                    }
                    candidate = joined(folder, entry.name);
                }
                if (!taken || entry.lastAccessTime > takenTime) {
                    taken = std::move(candidate);
                    takenTime = entry.lastAccessTime;
                }
                if (exact) {
                    break;
                }
            }
            if (!complete && i > last) {
                ui_.doEvents();
                if (generation != generation_) {
                    // The list was replaced meanwhile: its positions mean other folders now.
                    next = 0;
                    finished = false;
                    break;
                }
            }
        }
    } catch (const RuntimeError& e) {
        report("findPath", "FileName: " + listing + " _ " + e.description + " " + e.source);
        return std::string();
    }
    start = next;
    if (finished) {
        done = true;
    }
    if (!taken) {
        return kNotFound;
    }
    bestHigh = static_cast<std::uint32_t>(takenTime >> 32);
    bestLow = static_cast<std::uint32_t>(takenTime & 0xFFFFFFFFu);
    return *taken;
}

std::string DirectoryTree::findFolder(const std::string& folderName) const {
    const std::string needle = "\\" + folderName.substr(0, folderName.find('\0'));
    for (std::size_t i = dirList_.size() - 1; i >= 1; --i) {
        if (text::endsWith(dirList_[i], needle)) {
            return dirList_[i];
        }
    }
    return kNotFound;
}

}  // namespace snapdesk
