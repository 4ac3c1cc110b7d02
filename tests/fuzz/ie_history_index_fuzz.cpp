// Arbitrary bytes as an Internet Explorer history index: the first byte gives the length of
// the caption that follows, the rest is the file. Besides the sanitizers' findings, an answer
// is "notfound" or an address the file holds after an "@" up to a NUL. The caption also goes
// through addressToPath, which either leaves it as it was or gives a well-formed local path.
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

std::string blanksRestored(const std::string& s) {
    std::string out;
    for (std::size_t i = 0; i < s.size(); ++i) {
        if (s.compare(i, 3, "%20") == 0) {
            out += ' ';
            i += 2;
        } else {
            out += s[i];
        }
    }
    return out;
}

void requireLocalPathOrUnchanged(const std::string& address) {
    const std::string path = snapdesk::addressToPath(address);
    if (path == blanksRestored(address)) {
        return;
    }
    require(address.starts_with("file://"));
    const bool drive = path.size() >= 3 && path[1] == ':' && path[2] == '\\';
    require(drive || (path.starts_with("\\\\") && path.size() > 2 && path[2] != '\\'));
    for (std::size_t i = 0; i < path.size(); ++i) {
        const auto c = static_cast<unsigned char>(path[i]);
        require(c >= ' ' &&
                std::string("/<>\"|?*").find(static_cast<char>(c)) == std::string::npos);
        require(c != ':' || (drive && i == 1));
    }
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
    const std::string address = snapdesk::ieHistoryAddressIn(caption, file);
    require(address == "notfound" || (!address.empty() && address.find('\0') == std::string::npos &&
                                      file.find('@' + address + '\0') != std::string::npos));
    requireLocalPathOrUnchanged(caption);
    return 0;
}

#ifdef SNAPDESK_WRITE_SEEDS
// The seeds: the test-support index with each of its pages' captions, and file addresses.
#include <fstream>

#include "../support/history_files.h"

int main(int, char** argv) {
    using namespace snapdesk::history_files;
    const std::vector<Page> pages = {
        {"Home", "http://www.example.com/"},
        {"Offers (new) for $5", "http://example.com/a_(b)?q=$x"},
        {"Menu", "file:///C|/My%20Docs/menu.htm"},
    };
    int n = 0;
    const auto seed = [&](const std::string& caption, const std::string& file) {
        std::ofstream(std::string(argv[1]) + "/seed" + std::to_string(++n), std::ios::binary)
            << static_cast<char>(caption.size()) << caption << file;
    };
    for (const auto& page : pages) {
        seed(page.title + " - Microsoft Internet Explorer", ieIndexFile(pages));
    }
    for (const std::string address :
         {"file:///C|/My%20Docs/a.htm", "file://localhost/C:/x#top", "file://server/share/x",
          "file://///server/share/a%23b", "file:///etc/x"}) {
        seed(address, ieIndexFile(pages));
    }
    return 0;
}
#endif
