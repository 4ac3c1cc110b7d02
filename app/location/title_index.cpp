#include "location/title_index.h"

#include <functional>

namespace snapdesk {

std::size_t TitleIndex::slotOf(std::string_view title, std::size_t hash) const {
    const std::size_t mask = slots_.size() - 1;
    for (std::size_t slot = hash & mask;; slot = (slot + 1) & mask) {
        const std::size_t entry = slots_[slot];
        if (entry == 0 ||
            (entries_[entry - 1].hash == hash && titleOf(entries_[entry - 1]) == title)) {
            return slot;
        }
    }
}

void TitleIndex::grow() {
    slots_.assign(slots_.empty() ? 1024 : slots_.size() * 2, 0);
    for (std::size_t k = 0; k < entries_.size(); ++k) {
        slots_[slotOf(titleOf(entries_[k]), entries_[k].hash)] = k + 1;
    }
}

void TitleIndex::add(std::string_view title, std::string_view address, std::int64_t time) {
    if ((entries_.size() + 1) * 2 > slots_.size()) {
        grow();
    }
    const std::size_t hash = std::hash<std::string_view>{}(title);
    const std::size_t slot = slotOf(title, hash);
    if (slots_[slot] != 0) {
        Entry& entry = entries_[slots_[slot] - 1];
        if (time > entry.time) {
            entry.address = text_.size();
            entry.addressSize = address.size();
            entry.time = time;
            text_.append(address);
        }
        return;
    }
    entries_.push_back(
        {hash, text_.size(), title.size(), text_.size() + title.size(), address.size(), time});
    text_.append(title);
    text_.append(address);
    slots_[slot] = entries_.size();
}

std::optional<TitleIndex::Visit> TitleIndex::find(std::string_view title) const {
    if (slots_.empty()) {
        return std::nullopt;
    }
    const std::size_t entry = slots_[slotOf(title, std::hash<std::string_view>{}(title))];
    if (entry == 0) {
        return std::nullopt;
    }
    const Entry& found = entries_[entry - 1];
    return Visit{std::string_view(text_).substr(found.address, found.addressSize), found.time};
}

}  // namespace snapdesk
