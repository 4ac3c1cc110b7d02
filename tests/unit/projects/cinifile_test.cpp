// The INI engine and CInifile on the simulated file system.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/sim/sim_file_system.h"
#include "projects/cinifile.h"
#include "projects/ini_document.h"

namespace snapdesk {
namespace {

using namespace std::string_literals;

const std::string kFile = "C:\\data\\test.ini";

class IniTest : public ::testing::Test {
  protected:
    std::string get(const std::string& section, const std::string& key) {
        CInifile ini(files);
        ini.setPath(kFile);
        ini.setSection(section);
        ini.setKey(key);
        return ini.Value();
    }
    std::int32_t put(const std::string& section, const std::string& key, std::string value) {
        CInifile ini(files);
        ini.setPath(kFile);
        ini.setSection(section);
        ini.setKey(key);
        ini.setValue(value);
        return ini.LastReturnCode();
    }
    std::string content() { return files.readFile(kFile).value_or("<missing>"); }

    sim::SimFileSystem files;
    void SetUp() override { files.addFolder("C:\\data"); }
};

TEST_F(IniTest, NewSectionsAndKeysAreAppendedInOrderWithCrLf) {
    EXPECT_EQ(put("B", "2", "two"), 1);
    put("A", "1", "one");
    put("B", "1", "uno");
    put("b", "2", "TWO");  // same section and key, other case: replaced in place
    EXPECT_EQ(content(), "[B]\r\n2=TWO\r\n1=uno\r\n[A]\r\n1=one\r\n");
    EXPECT_EQ(get("a", " 1 "), "one");
}

TEST_F(IniTest, ReadsHandWrittenQuirks) {
    files.writeFile(kFile,
                    "top=level\n"
                    "  [ Spaced ]  ; note\n"
                    "x = 1\n"
                    "[Main]\r\n"
                    "; a comment = not a key\r\n"
                    "  name  =   value with blanks   \r\n"
                    "noequals\r\n"
                    "quoted=\"in quotes\"\r\n"
                    "half=\"open\r\n"
                    "dup=first\r\n"
                    "DUP=second\r\n"
                    "\r\n"
                    "\r\n"
                    "=orphan\r\n"
                    "[Main]\r\n"
                    "later=shadowed\r\n"
                    "[Bad\r\n"
                    "last=no line end");
    EXPECT_EQ(get("Main", "name"), "value with blanks");
    EXPECT_EQ(get("MAIN", "quoted"), "in quotes");
    EXPECT_EQ(get("Main", "half"), "\"open");
    EXPECT_EQ(get("Main", "dup"), "first");
    EXPECT_EQ(get("Main", "noequals"), "");
    EXPECT_EQ(get("Main", "later"), "");   // only the first "Main" is searched
    EXPECT_EQ(get(" Spaced ", "x"), "1");  // header names are trimmed
    EXPECT_EQ(get("", "top"), "level");    // lines before the first header
    EXPECT_EQ(get("Main", "last"), "");    // in the second "Main", after "[Bad", no header
    EXPECT_EQ(get("Bad", "last"), "");

    CInifile ini(files);
    ini.setPath(kFile);
    ini.setSection("Main");
    EXPECT_EQ(ini.Value(), "name\0quoted\0half\0dup\0DUP\0\0"s);  // Key never assigned
    EXPECT_EQ(ini.sections(), "Spaced\0Main\0Main\0"s);
    std::vector<std::string> names;
    std::int32_t count = -1;
    ini.EnumerateAllSections(names, count);
    ASSERT_EQ(count, 3);
    EXPECT_EQ(names, (std::vector<std::string>{"", "Spaced", "Main", "Main"}));
}

TEST_F(IniTest, AWriteKeepsCommentsDropsBlankLinesAndAppendsToTheSection) {
    files.writeFile(kFile, "; head\n[S]\nk=v\n\n\n[T]\nz=1");
    put("S", "new", "n");
    EXPECT_EQ(content(), "; head\r\n[S]\r\nk=v\r\nnew=n\r\n[T]\r\nz=1\r\n");
}

TEST_F(IniTest, UnchangedWritesAndMissingDeletesLeaveTheFileAlone) {
    files.writeFile(kFile, "[S]\nk=v\n");
    const int before = files.replaces();
    EXPECT_EQ(put("S", "k", "v"), 1);
    CInifile ini(files);
    ini.setPath(kFile);
    ini.setSection("S");
    ini.setKey("nokey");
    ini.DeleteKey();
    EXPECT_TRUE(ini.Success());
    ini.setSection("nosection");
    ini.DeleteSection();
    EXPECT_EQ(files.replaces(), before);
    EXPECT_EQ(content(), "[S]\nk=v\n");
    EXPECT_FALSE(files.readFile("C:\\data\\never.ini").has_value());
    ini.setPath("C:\\data\\never.ini");
    ini.DeleteSection();
    EXPECT_FALSE(files.readFile("C:\\data\\never.ini").has_value());
}

TEST_F(IniTest, DeletesKeysAndSections) {
    files.writeFile(kFile, "[A]\na=1\nb=2\n[B]\nc=3\n[A]\nd=4\n");
    CInifile ini(files);
    ini.setPath(kFile);
    ini.setSection("a");
    ini.setKey("d");
    ini.DeleteKey();  // not in the first "A": the next one is searched
    EXPECT_EQ(content(), "[A]\r\na=1\r\nb=2\r\n[B]\r\nc=3\r\n[A]\r\n");
    ini.setKey("A");
    ini.DeleteKey();
    ini.DeleteSection();
    EXPECT_EQ(content(), "[B]\r\nc=3\r\n[A]\r\n");
}

TEST_F(IniTest, ValuesAndListsComeBackWhole) {
    const std::string longValue(300, 'x');
    put("S", "long", longValue);
    EXPECT_EQ(get("S", "long"), longValue);
    CInifile ini(files);
    ini.setPath(kFile);
    ini.beginBatch();
    ini.setSection("Many");
    for (int i = 1; i <= 2000; ++i) {
        ini.setKey(std::to_string(i));
        std::string value = "v" + std::to_string(i);
        ini.setValue(value);
    }
    ASSERT_TRUE(ini.endBatch());
    std::vector<std::string> names;
    std::int32_t count = 0;
    ini.EnumerateCurrentSection(names, count);
    ASSERT_EQ(count, 2000);
    EXPECT_EQ(names[1], "1");
    EXPECT_EQ(names[2000], "2000");
}

TEST_F(IniTest, ValueWritesDropNulsAndLineBreaksAndKeepEmptyValues) {
    std::string value("a\0b\0\0c"s);
    CInifile writer(files);
    writer.setPath(kFile);
    writer.setSection("S");
    writer.setKey("k");
    writer.setValue(value);
    std::string withBreak = "line1\r\n[Evil]\r\nx=1";
    put("S", "j", withBreak);
    std::string empty;
    put("S", "e", empty);
    EXPECT_EQ(value, "abc");  // the caller's string loses its NULs too
    EXPECT_EQ(get("S", "k"), "abc");
    EXPECT_EQ(get("Evil", "x"), "");
    EXPECT_EQ(get("S", "j"), "line1  [Evil]  x=1");
    CInifile ini(files);
    ini.setPath(kFile);
    ini.setSection("S");
    std::vector<std::string> names;
    std::int32_t count = 0;
    ini.EnumerateCurrentSection(names, count);
    EXPECT_EQ(count, 3);
    EXPECT_EQ(names.back(), "e");
}

TEST_F(IniTest, MissingThingsReadEmptyAndFreshInstancesReportNoSuccess) {
    CInifile fresh(files);
    EXPECT_FALSE(fresh.Success());
    EXPECT_EQ(fresh.LastReturnCode(), 0);
    EXPECT_EQ(get("S", "k"), "");
    std::vector<std::string> names{"stale"};
    std::int32_t count = 7;
    fresh.setPath(kFile);
    fresh.setSection("S");
    fresh.EnumerateCurrentSection(names, count);
    EXPECT_EQ(count, 0);
    EXPECT_TRUE(names.empty());
    // No path: writes fail and nothing is written anywhere.
    CInifile noPath(files);
    noPath.setSection("S");
    noPath.setKey("k");
    std::string v = "x";
    noPath.setValue(v);
    EXPECT_FALSE(noPath.Success());
    // A default with trailing blanks loses them, as the system's reads do.
    fresh.setKey("missing");
    fresh.setDefault("dflt  ");
    EXPECT_EQ(fresh.Value(), "dflt");
}

TEST_F(IniTest, EnumerateCurrentSectionKeepsEmptyNamesAndAllSectionsSkipsThem) {
    files.writeFile(kFile, "[S]\n=empty name\nk=1\n");
    CInifile ini(files);
    ini.setPath(kFile);
    ini.setSection("S");
    std::vector<std::string> names;
    std::int32_t count = 0;
    ini.EnumerateCurrentSection(names, count);
    EXPECT_EQ(count, 2);
    EXPECT_EQ(names, (std::vector<std::string>{"", "", "k"}));
}

TEST_F(IniTest, WriteWithoutAssignedKeyRemovesTheSection) {
    put("S", "k", "1");
    put("T", "k", "2");
    CInifile ini(files);
    ini.setPath(kFile);
    ini.setSection("S");
    std::string v = "ignored";
    ini.setValue(v);
    EXPECT_TRUE(ini.Success());
    EXPECT_EQ(content(), "[T]\r\nk=2\r\n");
}

TEST_F(IniTest, ABatchReachesTheFileOnceAndAFailedOneLeavesItWhole) {
    put("S", "k", "old");
    const int before = files.replaces();
    {
        CInifile ini(files);
        ini.setPath(kFile);
        IniBatch batch(ini);
        for (int i = 0; i < 10; ++i) {
            ini.setSection("S");
            ini.setKey(std::to_string(i));
            std::string v = "x";
            ini.setValue(v);
        }
        ini.setKey("0");
        EXPECT_EQ(ini.Value(), "x");  // reads see the batch's writes
        EXPECT_EQ(content(), "[S]\r\nk=old\r\n");
    }
    EXPECT_EQ(files.replaces(), before + 1);
    const std::string whole = content();
    CInifile ini(files);
    ini.setPath(kFile);
    ini.beginBatch();
    ini.setSection("S");
    ini.DeleteSection();
    files.replacesLeft = 0;
    EXPECT_FALSE(ini.endBatch());
    EXPECT_FALSE(ini.Success());
    EXPECT_EQ(content(), whole);
}

TEST_F(IniTest, AnUnreadableFileIsNeverOverwritten) {
    put("S", "k", "precious");
    files.failReads = true;
    EXPECT_EQ(put("S", "other", "x"), 0);
    EXPECT_EQ(get("S", "k"), "");
    files.failReads = false;
    EXPECT_EQ(content(), "[S]\r\nk=precious\r\n");
}

TEST(IniDocumentTest, ParseRenderKeepsEveryKeptLine) {
    const auto doc = IniDocument::parse("a\n\n\n=x\n[ S ] tail\n\nb = c \n;c\n");
    EXPECT_EQ(doc.render(), "a\r\n=x\r\n[S]\r\nb=c\r\n;c\r\n");
    // A CR ends a line only where no LF follows.
    EXPECT_EQ(IniDocument::parse("a=1\rb=2\nc=3").value("", "a", ""), "1\rb=2");
    EXPECT_EQ(IniDocument::parse("a=1\rb=2").value("", "b", ""), "2");
    EXPECT_EQ(IniDocument::parse("a=1\rb=2\nc=3").value("", "c", ""), "3");
}

}  // namespace
}  // namespace snapdesk
