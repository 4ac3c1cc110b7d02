// Arbitrary bytes as a Netscape 4 history: the first byte gives the length of the caption
// that follows, the rest is the file. Besides the sanitizers' findings, an answer is
// "notfound" or an address the file holds between two NULs.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "location/browser_history.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) {
        return 0;
    }
    const std::size_t captionSize = std::min<std::size_t>(data[0], size - 1);
    const std::string caption(reinterpret_cast<const char*>(data) + 1, captionSize);
    const std::string file(reinterpret_cast<const char*>(data) + 1 + captionSize,
                           size - 1 - captionSize);
    const std::string address = snapdesk::netscape4AddressIn(caption, file);
    if (address != "notfound" &&
        (address.empty() || file.find('\0' + address + '\0') == std::string::npos)) {
        std::abort();
    }
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
        {"Offers (new) for $5", "http://example.com/a_(b)?q=$x"},
        {"Netscape", "file:///C|/My%20Docs/menu.htm"},
    };
    int n = 0;
    for (const auto& page : pages) {
        const std::string caption = page.title + " - Netscape";
        std::ofstream(std::string(argv[1]) + "/seed" + std::to_string(++n), std::ios::binary)
            << static_cast<char>(caption.size()) << caption << netscape4File(pages);
    }
    return 0;
}
#endif
