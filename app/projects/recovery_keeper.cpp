#include "projects/recovery_keeper.h"

#include <chrono>
#include <ctime>

#include "common/text.h"
#include "projects/project_rules.h"

namespace snapdesk {

RecoveryClock systemRecoveryClock() {
    return {[] {
                return static_cast<std::int64_t>(
                    std::chrono::duration_cast<std::chrono::milliseconds>(
                        std::chrono::steady_clock::now().time_since_epoch())
                        .count());
            },
            [] {
                const std::time_t now = std::time(nullptr);
                char text[32] = {};
                if (const std::tm* local = std::localtime(&now)) {
                    std::strftime(text, sizeof(text), "%Y-%m-%d %H:%M", local);
                }
                return std::string(text);
            }};
}

RecoveryKeeper::RecoveryKeeper(FileSystem& files, ProjectStore& store, CoffeeShopList& list,
                               RecoveryClock clock)
    : files_(files), store_(store), list_(list), clock_(std::move(clock)) {}

RecoveryState RecoveryKeeper::currentState() {
    RecoveryState state;
    state.projectName = store_.currentProjectName();
    state.members = store_.projectTabMembers(false);
    // A comment being typed counts as typed.
    if (editorText_) {
        if (const auto typing = editorText_();
            typing && list_.inTab(typing->first) == kProjectTab) {
            std::size_t index = 0;
            for (long i = 1; i < typing->first; ++i) {
                index += list_.inTab(i) == kProjectTab ? 1 : 0;
            }
            if (index < state.members.size()) {
                state.members[index].comment = typing->second;
            }
        }
    }
    state.changed = changed_;
    if (state.projectName == project_rules::kUntitled || state.members.empty()) {
        return state;
    }
    std::vector<std::string> names, paths, exes, comments, profiles;
    std::int32_t count = 0;
    store_.readProject(state.projectName, names, paths, exes, comments, count, &profiles);
    std::size_t j = 0;
    bool same = true;
    for (const StoredMember& m : state.members) {
        if (m.path == kNoSave) {
            continue;
        }
        same = same && m.path != kNotFound && j < static_cast<std::size_t>(count) &&
               text::upperCase(m.path) == text::upperCase(paths[j]) &&
               text::upperCase(m.exe) == exes[j] && m.comment == comments[j] &&
               m.profile == profiles[j];
        ++j;
    }
    state.saved = same && j == static_cast<std::size_t>(count);
    return state;
}

std::string RecoveryKeeper::fingerprint() {
    const RecoveryState state = [&] {
        // What decides the file's content, without reading the project file on every look.
        RecoveryState s;
        s.projectName = store_.currentProjectName();
        s.members = store_.projectTabMembers(false);
        return s;
    }();
    std::string print = state.projectName + '\x1f' + std::to_string(store_.projectsWritten());
    for (const StoredMember& m : state.members) {
        print += '\x1e' + m.caption + '\x1f' + m.path + '\x1f' + m.exe + '\x1f' + m.comment +
                 '\x1f' + m.profile;
    }
    if (editorText_) {
        if (const auto typing = editorText_()) {
            print += '\x1d' + std::to_string(typing->first) + '\x1f' + typing->second;
        }
    }
    return print;
}

void RecoveryKeeper::start() {
    started_ = true;
    changed_ = clock_.timeText();
    const std::string print = fingerprint();
    if (store_.projectTabMembers(false).empty()) {
        written_ = print;  // nothing to keep yet
    }
}

void RecoveryKeeper::check() {
    if (!started_) {
        return;
    }
    const std::string print = fingerprint();
    if (print == written_) {
        return;
    }
    if (lastWrite_ && clock_.nowMs() - *lastWrite_ < kGroupMs) {
        return;  // a later look writes it, with whatever else changed meanwhile
    }
    write(print);
}

void RecoveryKeeper::writeNow() {
    if (!started_) {
        return;
    }
    const std::string print = fingerprint();
    if (print != written_ || !files_.fileAttributes(path())) {
        write(print);
    }
}

bool RecoveryKeeper::write(const std::string& print) {
    changed_ = clock_.timeText();
    lastWrite_ = clock_.nowMs();
    if (!writeRecoveryFile(files_, path(), currentState())) {
        return false;  // tried again at the next look after the pause
    }
    written_ = print;
    ++writes_;
    return true;
}

void RecoveryKeeper::cleanExit() {
    if (!started_) {
        return;
    }
    started_ = false;
    if (store_.currentProjectName() == project_rules::kUntitled &&
        !store_.projectTabMembers(false).empty()) {
        if (fingerprint() != written_ || !files_.fileAttributes(path())) {
            write(fingerprint());
        }
        return;
    }
    files_.deleteFile(path());
}

}  // namespace snapdesk
