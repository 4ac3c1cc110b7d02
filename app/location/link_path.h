#pragma once

#include <functional>
#include <optional>
#include <string>

#include "platform/link_path_resolver.h"

namespace snapdesk {

// Reads shortcut files itself, without the shell: for the simulated platform and for systems
// without shell-link objects.
class ShortcutFileReader final : public LinkPathResolver {
  public:
    // The whole content of a file, nullopt when it cannot be read.
    using ReadFile = std::function<std::optional<std::string>(const std::string& path)>;

    explicit ShortcutFileReader(ReadFile readFile) : readFile_(std::move(readFile)) {}

    std::string getLinkPath(WindowHandle owner, const std::string& linkFile) override;

  private:
    ReadFile readFile_;
};

}  // namespace snapdesk
