// A Netscape 6 history of about 20 MB. Prints, as medians of several rounds, the time of one
// page lookup against one forward search over the whole prepared text (goal: at most 3), and
// the time of preparing the text against reading the file from disk (goal: at most 2).
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "../support/history_files.h"

namespace {

using Clock = std::chrono::steady_clock;
using namespace snapdesk;

double seconds(Clock::duration d) {
    return std::chrono::duration<double>(d).count();
}

template <typename F>
double timed(F&& f) {
    const auto start = Clock::now();
    f();
    return seconds(Clock::now() - start);
}

double median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

std::string readWhole(const std::string& path) {
    std::ifstream in(path, std::ios::binary | std::ios::ate);
    std::string bytes(static_cast<std::size_t>(in.tellg()), '\0');
    in.seekg(0);
    in.read(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    return bytes;
}

}  // namespace

int main() {
    constexpr std::size_t kPages = 80000;
    constexpr std::size_t kLookups = 50;
    constexpr int kRounds = 7;
    std::vector<history_files::Page> pages;
    for (std::size_t k = 0; k < kPages; ++k) {
        const std::string n = std::to_string(k);
        pages.push_back({"Notes on topic " + n + " - part " + std::to_string(k % 7),
                         "http://www.example.com/articles/" + n + "/index.html?from=history"});
    }
    const std::string file = history_files::netscape6File(pages);
    const std::string path =
        (std::filesystem::temp_directory_path() / "snapdesk_netscape6_bench.dat").string();
    std::ofstream(path, std::ios::binary) << file;

    const std::string text = prepareMorkText(readWhole(path));
    // The needle a lookup of a page that is not there starts with.
    std::string absent = "=";
    absent += morkEncodeTitle("No such page anywhere");
    absent += ')';
    std::vector<std::size_t> chosen;
    for (std::size_t i = 0; i < kLookups; ++i) {
        chosen.push_back(i * (kPages - 1) / (kLookups - 1));
    }

    std::vector<double> lookupRatios;
    std::vector<double> prepareRatios;
    std::vector<double> findTimes;
    std::vector<double> readTimes;
    std::size_t sink = 0;
    for (int round = 0; round < kRounds; ++round) {
        const double find = timed([&] { sink += text.find(absent); });
        bool right = true;
        const double lookups = timed([&] {
            for (const std::size_t k : chosen) {
                right = right && netscape6AddressIn(pages[k].title + " - Netscape 6", text) ==
                                     pages[k].address;
            }
        });
        if (!right) {
            std::printf("a lookup gave the wrong address\n");
            return 1;
        }
        lookupRatios.push_back(lookups / kLookups / find);
        findTimes.push_back(find);

        std::string bytes;
        const double read = timed([&] { bytes = readWhole(path); });
        const double prepare = timed([&] { sink += prepareMorkText(bytes).size(); });
        prepareRatios.push_back(prepare / read);
        readTimes.push_back(read);
    }
    std::filesystem::remove(path);
    std::printf("history: %.1f MB, %zu pages, %zu lookups a round, %d rounds (sink %zu)\n",
                static_cast<double>(file.size()) / 1e6, kPages, kLookups, kRounds, sink % 10);
    std::printf("one lookup / one find over the text (%.2f ms): %.2f (goal <= 3)\n",
                median(findTimes) * 1e3, median(lookupRatios));
    std::printf("preparing the text / reading the file (%.2f ms): %.2f (goal <= 2)\n",
                median(readTimes) * 1e3, median(prepareRatios));
    return 0;
}
