#pragma once

// The level files of the folder tree (dirTree1.txt onwards): their text as written, and the
// reader that turns them back into folder paths. No file access here.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace snapdesk::dirtree {

// Deepest level a walk goes down to.
inline constexpr int kMaxLevels = 21;

// The six header lines and the level line, each ended by CR LF.
std::string levelFileStart(int level, const std::string& version);

// One folder's line: index "=" parent index "-" name, without the line end.
std::string entryLine(std::int64_t index, std::int64_t parent, std::string_view name);

struct StoredEntry {
    std::int64_t index = 0;
    std::int64_t parent = 0;
    std::string name;
};

// The entries of one level file in file order. Lines without "=", and the header and level
// lines ("#" and "[" first), are not entries. Every other line must read
// index "=" parent "-" name, both numbers plain decimals of any length (a tree of ten
// thousand folders or more has indices of five digits and more) and the name one a folder
// can have; otherwise the file is damaged and nothing is returned.
std::optional<std::vector<StoredEntry>> parseLevelFile(std::string_view text);

// The folders of a stored tree, element 0 unused and element 1 the root. Each level's
// entries are added in order; `previousFirst` to `previousLast` are the folders the last
// added level brought (the root before the first level).
class StoredTree {
  public:
    explicit StoredTree(std::string root);

    // False, leaving the tree as it was, when an entry's index is not its place in the list
    // or its parent is not a folder of the level above: the file would give wrong folders.
    bool addLevel(const std::vector<StoredEntry>& entries);

    const std::vector<std::string>& folders() const { return folders_; }
    std::vector<std::string> release() { return std::move(folders_); }
    // Folders including the root.
    std::size_t count() const { return folders_.size() - 1; }

  private:
    std::vector<std::string> folders_;
    std::size_t previousFirst_ = 1;
    std::size_t previousLast_ = 1;
};

// A whole decimal number (no sign, no blanks, at most 18 digits); nothing otherwise.
std::optional<std::int64_t> plainDecimal(std::string_view digits);

// The root of the drive a folder lies on: "C:" for "C:\...", "\\server\share" for a
// network path, else the folder's first two characters.
std::string driveRootOf(std::string_view folder);

}  // namespace snapdesk::dirtree
