#pragma once

// The menu-item arrays zzzzUpdate, zzzzTo, zzzzFrom and zzzzSystemTray: elements are created
// once, reused every time their menu opens, and hidden when not needed. Each carries a tag:
// "NONE" (no action), "ALL" (every record) or a record's 1-based position.
//
// A view mirrors an array each time its menu opens: menuItems() gives every element with its
// command id (the array's first id + the element's index); it inserts the visible ones, a
// separator for a separator, and answers the chosen id. Nothing else is kept in the view.

#include <optional>
#include <string>
#include <vector>

#include "mainwindow/menu_model.h"
#include "platform/handles.h"

namespace snapdesk {

inline constexpr const char* kTagNone = "NONE";
inline constexpr const char* kTagAll = "ALL";
inline constexpr const char* kSeparatorCaption = "-";
inline constexpr const char* kNoFilesOpen = "No Files Open";
inline constexpr const char* kNoFilesToMove = "No Files To Move";

struct DynamicItem {
    std::string caption;  // "-" makes a separator
    std::string tag = kTagNone;
    WindowHandle window = 0;  // the record's window when the tag is a position
    bool visible = true;
};

class DynamicItemArray {
  public:
    // `design` holds the elements that exist from the start, from index `lowerBound` on.
    DynamicItemArray(std::string name, int firstId, int lowerBound,
                     std::vector<DynamicItem> design);

    const std::string& name() const { return name_; }
    int lowerBound() const { return lowerBound_; }
    // The highest index created so far: the count the program keeps for this array.
    int upperBound() const { return lowerBound_ + static_cast<int>(items_.size()) - 1; }
    // Element `index`; nullptr when it was never created.
    const DynamicItem* item(int index) const;

    // Shows element `index` with a caption and tag, creating it first when missing.
    void show(int index, std::string caption, std::string tag, WindowHandle window = 0);
    // Hides the elements from `index` to the highest one created.
    void hideFrom(int index);

    int commandId(int index) const { return firstId_ + index; }
    // The element a command id stands for; nullopt for ids of other menus.
    std::optional<int> indexOf(int commandId) const;
    // Every element as a menu item, hidden ones marked hidden.
    Menu menuItems() const;

  private:
    std::string name_;
    int firstId_;
    int lowerBound_;
    std::vector<DynamicItem> items_;
};

// The arrays as the main window creates them: zzzzUpdate (1) "All", (2) separator, (3) "No
// Files Open"; zzzzTo and zzzzFrom (1) a placeholder; zzzzSystemTray (0) the heading "Click a
// document to view", (1) a separator.
DynamicItemArray makeZzzzUpdate();
DynamicItemArray makeZzzzTo();
DynamicItemArray makeZzzzFrom();
DynamicItemArray makeZzzzSystemTray();

// A tag's record position, 0 for "NONE", "ALL" and anything that is no position.
long tagPosition(const std::string& tag);

}  // namespace snapdesk
