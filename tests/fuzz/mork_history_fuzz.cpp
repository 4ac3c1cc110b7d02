// Arbitrary bytes as a Netscape 6 history: the first byte gives the length of the caption
// that follows, the rest is the file. Besides the sanitizers' findings, the prepared text must
// be the file with its continued lines joined and then its line breaks dropped, and every
// answer is "notfound" or an address without NUL.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "location/browser_history.h"

namespace {

void require(bool condition) {
    if (!condition) {
        std::abort();
    }
}

// Every `from` replaced, left to right, as the browser's reader was first written.
std::string replaced(const std::string& s, const std::string& from) {
    std::string out;
    std::size_t start = 0;
    for (std::size_t at = s.find(from); at != std::string::npos; at = s.find(from, start)) {
        out.append(s, start, at - start);
        start = at + from.size();
    }
    return out + s.substr(start);
}

void requireAnswer(const std::string& address) {
    require(address == "notfound" || (!address.empty() && address.find('\0') == std::string::npos));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) {
        return 0;
    }
    const std::size_t captionSize = std::min<std::size_t>(data[0], size - 1);
    const std::string caption(reinterpret_cast<const char*>(data) + 1, captionSize);
    const std::string file(reinterpret_cast<const char*>(data) + 1 + captionSize,
                           size - 1 - captionSize);
    const std::string prepared = snapdesk::prepareMorkText(file);
    require(prepared == replaced(replaced(file, "\\\r\n"), "\r\n"));
    requireAnswer(snapdesk::netscape6AddressIn(caption, prepared));
    // Unprepared text still holds line breaks, in ids and values too.
    requireAnswer(snapdesk::netscape6AddressIn(caption, file));
    return 0;
}

#ifdef SNAPDESK_WRITE_SEEDS
// The seeds: the test-support history with each of its pages' captions.
#include <fstream>

#include "../support/history_files.h"

int main(int, char** argv) {
    using namespace snapdesk::history_files;
    const std::vector<Page> pages = {
        {"Home", "http://www.example.com/"},
        {"Offers (new) for $5 \\ more", "http://example.com/a_(b)?q=$x"},
        {"Caf\xC3\xA9 menu", "file:///C|/My%20Docs/menu.htm"},
        {"A page whose title is long enough to be written on two lines",
         "file://server/share/a/rather/long/address/written/on/two/lines.html"},
    };
    int n = 0;
    for (const auto columns : {MorkColumns::declared, MorkColumns::usual}) {
        for (const auto& page : pages) {
            const std::string caption = page.title + " - Netscape 6";
            std::ofstream(std::string(argv[1]) + "/seed" + std::to_string(++n), std::ios::binary)
                << static_cast<char>(caption.size()) << caption << netscape6File(pages, columns);
        }
    }
    return 0;
}
#endif
