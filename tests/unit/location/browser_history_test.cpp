// The browsers' history files: the readers over their bytes, where the files lie, and how
// often one save reads them.
#include <gtest/gtest.h>

#include "../../support/history_files.h"
#include "location/browser_history.h"
#include "platform/sim/sim_file_system.h"
#include "platform/sim/sim_shell.h"

namespace snapdesk {
namespace {

using history_files::Page;

const std::vector<Page> kPages = {
    {"Home", "http://www.example.com/"},
    {"Offers (new) for $5 \\ more", "http://example.com/a_(b)?q=$x"},
    {"Caf\xC3\xA9 menu", "file:///C|/My%20Docs/menu.htm"},
    {"A page whose title is long enough to be written on two lines",
     "http://example.org/a/rather/long/address/written/on/two/lines.html"},
};
const std::string kNotFound = "notfound";

// Every prefix of a file: a page's answer is its own address or "notfound", nothing else.
template <typename Read>
void expectTruncationsSafe(const std::string& file, const std::vector<std::string>& captions,
                           const std::vector<std::string>& addresses, Read read) {
    for (std::size_t size = 0; size <= file.size(); ++size) {
        const std::string part = file.substr(0, size);
        for (std::size_t k = 0; k < captions.size(); ++k) {
            const std::string found = read(captions[k], part);
            if (found != kNotFound && found != addresses[k]) {
                ADD_FAILURE() << "cut at " << size << ": " << captions[k] << " gave " << found;
                return;
            }
        }
    }
}

TEST(BrowserHistoryText, TitlesAreEncodedAsTheBrowserWritesThem) {
    EXPECT_EQ(morkEncodeTitle("Home"), "H$00o$00m$00e$00");
    EXPECT_EQ(morkEncodeTitle("  a)b$\\ "), "a$00\\)$00b$00\\$$00\\\\$00");
    EXPECT_EQ(morkEncodeTitle("Caf\xC3\xA9"), "C$00a$00f$00$E9$00");
    EXPECT_EQ(morkEncodeTitle("\xF0\x9F\x98\x80"), "=$D8$00$DE");  // a surrogate pair
}

TEST(BrowserHistoryText, FileAddressesBecomeLocalPathsOnlyWhenSure) {
    const std::vector<std::pair<std::string, std::string>> cases = {
        {"file:///C|/My%20Docs/a.htm", "C:\\My Docs\\a.htm"},
        {"http://x.com/a%20b/c.htm?q=1", "http://x.com/a b/c.htm?q=1"},
        {"file:///C:/x", "C:\\x"},
        {"file://localhost/C:/x", "C:\\x"},
        {"file://C|/x/", "C:\\x\\"},
        {"file://server/share/x", "\\\\server\\share\\x"},
        {"file://///server/share/x%23y.htm#top", "\\\\server\\share\\x#y.htm"},
        // Nothing sure to be a local path: left as it is, blanks restored.
        {"file:///etc/x%20y", "file:///etc/x y"},
        {"file://server", "file://server"},
        {"file://server//x", "file://server//x"},
        {"file://user@server/share", "file://user@server/share"},
        {"file:///C:", "file:///C:"},
        {"file:///C:/a%2Fb", "file:///C:/a%2Fb"},
        {"file:///C:/a:b", "file:///C:/a:b"},
        {"file:C:/x", "file:C:/x"},
        {"FILE:///C:/x", "FILE:///C:/x"},
    };
    for (const auto& [address, path] : cases) {
        EXPECT_EQ(addressToPath(address), path) << address;
    }
}

TEST(BrowserHistoryText, PreparedMorkTextJoinsContinuedLines) {
    EXPECT_EQ(prepareMorkText("(A1=ab\\\r\ncd)\r\n  (A2=x)\r\n"), "(A1=abcd)  (A2=x)");
    EXPECT_EQ(prepareMorkText("a\r\r\n\nb"), "a\r\nb");      // a break that only meets later stays
    EXPECT_EQ(prepareMorkText("a\r\\\r\n\nb"), "ab");        // CR and LF met across a continuation
    EXPECT_EQ(prepareMorkText("a\\\\\r\nb"), "a\\b");        // only the last backslash continues
    EXPECT_EQ(prepareMorkText("\\\r\n\\\r\n\\\r"), "\\\r");  // a cut file keeps its last bytes
}

TEST(BrowserHistoryText, Netscape6FindsEveryPageAndNothingElse) {
    std::vector<std::string> captions;
    std::vector<std::string> addresses;
    for (const auto& page : kPages) {
        captions.push_back(page.title + " - Netscape 6");
        addresses.push_back(addressToPath(page.address));
    }
    EXPECT_EQ(addresses[2], "C:\\My Docs\\menu.htm");
    for (const auto columns :
         {history_files::MorkColumns::declared, history_files::MorkColumns::usual}) {
        const std::string file = history_files::netscape6File(kPages, columns);
        const std::string text = prepareMorkText(file);
        for (std::size_t k = 0; k < kPages.size(); ++k) {
            EXPECT_EQ(netscape6AddressIn(captions[k], text), addresses[k]) << captions[k];
        }
        EXPECT_EQ(netscape6AddressIn("Home - Netscape 6 - Netscape 6", text), kNotFound);
        EXPECT_EQ(netscape6AddressIn("Netscape 6", text), kNotFound);
        EXPECT_EQ(netscape6AddressIn("Ho - Netscape 6", text), kNotFound);
        expectTruncationsSafe(file, captions, addresses, [](const auto& caption, const auto& part) {
            return netscape6AddressIn(caption, prepareMorkText(part));
        });
    }
    const std::vector<std::pair<std::string, std::string>> texts = {
        // The row naming the page has no address: never the address of the row before.
        {"<(100=http://a/)(101=T$00i$00t$00)(102=H$00o$00m$00e$00)>"
         "[1(^82^100)(^85^101)][2(^85^102)]",
         kNotFound},
        // The address atom 100, not 1000 defined after it.
        {"<(100=http://right/$41)(1000=http://wrong/)(101=H$00o$00m$00e$00)>"
         "[1(^82^100)(^85^101)]",
         "http://right/A"},
        {"82=URL)<(100=http://a/)(101=H$00o$00m$00e$00)>[1(^82^100)(^85^101)]", kNotFound},
        {"=H$00o$00m$00e$00)[1(^82^100)(^85^101)]", kNotFound},
        {"<(100=http://a/)(101=H$00o$00m$00e$00)>[1(^82^100 (^85^101)]", kNotFound},
        {"<(101=H$00o$00m$00e$00)>[1(^82^100)(^85^101)]", kNotFound},
        {"<(100=)(101=H$00o$00m$00e$00)>[1(^82^100)(^85^101)]", kNotFound},
        {"<(100=http://a/)>[1(^82^100)(^85^101)](101=H$00o$00m$00e$00", kNotFound},
    };
    for (const auto& [text, address] : texts) {
        EXPECT_EQ(netscape6AddressIn("Home - Netscape 6", text), address) << text;
    }
}

TEST(BrowserHistoryText, Netscape4FindsTheAddressAfterTheTitle) {
    const std::string file = history_files::netscape4File(kPages);
    std::vector<std::string> captions;
    std::vector<std::string> addresses;
    for (const auto& page : kPages) {
        captions.push_back(page.title + " - Netscape");
        addresses.push_back(page.address);
        EXPECT_EQ(netscape4AddressIn(captions.back(), file), page.address);
    }
    EXPECT_EQ(netscape4AddressIn("Home", file), kPages[0].address);
    EXPECT_EQ(netscape4AddressIn("Home - Netscape - Netscape", file), kNotFound);
    for (const std::string caption : {"Netscape", "", " - Netscape", "Hom - Netscape"}) {
        EXPECT_EQ(netscape4AddressIn(caption, file), kNotFound) << caption;
    }
    EXPECT_EQ(netscape4AddressIn("Home", std::string("\0Home\0\0x\0", 9)), kNotFound);
    expectTruncationsSafe(file, captions, addresses, netscape4AddressIn);
}

TEST(BrowserHistoryText, ExplorerTakesTheVisitedEntryBeforeTheTitle) {
    const std::string file = history_files::ieIndexFile(kPages);
    std::vector<std::string> captions;
    std::vector<std::string> addresses;
    for (const auto& page : kPages) {
        captions.push_back(page.title + " - Microsoft Internet Explorer");
        addresses.push_back(page.address);
        EXPECT_EQ(ieHistoryAddressIn(captions.back(), file), page.address);
    }
    EXPECT_EQ(ieHistoryAddressIn("Ho - Microsoft Internet Explorer", file), kNotFound);
    using namespace std::string_literals;
    // No entry before the title, and an entry without a user: never the next entry's address.
    EXPECT_EQ(ieHistoryAddressIn("Home", "Home\0Visited: a@http://b/\0"s), kNotFound);
    EXPECT_EQ(ieHistoryAddressIn("Home", "Visited: nobody\0Home\0Visited: a@http://b/\0"s),
              kNotFound);
    expectTruncationsSafe(file, captions, addresses, ieHistoryAddressIn);
}

TEST(BrowserHistoryFiles, ExplorerIndexLiesInTheHistoryFolder) {
    sim::SimShell shell;
    EXPECT_EQ(findIEHistoryIndex(shell, 7), kNotFound);
    shell.folders[special_folders::kHistory] = std::string("C:\\Windows\\History\0old", 23);
    EXPECT_EQ(findIEHistoryIndex(shell, 7), "C:\\WINDOWS\\HISTORY\\INDEX.DAT");
    EXPECT_EQ(shell.lastOwner, 7u);
}

TEST(BrowserHistoryFiles, Netscape4TakesTheProfileWrittenLast) {
    sim::SimFileSystem files;
    const std::string exe = "C:\\Program Files\\Netscape\\Communicator\\Program\\netscape.exe";
    EXPECT_EQ(findNetscape4History(files, exe), kNotFound);
    files.addFile(exe);
    files.addFile("C:\\Netscape.exe");
    EXPECT_EQ(findNetscape4History(files, "C:\\Netscape.exe"), "");
    EXPECT_EQ(findNetscape4History(files, exe), "");
    const std::string users = "C:\\PROGRAM FILES\\NETSCAPE\\USERS\\";
    files.addFolder(users + "empty");
    // Later only in the low half, which counts without sign; a tie keeps the first.
    for (const auto& [profile, time] :
         {std::pair{"alice", 0x17FFFFFFFull}, std::pair{"bob", 0x180000000ull},
          std::pair{"carol", 0x180000000ull}}) {
        files.writeFile(users + profile + "\\netscape.hst", "x");
        files.setLastWriteTime(users + profile + "\\netscape.hst", time);
    }
    EXPECT_EQ(findNetscape4History(files, exe), users + "bob\\NETSCAPE.HST");
}

TEST(BrowserHistoryFiles, Netscape6SearchesFiveHundredFoldersBreadthFirst) {
    sim::SimFileSystem files;
    sim::SimShell shell;
    EXPECT_EQ(findNetscape6History(files, shell, 0), kNotFound);
    shell.folders[special_folders::kApplicationData] = "C:\\Windows\\Application Data";
    const std::string mozilla = "C:\\WINDOWS\\APPLICATION DATA\\MOZILLA";
    EXPECT_EQ(findNetscape6History(files, shell, 0), kNotFound);
    files.writeFile(mozilla + "\\Profiles\\a\\x.slt\\history.dat", "x");
    files.setLastWriteTime(mozilla + "\\Profiles\\a\\x.slt\\history.dat", 5);
    files.writeFile(mozilla + "\\Profiles\\b\\history.dat", "x");
    files.setLastWriteTime(mozilla + "\\Profiles\\b\\history.dat", 9);
    EXPECT_EQ(findNetscape6History(files, shell, 0), mozilla + "\\PROFILES\\B\\HISTORY.DAT");
    files.remove(mozilla + "\\Profiles");
    // The start folder and 499 below it are read; the 500th below it is not.
    for (int k = 1; k <= 500; ++k) {
        files.addFolder(mozilla + "\\F" + std::to_string(k));
    }
    files.writeFile(mozilla + "\\F499\\History.dat", "x");
    files.writeFile(mozilla + "\\F500\\History.dat", "x");
    files.setLastWriteTime(mozilla + "\\F500\\History.dat", 1);
    EXPECT_EQ(findNetscape6History(files, shell, 0), mozilla + "\\F499\\HISTORY.DAT");
}

TEST(BrowserHistoryFiles, EachFileIsReadOncePerPass) {
    sim::SimFileSystem files;
    sim::SimShell shell;
    shell.folders[special_folders::kApplicationData] = "C:\\AppData";
    shell.folders[special_folders::kHistory] = "C:\\History";
    const std::string exe = "C:\\Netscape\\Program\\netscape.exe";
    files.addFile(exe);
    files.writeFile("C:\\AppData\\Mozilla\\p\\history.dat", history_files::netscape6File(kPages));
    files.writeFile("C:\\History\\index.dat", history_files::ieIndexFile(kPages));
    BrowserHistory history(files, shell);
    history.setOwnerWindow(9);

    EXPECT_EQ(history.netscape6Address("Netscape 6"), kNotFound);
    EXPECT_EQ(history.ieHistoryAddress("Ho"), kNotFound);
    EXPECT_EQ(shell.queries + history.fileReads(), 0);  // nothing looked up for no page
    for (int pass = 1; pass <= 2; ++pass) {
        EXPECT_EQ(history.netscape6Address("Home - Netscape 6"), kPages[0].address);
        EXPECT_EQ(history.netscape6Address(kPages[3].title + " - Netscape 6"), kPages[3].address);
        EXPECT_EQ(history.ieHistoryAddress("Home"), kPages[0].address);
        EXPECT_EQ(history.ieHistoryAddress(kPages[1].title), kPages[1].address);
        EXPECT_EQ(history.fileReads(), 2 * pass);
        history.endPass();
    }
    // A file changed during a pass is seen in the next one.
    EXPECT_EQ(history.netscape6Address("Home - Netscape 6"), kPages[0].address);
    files.writeFile("C:\\AppData\\Mozilla\\p\\history.dat", "");
    EXPECT_EQ(history.netscape6Address("Home - Netscape 6"), kPages[0].address);
    history.endPass();
    EXPECT_EQ(history.netscape6Address("Home - Netscape 6"), kNotFound);
    EXPECT_EQ(shell.queries, 2);
    EXPECT_EQ(shell.lastOwner, 9u);

    // No history yet for Netscape 4: asked again at the next need.
    EXPECT_EQ(history.netscape4HistoryPath(exe), "");
    EXPECT_EQ(history.netscape4Address("Home - Netscape"), kNotFound);
    files.writeFile("C:\\NETSCAPE\\USERS\\me\\netscape.hst", history_files::netscape4File(kPages));
    EXPECT_EQ(history.netscape4HistoryPath(exe), "C:\\NETSCAPE\\USERS\\me\\NETSCAPE.HST");
    EXPECT_EQ(history.netscape4Address("Home - Netscape"), kPages[0].address);
}

}  // namespace
}  // namespace snapdesk
