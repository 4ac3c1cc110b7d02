// The same random operations on copies of the same files, once through CInifile and once
// through GetPrivateProfileStringA / WritePrivateProfileStringA; every read and the final
// bytes of every file must agree.
#include <windows.h>

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "platform/win32/win32_file_system.h"
#include "projects/cinifile.h"

namespace snapdesk {
namespace {

using namespace std::string_literals;

const std::vector<std::string> kSeeds = {
    // Hand-written quirks: comments, blanks around names and values, no "=", duplicates,
    // quotes, several blank lines, "=x" lines, a broken header, no final line end.
    "[Main]\r\n; comment = not a key\r\n  name  =   value   \r\nnoequals\r\nquoted=\"q\"\r\n"
    "dup=1\r\nDUP=2\r\n\r\n\r\n=orphan\r\n[main]\r\nlater=x\r\n[Bad\r\nlast=no end",
    "top=level\n\n[S1]\nk1=a\nK1=b\n[ Spaced ] trailing\nx = 1\n[S2]\n;only a comment\n",
    "",
    "[]\r\nhidden=1\r\n[Other]\r\nk1='single'\r\n\r\n",
};
const std::vector<std::string> kSections = {"Main",     "main", "MAIN", "S1",    "s2",
                                            "Other",    "New",  "new",  " Main", "Spaced",
                                            " Spaced ", "Bad",  "Late"};
const std::vector<std::string> kKeys = {"k1", "K1",   "name",     "dup",  "noequals", "1",   "2",
                                        "x",  " k1 ", ";comment", "last", "quoted",   "new", "NEW"};
const std::vector<std::string> kValues = {"",
                                          "v",
                                          "  leading",
                                          "a = b",
                                          "\"quoted\"",
                                          "'single'",
                                          "semi;colon",
                                          "[not a header]",
                                          std::string(300, 'L'),
                                          "x"};

class IniDifferentialTest : public ::testing::Test {
  protected:
    void SetUp() override {
        char temp[MAX_PATH];
        ASSERT_GT(GetTempPathA(MAX_PATH, temp), 0u);
        folder = std::string(temp) + "snapdesk-ini-" + std::to_string(GetCurrentProcessId());
        ASSERT_TRUE(CreateDirectoryA(folder.c_str(), nullptr));
        for (std::size_t i = 0; i <= kSeeds.size(); ++i) {
            ours.push_back(folder + "\\ours" + std::to_string(i) + ".ini");
            theirs.push_back(folder + "\\theirs" + std::to_string(i) + ".ini");
            if (i < kSeeds.size()) {  // the last pair starts without a file
                ASSERT_TRUE(files.replaceFile(ours.back(), kSeeds[i]));
                ASSERT_TRUE(files.replaceFile(theirs.back(), kSeeds[i]));
            }
        }
    }
    void TearDown() override {
        for (const auto& paths : {ours, theirs}) {
            for (const auto& path : paths) {
                DeleteFileA(path.c_str());
            }
        }
        RemoveDirectoryA(folder.c_str());
    }

    std::string systemRead(const char* section, const char* key, const char* fallback,
                           const std::string& path) {
        std::vector<char> buffer(1 << 16);
        const DWORD count = GetPrivateProfileStringA(
            section, key, fallback, buffer.data(), static_cast<DWORD>(buffer.size()), path.c_str());
        return std::string(buffer.data(), count);
    }

    Win32FileSystem files;
    std::string folder;
    std::vector<std::string> ours, theirs;
};

TEST_F(IniDifferentialTest, RandomOperationsAgreeWithTheSystemsPrivateProfileFunctions) {
    std::mt19937 random(20261207);
    const auto pick = [&](const std::vector<std::string>& from) -> const std::string& {
        return from[std::uniform_int_distribution<std::size_t>(0, from.size() - 1)(random)];
    };
    int reads = 0, writes = 0, mismatches = 0;
    constexpr int kOperations = 3000;
    for (int op = 0; op < kOperations; ++op) {
        const std::size_t f =
            std::uniform_int_distribution<std::size_t>(0, ours.size() - 1)(random);
        const std::string& section = pick(kSections);
        const std::string& key = pick(kKeys);
        CInifile ini(files);
        ini.setPath(ours[f]);
        ini.setSection(section);
        std::string described, mine, system;
        switch (std::uniform_int_distribution<int>(0, 9)(random)) {
            case 0:
            case 1:
            case 2: {
                std::string value = pick(kValues);
                described = "write [" + section + "] " + key + "=" + value.substr(0, 20);
                ini.setKey(key);
                ini.setValue(value);
                const BOOL ok = WritePrivateProfileStringA(section.c_str(), key.c_str(),
                                                           value.c_str(), theirs[f].c_str());
                mine = std::to_string(ini.Success());
                system = std::to_string(ok != 0);
                ++writes;
                break;
            }
            case 3:
                described = "delete key [" + section + "] " + key;
                ini.setKey(key);
                ini.DeleteKey();
                WritePrivateProfileStringA(section.c_str(), key.c_str(), nullptr,
                                           theirs[f].c_str());
                ++writes;
                break;
            case 4:
                described = "delete section [" + section + "]";
                ini.DeleteSection();
                WritePrivateProfileStringA(section.c_str(), nullptr, nullptr, theirs[f].c_str());
                ++writes;
                break;
            case 5:
            case 6:
            case 7:
                described = "read [" + section + "] " + key;
                ini.setKey(key);
                mine = ini.Value();
                system = systemRead(section.c_str(), key.c_str(), "", theirs[f]);
                ++reads;
                break;
            case 8:
                described = "keys of [" + section + "]";
                mine = ini.INISection();
                system = systemRead(section.c_str(), nullptr, "", theirs[f]);
                ++reads;
                break;
            default:
                described = "sections";
                mine = ini.sections();
                system = systemRead(nullptr, nullptr, "", theirs[f]);
                ++reads;
                break;
        }
        if (mine != system && ++mismatches <= 10) {
            ADD_FAILURE() << "operation " << op << " on file " << f << ": " << described
                          << "\n ours:   " << ::testing::PrintToString(mine)
                          << "\n system: " << ::testing::PrintToString(system);
        }
    }
    EXPECT_EQ(mismatches, 0);
    EXPECT_GT(reads, kOperations / 3);
    EXPECT_GT(writes, kOperations / 3);
    for (std::size_t f = 0; f < ours.size(); ++f) {
        const auto mine = files.readFile(ours[f]);
        const auto system = files.readFile(theirs[f]);
        ASSERT_EQ(mine.has_value(), system.has_value()) << f;
        if (mine) {
            EXPECT_EQ(*mine, *system) << "file " << f;
            EXPECT_FALSE(mine->empty());
        }
    }
}

TEST_F(IniDifferentialTest, EachSideReadsWhatTheOtherWrote) {
    const std::string longPath = "C:\\" + std::string(300, 'p') + "\\member.doc";
    CInifile ini(files);
    ini.setPath(ours[0]);
    ini.setSection("FilePath");
    ini.setKey("1");
    std::string value = longPath;
    ini.setValue(value);
    EXPECT_EQ(systemRead("FilePath", "1", "", ours[0]), longPath);

    ASSERT_TRUE(WritePrivateProfileStringA("FileName", "7", "  Spaced name", theirs[1].c_str()));
    ASSERT_TRUE(WritePrivateProfileStringA("FileName", "8", "", theirs[1].c_str()));
    ini.setPath(theirs[1]);
    ini.setSection("filename");
    ini.setKey("7");
    EXPECT_EQ(ini.Value(), "Spaced name");
    EXPECT_EQ(ini.INISection(),
              "7\0"
              "8\0"s);
}

}  // namespace
}  // namespace snapdesk
