#include "platform/sim/sim_registry.h"

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
    writes.push_back(name + "=" + value);
    return true;
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
