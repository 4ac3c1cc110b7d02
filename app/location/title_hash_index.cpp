#include "location/title_hash_index.h"

#include <algorithm>

namespace snapdesk {

// FNV-1a: the same 64 bits in the 32-bit and the 64-bit program.
std::uint64_t TitleHashIndex::hashOf(std::string_view title) {
    std::uint64_t hash = 14695981039346656037ULL;
    for (const char c : title) {
        hash = (hash ^ static_cast<unsigned char>(c)) * 1099511628211ULL;
    }
    return hash;
}

void TitleHashIndex::add(std::string_view title, std::int64_t id, std::int64_t time) {
    rows_.push_back({hashOf(title), time, id});
}

void TitleHashIndex::seal() {
    std::sort(rows_.begin(), rows_.end(), [](const Row& a, const Row& b) {
        return a.hash != b.hash ? a.hash < b.hash : a.time > b.time;
    });
}

std::span<const TitleHashIndex::Row> TitleHashIndex::candidates(std::string_view title) const {
    const std::uint64_t hash = hashOf(title);
    const auto first =
        std::lower_bound(rows_.begin(), rows_.end(), hash,
                         [](const Row& row, std::uint64_t h) { return row.hash < h; });
    auto last = first;
    while (last != rows_.end() && last->hash == hash) {
        ++last;
    }
    return {first, last};
}

}  // namespace snapdesk
