#pragma once

// A JSON reader for the browsers' settings files ("Local State"). They are outside data: any
// text that is not JSON gives nothing, and nesting deeper than a settings file needs is refused.

#include <initializer_list>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace snapdesk {

struct JsonValue {
    enum class Kind { Null, Boolean, Number, String, Array, Object };
    Kind kind = Kind::Null;
    std::string name;              // the member's name, for a member of an object
    std::string text;              // a string's value in UTF-8; a number or boolean as written
    std::vector<JsonValue> items;  // the elements of an array or the members of an object

    // The first member of that name of an object; nullptr for none or another kind.
    const JsonValue* member(std::string_view memberName) const;
    // The value at a path of member names, as member() after member().
    const JsonValue* at(std::initializer_list<std::string_view> path) const;
};

std::optional<JsonValue> parseJson(std::string_view text);

}  // namespace snapdesk
