#pragma once

#include <optional>
#include <string>
#include <vector>

namespace snapdesk {

// String values of the registry. Key paths are below the root, e.g. "Software\Zim Software".
class Registry {
  public:
    virtual ~Registry() = default;

    // Empty when the key cannot be opened or the value cannot be read as a string.
    virtual std::optional<std::string> readUserString(const std::string& keyPath,
                                                      const std::string& name) = 0;
    // Creates the key when missing; false when the key cannot be created or opened.
    virtual bool writeUserString(const std::string& keyPath, const std::string& name,
                                 const std::string& value) = 0;
    // The names of the keys right below a key of the current user; empty when it cannot be
    // opened.
    virtual std::vector<std::string> userSubkeys(const std::string& keyPath) = 0;
    virtual std::optional<std::string> readMachineString(const std::string& keyPath,
                                                         const std::string& name) = 0;
};

}  // namespace snapdesk
