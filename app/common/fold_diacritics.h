#pragma once

#include <string>
#include <string_view>

namespace snapdesk {

// UTF-8 text in the form a search compares: ASCII letters in lower case, and Latin letters
// with diacritics (Latin-1 Supplement and Latin Extended-A) as their base letters, in lower
// case ("É" and "é" as "e", "ß" as "ss", "Æ" as "ae", "Ł" as "l"). Other characters, and bytes
// that are no valid UTF-8, pass unchanged.
std::string foldForSearch(std::string_view utf8);

// Appends the folded text to `out`, for callers that join several texts.
void appendFolded(std::string& out, std::string_view utf8);

}  // namespace snapdesk
