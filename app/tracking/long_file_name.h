#pragma once

#include <string>

#include "platform/platform.h"

namespace snapdesk {

// The path with every folder and the file in their long, case-correct form. A path without a
// drive letter starts its result with "\". On failure it reports the error and returns "".
std::string LongFileName(FileSystem& files, Ui& ui, const std::string& path);

}  // namespace snapdesk
