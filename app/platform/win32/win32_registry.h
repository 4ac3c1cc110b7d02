#pragma once

#include "platform/registry.h"

namespace snapdesk {

// String values of HKEY_CURRENT_USER and HKEY_LOCAL_MACHINE.
class Win32Registry : public Registry {
  public:
    std::optional<std::string> readUserString(const std::string& keyPath,
                                              const std::string& name) override;
    bool writeUserString(const std::string& keyPath, const std::string& name,
                         const std::string& value) override;
    std::vector<std::string> userSubkeys(const std::string& keyPath) override;
    std::optional<std::string> readMachineString(const std::string& keyPath,
                                                 const std::string& name) override;
};

}  // namespace snapdesk
