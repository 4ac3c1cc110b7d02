#include "projects/ini_document.h"

#include <algorithm>

namespace snapdesk {

namespace ini {

bool isBlank(char c) {
    return c == ' ' || (c >= '\t' && c <= '\r') || c == '\x1a';
}

namespace {
char folded(char c) {
    return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
}
}  // namespace

bool sameName(std::string_view a, std::string_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return folded(x) == folded(y);
           });
}

std::string_view trimBlanks(std::string_view s) {
    while (!s.empty() && isBlank(s.front())) {
        s.remove_prefix(1);
    }
    while (!s.empty() && isBlank(s.back())) {
        s.remove_suffix(1);
    }
    return s;
}

std::string unquoted(std::string_view value) {
    if (value.size() >= 2 && (value.front() == '\'' || value.front() == '"') &&
        value.back() == value.front()) {
        return std::string(value.substr(1, value.size() - 2));
    }
    return std::string(value);
}

std::string trimmedDefault(std::string_view fallback) {
    std::size_t end = fallback.size();
    while (end > 1 && fallback[end - 1] == ' ') {
        --end;
    }
    return std::string(fallback.substr(0, end));
}

}  // namespace ini

IniDocument IniDocument::parse(std::string_view text) {
    IniDocument doc;
    doc.sections_.push_back({});
    std::size_t next = 0;
    while (next < text.size()) {
        const std::size_t start = next;
        // Lines end at LF; CR ends one only where no LF follows anywhere.
        std::size_t end = text.find('\n', start);
        if (end == std::string_view::npos) {
            end = text.find('\r', start);
        }
        next = end == std::string_view::npos ? text.size() : end + 1;
        const std::string_view line = ini::trimBlanks(text.substr(start, next - start));
        if (line.empty()) {
            continue;  // blank lines are not kept
        }

        if (!line.empty() && line.front() == '[') {
            const std::size_t close = line.rfind(']');
            if (close != std::string_view::npos && close > 0) {
                doc.sections_.push_back(
                    {std::string(ini::trimBlanks(line.substr(1, close - 1))), {}});
                continue;
            }
        }
        Key key;
        const std::size_t equals = line.find('=');
        if (equals != std::string_view::npos) {
            key.name = std::string(ini::trimBlanks(line.substr(0, equals)));
            key.value = std::string(ini::trimBlanks(line.substr(equals + 1)));
        } else {
            key.name = std::string(line);
        }
        doc.sections_.back().keys.push_back(std::move(key));
    }
    return doc;
}

std::string IniDocument::render() const {
    std::string out;
    for (const auto& section : sections_) {
        if (!section.name.empty()) {
            out += '[';
            out += section.name;
            out += "]\r\n";
        }
        for (const auto& key : section.keys) {
            out += key.name;
            if (key.value) {
                out += '=';
                out += *key.value;
            }
            out += "\r\n";
        }
    }
    return out;
}

IniDocument::Section* IniDocument::findSection(std::string_view trimmedName) {
    const auto it = std::find_if(sections_.begin(), sections_.end(), [&](const Section& s) {
        return ini::sameName(s.name, trimmedName);
    });
    return it == sections_.end() ? nullptr : &*it;
}

std::string IniDocument::value(std::string_view section, std::string_view key,
                               std::string_view fallback) const {
    const std::string_view wantedKey = ini::trimBlanks(key);
    if (!key.empty()) {
        const auto wantedSection = ini::trimBlanks(section);
        const auto s = std::find_if(sections_.begin(), sections_.end(), [&](const Section& x) {
            return ini::sameName(x.name, wantedSection);
        });
        if (s != sections_.end()) {
            const auto k = std::find_if(s->keys.begin(), s->keys.end(), [&](const Key& x) {
                return ini::sameName(x.name, wantedKey);
            });
            if (k != s->keys.end() && k->value) {
                return ini::unquoted(*k->value);
            }
        }
    }
    return ini::unquoted(fallback);
}

std::unordered_map<std::string, std::string> IniDocument::values(std::string_view section) const {
    std::unordered_map<std::string, std::string> found;
    const auto wantedSection = ini::trimBlanks(section);
    const auto s = std::find_if(sections_.begin(), sections_.end(), [&](const Section& x) {
        return ini::sameName(x.name, wantedSection);
    });
    if (s == sections_.end()) {
        return found;
    }
    for (const Key& k : s->keys) {
        if (!k.value) {
            continue;
        }
        std::string name(ini::trimBlanks(k.name));
        std::transform(name.begin(), name.end(), name.begin(), ini::folded);
        found.try_emplace(std::move(name), ini::unquoted(*k.value));
    }
    return found;
}

std::vector<std::string> IniDocument::keyNames(std::string_view section) const {
    std::vector<std::string> names;
    for (const auto& s : sections_) {
        if (ini::sameName(s.name, section)) {
            for (const auto& k : s.keys) {
                if (k.value && (k.name.empty() || k.name.front() != ';')) {
                    names.push_back(k.name);
                }
            }
            break;
        }
    }
    return names;
}

std::vector<std::string> IniDocument::sectionNames() const {
    std::vector<std::string> names;
    for (const auto& s : sections_) {
        if (!s.name.empty()) {
            names.push_back(s.name);
        }
    }
    return names;
}

bool IniDocument::setValue(std::string_view section, std::string_view key, std::string_view value) {
    // New names are stored trimmed; a value loses its leading blanks only.
    const auto leadingTrimmed = [](std::string_view s) {
        while (!s.empty() && ini::isBlank(s.front())) {
            s.remove_prefix(1);
        }
        return s;
    };
    const std::string_view newValue = leadingTrimmed(value);
    Section* target = findSection(ini::trimBlanks(section));
    if (target == nullptr) {
        sections_.push_back({std::string(ini::trimBlanks(section)), {}});
        target = &sections_.back();
    }
    const std::string_view wantedKey = ini::trimBlanks(key);
    for (auto& k : target->keys) {
        if (ini::sameName(k.name, wantedKey)) {
            if (k.value && *k.value == newValue) {
                return false;
            }
            k.value = std::string(newValue);
            return true;
        }
    }
    target->keys.push_back({std::string(ini::trimBlanks(key)), std::string(newValue)});
    return true;
}

bool IniDocument::deleteKey(std::string_view section, std::string_view key) {
    for (auto& s : sections_) {
        if (!ini::sameName(s.name, section)) {
            continue;
        }
        const auto k = std::find_if(s.keys.begin(), s.keys.end(),
                                    [&](const Key& x) { return ini::sameName(x.name, key); });
        if (k != s.keys.end()) {
            s.keys.erase(k);
            return true;
        }
    }
    return false;
}

bool IniDocument::deleteSection(std::string_view section) {
    const auto s = std::find_if(sections_.begin(), sections_.end(),
                                [&](const Section& x) { return ini::sameName(x.name, section); });
    if (s == sections_.end()) {
        return false;
    }
    sections_.erase(s);
    return true;
}

}  // namespace snapdesk
