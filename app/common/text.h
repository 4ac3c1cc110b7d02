#pragma once

#include <cstddef>
#include <string>
#include <string_view>

// String helpers in the program's terms. Positions are 1-based and 0 means "not found",
// as the naming rules are written. Everything is case-sensitive unless the name says otherwise.
namespace snapdesk::text {

std::string upperCase(std::string_view s);  // ASCII letters only, like the stored EXE paths
bool contains(std::string_view s, std::string_view part);
bool beginsWith(std::string_view s, std::string_view prefix);
bool endsWith(std::string_view s, std::string_view suffix);

// Leading and trailing blanks (spaces only) removed.
std::string trim(std::string_view s);

// 1-based position of the first `part` at or after `start`, 0 when absent.
std::size_t findFirst(std::string_view s, std::string_view part, std::size_t start = 1);
// 1-based position of the last `part`, 0 when absent.
std::size_t findLast(std::string_view s, std::string_view part);

// The first n characters (all of s when n is larger).
std::string left(std::string_view s, std::size_t n);
// From 1-based position `from` to the end (empty when past the end).
std::string from(std::string_view s, std::size_t from);

// The text up to its first NUL, trimmed of blanks; the whole text trimmed when it has none.
std::string NulTrim(std::string_view s);

// Every "&" doubled, so that a menu or label shows the text as typed, not as an access key.
std::string doubleAmpersands(std::string_view s);

// Whether the text holds a control character (below a blank, or DEL).
bool hasControlCharacter(std::string_view s);

// An http or https address, in any letter case.
bool isWebAddress(std::string_view s);

}  // namespace snapdesk::text
