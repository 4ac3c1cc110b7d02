#include "platform/sim/sim_file_system.h"

#include <algorithm>

#include "common/runtime_error.h"
#include "common/text.h"

namespace snapdesk::sim {

namespace {

constexpr std::uint32_t kDirectory = 0x10;

std::string parentOf(const std::string& path) {
    const auto slash = path.rfind('\\');
    return slash == std::string::npos ? std::string() : path.substr(0, slash);
}

std::string nameOf(const std::string& path) {
    const auto slash = path.rfind('\\');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

bool samePath(const std::string& a, const std::string& b) {
    return text::upperCase(a) == text::upperCase(b);
}

bool matchFrom(const std::string& name, std::size_t n, const std::string& pattern, std::size_t p) {
    while (p < pattern.size()) {
        if (pattern[p] == '*') {
            for (std::size_t k = n; k <= name.size(); ++k) {
                if (matchFrom(name, k, pattern, p + 1)) {
                    return true;
                }
            }
            return false;
        }
        if (n >= name.size() || (pattern[p] != '?' && pattern[p] != name[n])) {
            return false;
        }
        ++n;
        ++p;
    }
    return n == name.size();
}

}  // namespace

bool matchesPattern(const std::string& name, const std::string& pattern) {
    return matchFrom(text::upperCase(name), 0, text::upperCase(pattern), 0);
}

void SimFileSystem::add(const std::string& path, std::uint32_t attributes,
                        std::uint64_t lastAccessTime) {
    const std::string parent = parentOf(path);
    // A drive ("C:") is not an entry of its own.
    if (parent.size() > 2) {
        addFolder(parent);
    }
    if (findEntry(path) == nullptr) {
        entries_.push_back({path, {nameOf(path), attributes, lastAccessTime, 0, 0}, {}, {}});
    }
}

SimFileSystem::Entry* SimFileSystem::findEntry(const std::string& path) {
    const auto it = std::find_if(entries_.begin(), entries_.end(),
                                 [&](const Entry& e) { return samePath(e.path, path); });
    return it == entries_.end() ? nullptr : &*it;
}

void SimFileSystem::addShortName(const std::string& path, const std::string& shortName) {
    if (auto* entry = findEntry(path)) {
        entry->shortName = shortName;
    }
}

std::optional<std::string> SimFileSystem::resolveFolder(const std::string& folder) {
    if (folder.size() <= 2) {
        return folder;  // a drive, or relative to nothing
    }
    const auto parent = resolveFolder(parentOf(folder));
    if (!parent) {
        return std::nullopt;
    }
    const std::string name = nameOf(folder);
    for (const auto& entry : entries_) {
        if (samePath(parentOf(entry.path), *parent) &&
            (samePath(entry.info.name, name) || samePath(entry.shortName, name))) {
            return entry.path;
        }
    }
    return std::nullopt;
}

void SimFileSystem::addFile(const std::string& path, std::uint32_t attributes,
                            std::uint64_t lastAccessTime) {
    add(path, attributes, lastAccessTime);
}

void SimFileSystem::setLastWriteTime(const std::string& path, std::uint64_t time) {
    if (auto* entry = findEntry(path)) {
        entry->info.lastWriteTime = time;
    }
}

void SimFileSystem::addFolder(const std::string& path) {
    add(path, kDirectory, 0);
}

void SimFileSystem::remove(const std::string& path) {
    std::erase_if(entries_, [&](const Entry& e) {
        return samePath(e.path, path) ||
               text::beginsWith(text::upperCase(e.path), text::upperCase(path) + "\\");
    });
}

std::optional<FileEntry> SimFileSystem::findFirstFile(const std::string& pattern) {
    ++searches_;
    if (failSearches) {
        throw RuntimeError(52, "Bad file name or number", "SimFileSystem");
    }
    const auto folder = resolveFolder(parentOf(pattern));
    if (!folder) {
        return std::nullopt;
    }
    const std::string namePattern = nameOf(pattern);
    for (const auto& entry : entries_) {
        if (samePath(parentOf(entry.path), *folder) &&
            (matchesPattern(entry.info.name, namePattern) ||
             (!entry.shortName.empty() && matchesPattern(entry.shortName, namePattern)))) {
            return entry.info;
        }
    }
    return std::nullopt;
}

std::optional<std::string> SimFileSystem::readFile(const std::string& path) {
    const Entry* entry = findEntry(path);
    if (entry == nullptr || (entry->info.attributes & kDirectory) != 0) {
        return std::nullopt;
    }
    if (failReads) {
        throw RuntimeError(75, "Path/File access error", "SimFileSystem");
    }
    return entry->content;
}

bool SimFileSystem::replaceFile(const std::string& path, const std::string& content) {
    const auto folder = resolveFolder(parentOf(path));
    if (!folder || replacesLeft == 0) {
        return false;
    }
    Entry* entry = findEntry(path);
    if (entry != nullptr && (entry->info.attributes & kDirectory) != 0) {
        return false;
    }
    if (replacesLeft > 0) {
        --replacesLeft;
    }
    ++replaces_;
    if (entry == nullptr) {
        entries_.push_back({path, {nameOf(path), 0x20, 0, 0}, {}, {}});
        entry = &entries_.back();
    }
    entry->content = content;
    entry->info.size = content.size();
    return true;
}

void SimFileSystem::writeFile(const std::string& path, const std::string& content) {
    add(path, 0x20, 0);
    Entry* entry = findEntry(path);
    entry->content = content;
    entry->info.size = content.size();
}

bool SimFileSystem::deleteFile(const std::string& path) {
    const Entry* entry = findEntry(path);
    if (entry == nullptr || (entry->info.attributes & kDirectory) != 0) {
        return false;
    }
    std::erase_if(entries_, [&](const Entry& e) { return samePath(e.path, path); });
    return true;
}

bool SimFileSystem::moveFile(const std::string& from, const std::string& to) {
    Entry* entry = findEntry(from);
    if (entry == nullptr || (entry->info.attributes & kDirectory) != 0 ||
        findEntry(to) != nullptr || !samePath(parentOf(from), parentOf(to))) {
        return false;
    }
    entry->path = to;
    entry->info.name = nameOf(to);
    return true;
}

bool SimFileSystem::createFolder(const std::string& path) {
    const std::string parent = parentOf(path);
    if (findEntry(path) != nullptr || (parent.size() > 2 && !resolveFolder(parent))) {
        return false;
    }
    addFolder(path);
    return true;
}

std::optional<std::uint32_t> SimFileSystem::fileAttributes(const std::string& path) {
    if (const Entry* entry = findEntry(path)) {
        return entry->info.attributes;
    }
    return std::nullopt;
}

std::vector<FileEntry> SimFileSystem::findFiles(const std::string& pattern) {
    ++searches_;
    if (failSearches) {
        throw RuntimeError(52, "Bad file name or number", "SimFileSystem");
    }
    std::vector<FileEntry> found;
    const auto folder = resolveFolder(parentOf(pattern));
    if (!folder) {
        return found;
    }
    const std::string namePattern = nameOf(pattern);
    for (const auto& entry : entries_) {
        if (samePath(parentOf(entry.path), *folder) &&
            (matchesPattern(entry.info.name, namePattern) ||
             (!entry.shortName.empty() && matchesPattern(entry.shortName, namePattern)))) {
            found.push_back(entry.info);
        }
    }
    return found;
}

std::vector<FileEntry> SimFileSystem::listFolders(const std::string& folder) {
    ++folderListings_;
    std::vector<FileEntry> found;
    const auto resolved = resolveFolder(folder);
    if (!resolved) {
        return found;
    }
    for (const auto& entry : entries_) {
        if ((entry.info.attributes & kDirectory) != 0 &&
            samePath(parentOf(entry.path), *resolved)) {
            found.push_back(entry.info);
        }
    }
    return found;
}

}  // namespace snapdesk::sim
