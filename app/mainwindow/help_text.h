#pragma once

#include <string>

namespace snapdesk {

// The help file's text as its window shows it: the lines of a paragraph of prose joined into
// one, so that the window wraps them at its own width. Headings, their underlines, blank
// lines, indented lines and lines laid out in columns (a run of blanks inside) stay as they
// are, and a line ending in ':' ends its paragraph.
std::string unwrapParagraphs(const std::string& text);

}  // namespace snapdesk
