#pragma once

// The five lines of "Cannot Save an Empty Project".

#include <array>
#include <string>

namespace snapdesk {

using EmptyProjectLines = std::array<std::string, 5>;

// One set for a Project tab without any record, another for one whose records are all left
// out of the save.
const EmptyProjectLines& noEmptyProjectLines(bool tabHasRecords);

}  // namespace snapdesk
