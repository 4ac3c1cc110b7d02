#include "platform/sim/sim_registry.h"

#include <algorithm>

#include "common/text.h"

namespace snapdesk::sim {

std::string SimRegistry::normal(const std::string& text) {
    return text::upperCase(text);
}

std::optional<std::string> SimRegistry::read(const Values& values, const std::string& keyPath,
                                             const std::string& name) {
    const auto key = values.find(normal(keyPath));
    if (key == values.end()) {
        return std::nullopt;
    }
    const auto value = key->second.find(normal(name));
    if (value == key->second.end()) {
        return std::nullopt;
    }
    return value->second;
}

std::optional<std::string> SimRegistry::readUserString(const std::string& keyPath,
                                                       const std::string& name) {
    if (locked_.contains(normal(keyPath))) {
        return std::nullopt;
    }
    return read(user_, keyPath, name);
}

bool SimRegistry::writeUserString(const std::string& keyPath, const std::string& name,
                                  const std::string& value) {
    if (locked_.contains(normal(keyPath))) {
        return false;
    }
    user_[normal(keyPath)][normal(name)] = value;
    userKeySpelling_.emplace(normal(keyPath), keyPath);
    writes.push_back(name + "=" + value);
    return true;
}

std::vector<std::string> SimRegistry::userSubkeys(const std::string& keyPath) {
    std::vector<std::string> names;
    if (locked_.contains(normal(keyPath))) {
        return names;
    }
    const std::string parent = normal(keyPath) + "\\";
    for (const auto& [key, spelling] : userKeySpelling_) {
        if (!text::beginsWith(key, parent)) {
            continue;
        }
        // The next level only, named as it was written.
        const std::string below = spelling.substr(parent.size());
        const std::string name = below.substr(0, below.find('\\'));
        if (std::find(names.begin(), names.end(), name) == names.end()) {
            names.push_back(name);
        }
    }
    return names;
}

std::optional<std::string> SimRegistry::readMachineString(const std::string& keyPath,
                                                          const std::string& name) {
    return read(machine_, keyPath, name);
}

void SimRegistry::setMachineString(const std::string& keyPath, const std::string& name,
                                   const std::string& value) {
    machine_[normal(keyPath)][normal(name)] = value;
}

}  // namespace snapdesk::sim
