#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace snapdesk {

// The text of an INI file in memory, with the rules of the system's private-profile
// functions: names compare without case (ASCII letters), white space around names and
// values is dropped when a file is read, the first of several equal sections or keys wins,
// new sections go to the end of the file and new keys to the end of their section. Lines
// that are not headers stay as keys: comments (";...") and lines without "=" (no value) are
// written back as they were read; blank lines are dropped.
// Bytes are kept as they are: the program writes UTF-8, which ASCII files share.
class IniDocument {
  public:
    struct Key {
        std::string name;
        std::optional<std::string> value;  // none for a line without "="
    };
    struct Section {
        std::string name;  // empty for the lines before the first header
        std::vector<Key> keys;
    };

    static IniDocument parse(std::string_view text);
    // Headers "[name]" and lines "name=value", each ending in CR LF.
    std::string render() const;

    // The value of a key as a read gives it (a value in matching quotes loses them), or the
    // default when the key is missing or has no value. Names are trimmed of white space.
    std::string value(std::string_view section, std::string_view key,
                      std::string_view fallback) const;
    // Every value of a section at once, by key name folded to upper case, as `value` gives
    // each: the first section and the first key of a name win.
    std::unordered_map<std::string, std::string> values(std::string_view section) const;
    // Key names of the first section of that exact name (no trimming); comments, blank
    // lines and lines without "=" left out.
    std::vector<std::string> keyNames(std::string_view section) const;
    // Every section name that is not empty, in file order, repeats included.
    std::vector<std::string> sectionNames() const;

    // Each returns whether the text changed; an unchanged text need not be written.
    bool setValue(std::string_view section, std::string_view key, std::string_view value);
    bool deleteKey(std::string_view section, std::string_view key);
    bool deleteSection(std::string_view section);

    const std::vector<Section>& sections() const { return sections_; }

  private:
    Section* findSection(std::string_view trimmedName);
    std::vector<Section> sections_;
};

namespace ini {
bool isBlank(char c);
bool sameName(std::string_view a, std::string_view b);  // without case, ASCII letters
std::string_view trimBlanks(std::string_view s);
// A value as a read hands it out: one pair of matching quotes around it removed.
std::string unquoted(std::string_view value);
// A default as reads use it: trailing spaces removed, but an all-blank default keeps one.
std::string trimmedDefault(std::string_view fallback);
}  // namespace ini

}  // namespace snapdesk
