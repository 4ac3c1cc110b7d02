#include "tracking/process_table.h"

#include <unordered_map>

#include "common/text.h"
#include "tracking/long_file_name.h"

namespace snapdesk {

namespace {

// The process that draws the windows of packaged programs in their frames, and the class of
// the program's own window inside such a frame.
constexpr const char* kFrameHost = "\\APPLICATIONFRAMEHOST.EXE";
constexpr const char* kHostedWindowClass = "Windows.UI.Core.CoreWindow";
constexpr int kClassNameBuffer = 64;

std::string storedForm(Platform& platform, const std::string& raw) {
    return text::upperCase(LongFileName(platform.files, platform.ui, text::NulTrim(raw)));
}

// The process of the program a frame-host window shows; 0 while it shows none (the program
// takes its window away while it is suspended).
std::uint32_t hostedProcess(WindowManager& windows, WindowHandle frame) {
    for (auto child = windows.firstChild(frame); child != 0; child = windows.nextWindow(child)) {
        if (windows.className(child, kClassNameBuffer) == kHostedWindowClass) {
            return windows.processOf(child);
        }
    }
    return 0;
}

}  // namespace

void ProcessTable::build(const std::vector<TrackedWindow>& records, long count,
                         Platform& platform) {
    entries_.clear();
    for (long i = 0; i < count; ++i) {
        // Reading a process is slow: only frames whose program is not known yet are read.
        if (!records[i].EXEPath.empty()) {
            continue;
        }
        const auto process = platform.windows.processOf(records[i].hTopWnd);
        if (process != 0) {
            entries_.push_back({records[i].hTopWnd, process});
        }
    }
    // Many frames share a process: each process is read once.
    std::unordered_map<std::uint32_t, std::optional<Program>> programs;
    if (platform.processes.isWindowsNT()) {
        const auto programOfProcess = [&](std::uint32_t process) {
            auto [found, fresh] = programs.try_emplace(process);
            if (fresh) {
                if (const auto raw = platform.processes.moduleFileName(process)) {
                    found->second =
                        Program{storedForm(platform, *raw),
                                platform.processes.applicationUserModelId(process).value_or("")};
                }
            }
            return found->second;
        };
        for (auto& entry : entries_) {
            if (const auto program = programOfProcess(entry.processId);
                program && text::endsWith(program->exePath, kFrameHost)) {
                entry.processId = hostedProcess(platform.windows, entry.window);
                if (entry.processId != 0) {
                    programOfProcess(entry.processId);
                }
            }
        }
    } else {
        std::unordered_map<std::uint32_t, bool> wanted;
        for (const auto& entry : entries_) {
            wanted[entry.processId] = true;
        }
        for (const auto& process : platform.processes.processSnapshot()) {
            if (wanted.contains(process.processId)) {
                programs[process.processId] = Program{storedForm(platform, process.exeFile), {}};
            }
        }
    }
    // A process that could not be read leaves its entries empty: they match no record.
    programs_.clear();
    for (const auto& entry : entries_) {
        if (const auto found = programs.find(entry.processId);
            found != programs.end() && found->second) {
            programs_[entry.window] = *found->second;
        }
    }
}

std::optional<ProcessTable::Program> ProcessTable::programOf(WindowHandle topWindow) const {
    if (const auto found = programs_.find(topWindow); found != programs_.end()) {
        return found->second;
    }
    return std::nullopt;
}

}  // namespace snapdesk
