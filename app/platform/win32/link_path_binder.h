#pragma once

#include <windows.h>

#include <string>

#include "platform/link_path_resolver.h"

namespace snapdesk {

// GetLinkPath of zim001.dll, bound by name at the first call like a declared external routine:
// the library is loaded and the entry looked up then, and again at each call until both exist.
class Win32LinkPathBinder final : public LinkPathResolver {
  public:
    // `library` and `entry` differ from zim001.dll and "_GetLinkPath@12" only in tests.
    Win32LinkPathBinder();
    Win32LinkPathBinder(std::string library, std::string entry);

    std::string getLinkPath(WindowHandle owner, const std::string& linkFile) override;

  private:
    using Entry = LONG(WINAPI*)(HWND, const char*, char*);
    Entry bind();

    std::string library_;
    std::string entry_;
    Entry bound_ = nullptr;
};

}  // namespace snapdesk
