// Arbitrary bytes into the reader of the folder-tree files: up to four level files, split at
// form feeds (never part of a folder name). Besides the sanitizers' findings, every tree it
// accepts must hang together: each folder is its parent's path, a backslash and its name.

#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "location/dir_tree_file.h"

using namespace snapdesk::dirtree;

namespace {

void require(bool condition) {
    if (!condition) {
        std::abort();
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view input(reinterpret_cast<const char*>(data), size);
    const std::string root = driveRootOf(input);
    require(input.size() < 2 || input.starts_with(root));

    StoredTree tree("C:");
    std::size_t position = 0;
    for (int level = 1; level <= 4 && position <= input.size(); ++level) {
        std::size_t end = input.find('\f', position);
        if (end == std::string_view::npos) {
            end = input.size();
        }
        const auto entries = parseLevelFile(input.substr(position, end - position));
        position = end + 1;
        if (!entries) {
            continue;
        }
        // What was read writes back to the same entries.
        std::string written = levelFileStart(level, "1.0.0");
        for (const auto& e : *entries) {
            require(e.index >= 0 && e.parent >= 0 && !e.name.empty());
            require(e.name.find_first_of("\\/:*?\"<>|\r\n") == std::string::npos);
            written += entryLine(e.index, e.parent, e.name) + "\r\n";
        }
        const auto again = parseLevelFile(written);
        require(again && again->size() == entries->size());
        for (std::size_t k = 0; k < entries->size(); ++k) {
            require((*again)[k].index == (*entries)[k].index &&
                    (*again)[k].parent == (*entries)[k].parent &&
                    (*again)[k].name == (*entries)[k].name);
        }

        const std::size_t before = tree.count();
        if (!tree.addLevel(*entries)) {
            require(tree.count() == before);
            continue;
        }
        require(tree.count() == before + entries->size());
        for (const auto& e : *entries) {
            const auto index = static_cast<std::size_t>(e.index);
            const auto parent = static_cast<std::size_t>(e.parent);
            require(parent >= 1 && parent < index && index <= tree.count());
            require(tree.folders()[index] == tree.folders()[parent] + "\\" + e.name);
        }
    }
    return 0;
}
