#include "tracking/process_table.h"

#include <unordered_map>

#include "common/text.h"
#include "tracking/long_file_name.h"

namespace snapdesk {

namespace {

std::string storedForm(Platform& platform, const std::string& raw) {
    return text::upperCase(LongFileName(platform.files, platform.ui, text::NulTrim(raw)));
}

}  // namespace

void ProcessTable::build(const std::vector<TrackedWindow>& records, long count,
                         Platform& platform) {
    entries_.clear();
    for (long i = 0; i < count; ++i) {
        const auto process = platform.windows.processOf(records[i].hTopWnd);
        if (process != 0) {
            entries_.push_back({records[i].hTopWnd, process});
        }
    }
    // Many frames share a process: each process is read once.
    std::unordered_map<std::uint32_t, std::optional<std::string>> paths;
    if (platform.processes.isWindowsNT()) {
        for (const auto& entry : entries_) {
            if (!paths.contains(entry.processId)) {
                const auto raw = platform.processes.moduleFileName(entry.processId);
                paths[entry.processId] =
                    raw ? std::optional(storedForm(platform, *raw)) : std::nullopt;
            }
        }
    } else {
        std::unordered_map<std::uint32_t, bool> wanted;
        for (const auto& entry : entries_) {
            wanted[entry.processId] = true;
        }
        for (const auto& process : platform.processes.processSnapshot()) {
            if (wanted.contains(process.processId)) {
                paths[process.processId] = storedForm(platform, process.exeFile);
            }
        }
    }
    // A process that could not be read leaves its entries empty: they match no record.
    exePaths_.clear();
    for (const auto& entry : entries_) {
        if (const auto found = paths.find(entry.processId); found != paths.end() && found->second) {
            exePaths_[entry.window] = *found->second;
        }
    }
}

std::optional<std::string> ProcessTable::exePathOf(WindowHandle topWindow) const {
    if (const auto found = exePaths_.find(topWindow); found != exePaths_.end()) {
        return found->second;
    }
    return std::nullopt;
}

}  // namespace snapdesk
