#pragma once

#include <map>
#include <set>
#include <string>
#include <vector>

#include "platform/registry.h"

namespace snapdesk::sim {

// Registry values in memory. Key paths and value names compare without case, as Windows
// does; writes are logged in order.
class SimRegistry : public Registry {
  public:
    std::optional<std::string> readUserString(const std::string& keyPath,
                                              const std::string& name) override;
    bool writeUserString(const std::string& keyPath, const std::string& name,
                         const std::string& value) override;
    std::vector<std::string> userSubkeys(const std::string& keyPath) override;
    std::optional<std::string> readMachineString(const std::string& keyPath,
                                                 const std::string& name) override;

    void setMachineString(const std::string& keyPath, const std::string& name,
                          const std::string& value);
    // A key whose opening fails, for reads and writes alike.
    void lockKey(const std::string& keyPath) { locked_.insert(normal(keyPath)); }

    std::vector<std::string> writes;  // "name=value", in order

  private:
    static std::string normal(const std::string& text);
    using Values = std::map<std::string, std::map<std::string, std::string>>;
    static std::optional<std::string> read(const Values& values, const std::string& keyPath,
                                           const std::string& name);
    Values user_;
    std::map<std::string, std::string> userKeySpelling_;  // as first written
    Values machine_;
    std::set<std::string> locked_;
};

}  // namespace snapdesk::sim
