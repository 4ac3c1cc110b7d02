#include "mainwindow/dynamic_menu.h"

#include <charconv>
#include <utility>

#include "mainwindow/menu_ids.h"

namespace snapdesk {
namespace {

constexpr const char* kTrayHeading = "Click a document to view";

DynamicItem element(std::string caption, std::string tag = kTagNone) {
    DynamicItem item;
    item.caption = std::move(caption);
    item.tag = std::move(tag);
    return item;
}

}  // namespace

DynamicItemArray::DynamicItemArray(std::string name, int firstId, int lowerBound,
                                   std::vector<DynamicItem> design)
    : name_(std::move(name)),
      firstId_(firstId),
      lowerBound_(lowerBound),
      items_(std::move(design)) {}

const DynamicItem* DynamicItemArray::item(int index) const {
    if (index < lowerBound_ || index > upperBound()) {
        return nullptr;
    }
    return &items_[static_cast<std::size_t>(index - lowerBound_)];
}

void DynamicItemArray::show(int index, std::string caption, std::string tag, WindowHandle window) {
    if (index < lowerBound_ || index >= lowerBound_ + ID_zzzzRange) {
        return;
    }
    while (upperBound() < index) {
        DynamicItem created;
        created.visible = false;
        items_.push_back(created);
    }
    DynamicItem& target = items_[static_cast<std::size_t>(index - lowerBound_)];
    target.caption = std::move(caption);
    target.tag = std::move(tag);
    target.window = window;
    target.visible = true;
}

void DynamicItemArray::hideFrom(int index) {
    for (int i = index < lowerBound_ ? lowerBound_ : index; i <= upperBound(); ++i) {
        items_[static_cast<std::size_t>(i - lowerBound_)].visible = false;
    }
}

std::optional<int> DynamicItemArray::indexOf(int commandId) const {
    const int index = commandId - firstId_;
    if (item(index) == nullptr) {
        return std::nullopt;
    }
    return index;
}

Menu DynamicItemArray::menuItems() const {
    Menu out;
    for (int i = lowerBound_; i <= upperBound(); ++i) {
        const DynamicItem& element = *item(i);
        MenuItem entry;
        entry.name = name_ + "(" + std::to_string(i) + ")";
        entry.separator = element.caption == kSeparatorCaption;
        if (!entry.separator) {
            entry.id = commandId(i);
            entry.caption = element.caption;
        }
        entry.visible = element.visible;
        out.push_back(std::move(entry));
    }
    return out;
}

DynamicItemArray makeZzzzUpdate() {
    return DynamicItemArray(
        "zzzzUpdate", ID_zzzzUpdate, 1,
        {element("All", kTagAll), element(kSeparatorCaption), element(kNoFilesOpen)});
}

DynamicItemArray makeZzzzTo() {
    return DynamicItemArray("zzzzTo", ID_zzzzTo, 1, {element(kNoFilesToMove)});
}

DynamicItemArray makeZzzzFrom() {
    return DynamicItemArray("zzzzFrom", ID_zzzzFrom, 1, {element(kNoFilesToMove)});
}

DynamicItemArray makeZzzzSystemTray() {
    return DynamicItemArray("zzzzSystemTray", ID_zzzzSystemTray, 0,
                            {element(kTrayHeading), element(kSeparatorCaption)});
}

long tagPosition(const std::string& tag) {
    long position = 0;
    const char* end = tag.data() + tag.size();
    const auto [last, error] = std::from_chars(tag.data(), end, position);
    if (error != std::errc() || last != end || position < 1) {
        return 0;
    }
    return position;
}

}  // namespace snapdesk
