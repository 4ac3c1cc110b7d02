#pragma once

#include <string>

#include "platform/handles.h"

namespace snapdesk {

// Turns a shortcut file into the path it points to; GetLinkPath of zim001.dll in the program.
class LinkPathResolver {
  public:
    virtual ~LinkPathResolver() = default;

    // The stored target of the shortcut `linkFile` (UTF-8), cut at its first zero; "" on every
    // failure of the shortcut itself. Throws RuntimeError when the resolver cannot be reached
    // (library missing: 53, entry point missing: 453).
    virtual std::string getLinkPath(WindowHandle owner, const std::string& linkFile) = 0;
};

}  // namespace snapdesk
