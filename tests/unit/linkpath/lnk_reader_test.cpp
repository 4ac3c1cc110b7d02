// The portable shortcut reader on files Wine's shell-link objects wrote and on byte images built
// here for the kinds Wine does not write (Unicode link info, network shares, environment
// blocks, item lists without link info), plus every way a file can be cut short or malformed.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <fstream>
#include <iterator>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "lnk_reader.h"
#include "location/link_path.h"

namespace {

using Image = std::vector<unsigned char>;

constexpr std::uint32_t kHasIdList = 0x1;
constexpr std::uint32_t kHasLinkInfo = 0x2;
constexpr std::uint32_t kHasName = 0x4;
constexpr std::uint32_t kHasArguments = 0x20;
constexpr std::uint32_t kIsUnicode = 0x80;
constexpr std::uint32_t kForceNoLinkInfo = 0x100;
constexpr std::uint32_t kHasExpString = 0x200;

void put16(Image& out, std::uint32_t value) {
    out.push_back(static_cast<unsigned char>(value & 0xFF));
    out.push_back(static_cast<unsigned char>((value >> 8) & 0xFF));
}
void put32(Image& out, std::uint32_t value) {
    put16(out, value & 0xFFFF);
    put16(out, value >> 16);
}
void putAnsi(Image& out, const std::string& text) {
    out.insert(out.end(), text.begin(), text.end());
    out.push_back(0);
}
void putWide(Image& out, const std::u16string& text) {
    for (const char16_t unit : text) {
        put16(out, unit);
    }
    put16(out, 0);
}
void patch32(Image& out, std::size_t at, std::uint32_t value) {
    for (int i = 0; i < 4; ++i) {
        out[at + static_cast<std::size_t>(i)] = static_cast<unsigned char>(value >> (8 * i));
    }
}

Image header(std::uint32_t flags) {
    Image out;
    put32(out, 0x4C);
    const unsigned char shellLink[16] = {0x01, 0x14, 0x02, 0, 0, 0, 0, 0,
                                         0xC0, 0,    0,    0, 0, 0, 0, 0x46};
    out.insert(out.end(), shellLink, shellLink + 16);
    put32(out, flags);
    out.resize(0x4C, 0);
    return out;
}

Image item(unsigned char type, const Image& body) {
    Image out;
    put16(out, static_cast<std::uint32_t>(body.size() + 3));
    out.push_back(type);
    out.insert(out.end(), body.begin(), body.end());
    return out;
}

Image myComputer() {
    return item(0x1F, {0x50, 0xE0, 0x4F, 0xD0, 0x20, 0xEA, 0x3A, 0x69, 0x10, 0xA2, 0xD8, 0x08, 0x00,
                       0x2B, 0x30, 0x30, 0x9D});
}
Image otherRoot() {  // the Documents folder: a root with no plain path in the list
    return item(0x1F, {0x50, 0xBA, 0x8F, 0x0D, 0x45, 0x25, 0xAD, 0xD0, 0x11, 0x98, 0xA8, 0x08, 0x00,
                       0x36, 0x1B, 0x11, 0x03});
}
Image drive(const std::string& root) {
    Image body;
    putAnsi(body, root);
    body.resize(22, 0);
    return item(0x2F, body);
}
// A file entry with a short primary name and, optionally, a version-9 extension holding the
// long name.
Image fileEntry(const std::string& shortName, const std::optional<std::u16string>& longName) {
    Image body;
    body.push_back(0);         // unknown
    put32(body, 0);            // size
    put32(body, 0);            // modified
    put16(body, 0x20);         // attributes
    putAnsi(body, shortName);  // at item offset 14
    if (body.size() % 2 == 1) {
        body.push_back(0);
    }
    if (longName) {
        const std::size_t extensionAt = body.size() + 3;
        Image extension;
        put16(extension, 0);  // size, patched below
        put16(extension, 9);
        put32(extension, 0xBEEF0004);
        extension.resize(46, 0);
        putWide(extension, *longName);
        put16(extension, static_cast<std::uint32_t>(extensionAt));
        extension[0] = static_cast<unsigned char>(extension.size());
        extension[1] = static_cast<unsigned char>(extension.size() >> 8);
        body.insert(body.end(), extension.begin(), extension.end());
    } else {
        put16(body, 0);
    }
    return item(0x32, body);
}
Image idList(const std::vector<Image>& items) {
    Image list;
    for (const auto& one : items) {
        list.insert(list.end(), one.begin(), one.end());
    }
    put16(list, 0);
    Image out;
    put16(out, static_cast<std::uint32_t>(list.size()));
    out.insert(out.end(), list.begin(), list.end());
    return out;
}

Image localLinkInfo(const std::string& base, const std::string& suffix,
                    const std::optional<std::u16string>& wideBase = std::nullopt) {
    const std::uint32_t headerSize = wideBase ? 0x24 : 0x1C;
    Image out(headerSize, 0);
    Image volume;
    put32(volume, 0x11);
    put32(volume, 3);
    put32(volume, 0);
    put32(volume, 0x10);
    volume.push_back(0);
    patch32(out, 4, headerSize);
    patch32(out, 8, 1);
    patch32(out, 12, static_cast<std::uint32_t>(out.size()));
    out.insert(out.end(), volume.begin(), volume.end());
    patch32(out, 16, static_cast<std::uint32_t>(out.size()));
    putAnsi(out, base);
    patch32(out, 24, static_cast<std::uint32_t>(out.size()));
    putAnsi(out, suffix);
    if (wideBase) {
        patch32(out, 28, static_cast<std::uint32_t>(out.size()));
        putWide(out, *wideBase);
        patch32(out, 32, 0);
    }
    patch32(out, 0, static_cast<std::uint32_t>(out.size()));
    return out;
}

Image networkLinkInfo(const std::string& share, const std::string& suffix) {
    Image out(0x1C, 0);
    patch32(out, 4, 0x1C);
    patch32(out, 8, 2);
    patch32(out, 20, static_cast<std::uint32_t>(out.size()));
    Image link;
    put32(link, 0);  // size, patched
    put32(link, 0);
    put32(link, 0x14);
    put32(link, 0);
    put32(link, 0x20000);
    putAnsi(link, share);
    patch32(link, 0, static_cast<std::uint32_t>(link.size()));
    out.insert(out.end(), link.begin(), link.end());
    patch32(out, 24, static_cast<std::uint32_t>(out.size()));
    putAnsi(out, suffix);
    patch32(out, 0, static_cast<std::uint32_t>(out.size()));
    return out;
}

Image counted(const std::u16string& text, bool unicode) {
    Image out;
    put16(out, static_cast<std::uint32_t>(text.size()));
    for (const char16_t unit : text) {
        if (unicode) {
            put16(out, unit);
        } else {
            out.push_back(static_cast<unsigned char>(unit));
        }
    }
    return out;
}

Image environmentBlock(const std::string& ansi, const std::u16string& wide) {
    Image out;
    put32(out, 0x314);
    put32(out, 0xA0000001);
    Image ansiField(260, 0);
    std::memcpy(ansiField.data(), ansi.data(), ansi.size());
    out.insert(out.end(), ansiField.begin(), ansiField.end());
    Image wideField;
    for (const char16_t unit : wide) {
        put16(wideField, unit);
    }
    wideField.resize(520, 0);
    out.insert(out.end(), wideField.begin(), wideField.end());
    return out;
}

Image link(std::uint32_t flags, const std::vector<Image>& sections) {
    Image out = header(flags);
    for (const auto& section : sections) {
        out.insert(out.end(), section.begin(), section.end());
    }
    put32(out, 0);  // terminal block
    return out;
}

// The reader's answer with the 260-byte target inside a larger guarded buffer.
struct Answer {
    std::int32_t code = 0;
    std::string target;
    bool guardIntact = true;
};

constexpr unsigned char kGuard = 0xA5;

Answer read(const Image& bytes) {
    std::vector<char> buffer(zim::kLinkPathSize + 64, static_cast<char>(kGuard));
    Answer answer;
    answer.code = zim::readLinkPath(bytes.data(), bytes.size(), buffer.data());
    const auto end = std::find(buffer.begin(), buffer.begin() + zim::kLinkPathSize, '\0');
    EXPECT_NE(end, buffer.begin() + zim::kLinkPathSize) << "target not terminated";
    answer.target.assign(buffer.begin(), end);
    for (std::size_t i = zim::kLinkPathSize; i < buffer.size(); ++i) {
        answer.guardIntact = answer.guardIntact && static_cast<unsigned char>(buffer[i]) == kGuard;
    }
    return answer;
}

Image fileBytes(const std::string& name) {
    std::ifstream in(std::string(LINKPATH_TEST_DATA) + "/" + name, std::ios::binary);
    EXPECT_TRUE(in.good()) << name;
    return Image(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

TEST(LnkReader, GivesWhatWineShellLinksGaveForTheFilesTheyWrote) {
    // Expected answers measured with GetLinkPath under Wine on the same files. The long target
    // was saved with a stray byte for its path, which both refuse.
    const std::map<std::string, std::pair<std::int32_t, std::string>> expected = {
        {"existing_file.lnk", {zim::kPathFound, "C:\\lp\\target.txt"}},
        {"folder.lnk", {zim::kPathFound, "C:\\lp"}},
        {"my_computer.lnk", {zim::kNoFileSystemPath, ""}},
        {"control_panel.lnk", {zim::kNoFileSystemPath, ""}},
        {"documents_folder.lnk", {zim::kPathFound, "C:\\users\\root\\Documents\\"}},
        {"unc_share.lnk", {zim::kPathFound, "\\\\server\\share\\file.txt"}},
        {"with_strings.lnk", {zim::kPathFound, "C:\\windows\\notepad.exe"}},
        {"accented_name.lnk", {zim::kPathFound, "C:\\lp\\caf\xe9.txt"}},
        {"cjk_name.lnk", {zim::kPathFound, "C:\\lp\\?.txt"}},
        {"variable_in_path.lnk", {zim::kPathFound, "C:\\%WINDIR%\\notepad.exe"}},
        {"long_target.lnk", {zim::kNotATargetPath, ""}},
    };
    for (const auto& [name, answer] : expected) {
        const Answer got = read(fileBytes(name));
        EXPECT_EQ(got.code, answer.first) << name;
        EXPECT_EQ(got.target, answer.second) << name;
        EXPECT_TRUE(got.guardIntact) << name;
    }
}

TEST(LnkReader, ReadsTheLinkInfoPathInItsAnsiOrUnicodeForm) {
    EXPECT_EQ(read(link(kHasLinkInfo, {localLinkInfo("C:\\Data\\", "report.doc")})).target,
              "C:\\Data\\report.doc");
    // The Unicode form wins and is given in the ANSI page: the euro sign is 0x80 there, a
    // character the page lacks becomes '?'.
    const Answer wide = read(
        link(kHasLinkInfo, {localLinkInfo("C:\\X\\OLD.TXT", "", u"C:\\X\\\u20ac \u4e2d.txt")}));
    EXPECT_EQ(wide.code, zim::kPathFound);
    EXPECT_EQ(wide.target, "C:\\X\\\x80 ?.txt");
    EXPECT_EQ(read(link(kHasLinkInfo, {networkLinkInfo("\\\\server\\share", "dir\\a.txt")})).target,
              "\\\\server\\share\\dir\\a.txt");
    EXPECT_EQ(read(link(kHasLinkInfo, {networkLinkInfo("\\\\server\\share", "")})).target,
              "\\\\server\\share");
}

TEST(LnkReader, SpellsThePathOfAnItemListWithoutLinkInfo) {
    const Image items = idList({myComputer(), drive("D:\\"), fileEntry("PROJEC~1", u"Projects"),
                                fileEntry("NOTES~1.TXT", u"notes for today.txt")});
    const Answer got = read(link(kHasIdList, {items}));
    EXPECT_EQ(got.code, zim::kPathFound);
    EXPECT_EQ(got.target, "D:\\Projects\\notes for today.txt");
    // Without the extension the primary name is all there is.
    EXPECT_EQ(read(link(kHasIdList,
                        {idList({myComputer(), drive("C:\\"), fileEntry("A.TXT", std::nullopt)})}))
                  .target,
              "C:\\A.TXT");
    // Link info wins over the item list unless the file forbids it.
    const Image both = idList({myComputer(), drive("C:\\"), fileEntry("B.TXT", std::nullopt)});
    const Image info = localLinkInfo("E:\\moved.txt", "");
    EXPECT_EQ(read(link(kHasIdList | kHasLinkInfo, {both, info})).target, "E:\\moved.txt");
    EXPECT_EQ(read(link(kHasIdList | kHasLinkInfo | kForceNoLinkInfo, {both, info})).target,
              "C:\\B.TXT");
}

TEST(LnkReader, AnswersOneWithAnEmptyTargetForPlacesWithoutAPath) {
    for (const Image& items : {idList({}), idList({myComputer()}), idList({otherRoot()}),
                               idList({otherRoot(), fileEntry("X.TXT", std::nullopt)})}) {
        const Answer got = read(link(kHasIdList, {items}));
        EXPECT_EQ(got.code, zim::kNoFileSystemPath);
        EXPECT_EQ(got.target, "");
    }
    EXPECT_EQ(read(link(0, {})).code, zim::kNoFileSystemPath);
}

TEST(LnkReader, KeepsTheEnvironmentFormOfTheTargetUnexpanded) {
    const Image info = localLinkInfo("C:\\Users\\ann\\notes.txt", "");
    const Image strings = counted(u"Notes", true);
    const Image arguments = counted(u"/x", true);
    const Image block = environmentBlock("%USERPROFILE%\\ansi.txt", u"%USERPROFILE%\\notes.txt");
    const std::uint32_t flags = kHasLinkInfo | kHasName | kHasArguments | kIsUnicode;
    const Answer got = read(link(flags | kHasExpString, {info, strings, arguments, block}));
    EXPECT_EQ(got.code, zim::kPathFound);
    EXPECT_EQ(got.target, "%USERPROFILE%\\notes.txt");
    // The ANSI field serves when the Unicode one is empty; without the flag the block is not
    // the target.
    EXPECT_EQ(read(link(kHasExpString, {environmentBlock("%TEMP%\\a.txt", u"")})).target,
              "%TEMP%\\a.txt");
    EXPECT_EQ(read(link(flags, {info, strings, arguments, block})).target,
              "C:\\Users\\ann\\notes.txt");
    // 8-bit string data is skipped by its own unit size.
    EXPECT_EQ(read(link(kHasName | kHasExpString,
                        {counted(u"Name", false), environmentBlock("%A%\\b", u"")}))
                  .target,
              "%A%\\b");
}

TEST(LnkReader, NeverWritesMoreThanTheBufferAndRefusesWhatDoesNotFit) {
    const std::string room = "C:\\" + std::string(zim::kLinkPathSize - 4, 'x');  // 259 chars
    const Answer fits = read(link(kHasLinkInfo, {localLinkInfo(room, "")}));
    EXPECT_EQ(fits.code, zim::kPathFound);
    EXPECT_EQ(fits.target, room);
    EXPECT_TRUE(fits.guardIntact);
    for (const std::string& tooLong : {room + "y", room + std::string(5000, 'z')}) {
        const Answer got = read(link(kHasLinkInfo, {localLinkInfo(tooLong, "")}));
        EXPECT_EQ(got.code, zim::kPathTooLong);
        EXPECT_EQ(got.target, "");
        EXPECT_TRUE(got.guardIntact);
    }
    // Base and suffix together count, and so does the environment form.
    EXPECT_EQ(read(link(kHasLinkInfo, {localLinkInfo(room, "\\a")})).code, zim::kPathTooLong);
    EXPECT_EQ(read(link(kHasExpString, {environmentBlock("%" + std::string(258, 'e'), u"")})).code,
              zim::kPathFound);  // fills the fixed 260-byte field with its zero
}

TEST(LnkReader, RefusesStoredTextThatIsNoPath) {
    for (const std::string& stored : {std::string("\x01"), std::string("C:\\a\tb.txt"),
                                      std::string("notes.txt"), std::string("C")}) {
        const Answer got = read(link(kHasLinkInfo, {localLinkInfo(stored, "")}));
        EXPECT_EQ(got.code, zim::kNotATargetPath) << stored;
        EXPECT_EQ(got.target, "");
    }
    EXPECT_EQ(read(link(kHasLinkInfo, {localLinkInfo("z:", "")})).target, "z:");
}

TEST(LnkReader, RejectsFilesThatAreNotShortcuts) {
    const Image good = link(kHasLinkInfo, {localLinkInfo("C:\\a.txt", "")});
    Image wrongSize = good;
    wrongSize[0] = 0x4D;
    Image wrongClass = good;
    wrongClass[5] = 0x15;
    const std::string text =
        "hello, this is not a shortcut at all but long enough........."
        "................................................................";
    for (const Image& bad : {Image{}, Image(text.begin(), text.end()), wrongSize, wrongClass}) {
        const Answer got = read(bad);
        EXPECT_LT(got.code, 0);
        EXPECT_EQ(got.target, "");
    }
}

TEST(LnkReader, FailsCleanlyOnEveryCutBeforeTheTail) {
    const Image items = idList({myComputer(), drive("C:\\"), fileEntry("F.TXT", u"file.txt")});
    const Image full = link(kHasIdList | kHasLinkInfo | kHasName | kIsUnicode | kHasExpString,
                            {items, localLinkInfo("C:\\file.txt", ""), counted(u"name", true),
                             environmentBlock("%A%", u"%A%\\file.txt")});
    const std::size_t blockStart = full.size() - 4 - 0x314;
    for (std::size_t length = 0; length < full.size(); ++length) {
        const Image cut(full.begin(), full.begin() + static_cast<std::ptrdiff_t>(length));
        const Answer got = read(cut);
        if (length < blockStart) {
            EXPECT_LT(got.code, 0) << length;
            EXPECT_EQ(got.target, "") << length;
        } else if (length < blockStart + 0x314) {
            // A cut environment block is left out, as the shell does with unreadable tails.
            EXPECT_EQ(got.target, "C:\\file.txt") << length;
        } else {
            EXPECT_EQ(got.target, "%A%\\file.txt") << length;
        }
        EXPECT_TRUE(got.guardIntact) << length;
    }
    EXPECT_EQ(read(full).target, "%A%\\file.txt");
}

TEST(LnkReader, RejectsInnerSizesThatPointOutside) {
    Image items = idList({myComputer(), drive("C:\\")});
    items[2] = 0xFF;  // first item longer than the list
    EXPECT_LT(read(link(kHasIdList, {items})).code, 0);

    Image info = localLinkInfo("C:\\a.txt", "");
    patch32(info, 16, 0x7FFFFFF0);  // base path far outside
    EXPECT_LT(read(link(kHasLinkInfo, {info})).code, 0);

    Image unterminated = localLinkInfo("C:\\a.txt", "");
    unterminated.resize(unterminated.size() - 1);  // suffix loses its zero
    patch32(unterminated, 0, static_cast<std::uint32_t>(unterminated.size()));
    EXPECT_LT(read(link(kHasLinkInfo, {unterminated})).code, 0);

    // A tail block longer than the file ends the blocks; the path stands without it.
    Image block = environmentBlock("%A%", u"");
    patch32(block, 0, 0x10000);
    EXPECT_EQ(
        read(link(kHasLinkInfo | kHasExpString, {localLinkInfo("C:\\a.txt", ""), block})).target,
        "C:\\a.txt");
}

TEST(ShortcutFileReader, GivesUtf8PathsAndEmptyOnFailure) {
    std::map<std::string, std::string> files;
    const Image accented = fileBytes("accented_name.lnk");
    files["C:\\r\\a.lnk"] = std::string(accented.begin(), accented.end());
    files["C:\\r\\plain.lnk"] = "not a shortcut";
    snapdesk::ShortcutFileReader reader([&](const std::string& path) -> std::optional<std::string> {
        const auto found = files.find(path);
        if (found == files.end()) {
            return std::nullopt;
        }
        return found->second;
    });
    EXPECT_EQ(reader.getLinkPath(0, "C:\\r\\a.lnk"), "C:\\lp\\caf\xc3\xa9.txt");
    EXPECT_EQ(reader.getLinkPath(0, "C:\\r\\plain.lnk"), "");
    EXPECT_EQ(reader.getLinkPath(0, "C:\\r\\missing.lnk"), "");
}

}  // namespace
