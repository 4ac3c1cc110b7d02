#pragma once

// Keeps the recovery file in step with the Project tab: looked at often, written when the tab
// changed, at most once every two seconds, and at once when the session ends.

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <utility>

#include "platform/file_system.h"
#include "projects/project_store.h"
#include "projects/recovery_file.h"
#include "tracking/coffee_shop_list.h"

namespace snapdesk {

struct RecoveryClock {
    // A steady count of milliseconds, for the grouping of writes.
    std::function<std::int64_t()> nowMs;
    // The time of a change as the user reads it.
    std::function<std::string()> timeText;
};
RecoveryClock systemRecoveryClock();

class RecoveryKeeper {
  public:
    static constexpr std::int64_t kGroupMs = 2000;
    // The comment being typed in a tile: its record and the editor's text.
    using EditorText = std::function<std::optional<std::pair<long, std::string>>()>;

    RecoveryKeeper(FileSystem& files, ProjectStore& store, CoffeeShopList& list,
                   RecoveryClock clock);

    std::string path() const { return store_.dataFolder() + "\\" + kRecoveryFileName; }
    void setEditorText(EditorText editorText) { editorText_ = std::move(editorText); }

    // From now on the tab is watched; a tab that already holds members (brought back from the
    // last run) is written at the first look.
    void start();
    // Writes when the tab changed and the last write is kGroupMs old; otherwise the change
    // waits for a later look.
    void check();
    // Writes at once when anything changed since the last write (the session ends).
    void writeNow();
    // A clean exit: the file stays only for an Untitled tab with members, which nothing else
    // keeps; otherwise it goes.
    void cleanExit();

    // The tab as the file would hold it now.
    RecoveryState currentState();
    int writes() const { return writes_; }

  private:
    std::string fingerprint();
    bool write(const std::string& print);

    FileSystem& files_;
    ProjectStore& store_;
    CoffeeShopList& list_;
    RecoveryClock clock_;
    EditorText editorText_;
    bool started_ = false;
    std::string written_;  // the fingerprint of what the file holds
    std::optional<std::int64_t> lastWrite_;
    std::string changed_;
    int writes_ = 0;
};

}  // namespace snapdesk
