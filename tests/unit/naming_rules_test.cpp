#include "tracking/naming_rules.h"

#include <gtest/gtest.h>

#include "platform/sim/sim_file_system.h"
#include "tracking/browser_captions.h"

namespace snapdesk {
namespace {

constexpr const char* kRecent = "C:\\Users\\me\\Recent\\";

class NamingRules : public ::testing::Test {
  protected:
    std::string name(const std::string& text, const std::string& exe,
                     const std::string& recent = "UNKNOWN") {
        return documentName(text, exe, recent, files);
    }
    sim::SimFileSystem files;
};

TEST_F(NamingRules, ExtensionEndsTheNameAtTheFollowingBlank) {
    EXPECT_EQ(name("report.txt - Notepad", "C:\\WINDOWS\\NOTEPAD.EXE"), "report.txt");
    EXPECT_EQ(name("Budget.xls [Read-Only]", "C:\\OFFICE\\EXCEL.EXE"), "Budget.xls");
    // The last dot counts: a dotted folder name does not end the name early.
    EXPECT_EQ(name("v1.2 notes.doc - Word", "C:\\OFFICE\\WINWORD.EXE"), "v1.2 notes.doc");
    // Browsers and the music player keep their dots.
    EXPECT_EQ(name("www.example.com - Netscape", "C:\\NS\\NETSCAPE.EXE"),
              "www.example.com - Netscape");
    EXPECT_EQ(name("a.b c", "C:\\IE\\IEXPLORE.EXE"), "a.b c");
}

TEST_F(NamingRules, NotepadAndWordPadSuffixesAreCutKeepingTheBlank) {
    EXPECT_EQ(name("Untitled - Notepad", "C:\\WINDOWS\\NOTEPAD.EXE"), "Untitled ");
    EXPECT_EQ(name("Letter - WordPad", "C:\\WINDOWS\\WORDPAD.EXE"), "Letter ");
    EXPECT_EQ(name("Home - [Working Offline]", "C:\\X\\APP.EXE"), "Home ");
    // Only at the very end.
    EXPECT_EQ(name("a - Notepad b", "C:\\X\\APP.EXE"), "a - Notepad b");
}

TEST_F(NamingRules, ANameAsLongAsTheSuffixIsNotEmptied) {
    // Nine characters and no " - Notepad": the cut would leave nothing.
    EXPECT_EQ(name("Untitled1", "C:\\X\\APP.EXE"), "Untitled1");
    EXPECT_EQ(name("Nineteen characters", "C:\\X\\APP.EXE"), "Nineteen characters");
}

TEST_F(NamingRules, VisioCutsAtAColonAfterTheFifthCharacter) {
    EXPECT_EQ(name("Drawing1:Page-1", "C:\\VISIO\\VISIO.EXE"), "Drawing1");
    EXPECT_EQ(name("Vis:Page", "C:\\VISIO\\VISIO.EXE"), "Vis:Page");
    EXPECT_EQ(name("Drawing1:Page-1", "C:\\X\\APP.EXE"), "Drawing1:Page-1");
}

TEST_F(NamingRules, WinampKeepsTheSongAndItsDots) {
    EXPECT_EQ(name("1. Artist - Title - Winamp", "C:\\WINAMP\\WINAMP.EXE"), "1. Artist - Title ");
}

TEST_F(NamingRules, AolInstantMessageBecomesIm) {
    EXPECT_EQ(name("AOL Instant Message From: x", "C:\\AOL\\AOL.EXE"), "AOL IM From: x");
    EXPECT_EQ(name("Instant Message From: y", "C:\\AOL\\WAOL.EXE"), "IM From: y");
    EXPECT_EQ(name("AOL Instant Message From: x", "C:\\X\\APP.EXE"), "AOL Instant Message From: x");
}

TEST_F(NamingRules, ReadOnlyMarkersAreCut) {
    EXPECT_EQ(name("Budget [READ-ONLY]", "C:\\X\\APP.EXE"), "Budget");
    EXPECT_EQ(name("Plan (read only) more", "C:\\X\\APP.EXE"), "Plan");
    EXPECT_EQ(name("Only you", "C:\\X\\APP.EXE"), "Only you");
}

TEST_F(NamingRules, HiddenExtensionComesFromTheRecentShortcut) {
    files.addFile(std::string(kRecent) + "report.doc.lnk");
    files.addFile(std::string(kRecent) + "Untitled .txt.lnk");
    EXPECT_EQ(name("report", "C:\\OFFICE\\WINWORD.EXE", kRecent), "report.doc");
    EXPECT_EQ(name("Untitled - Notepad", "C:\\WINDOWS\\NOTEPAD.EXE", kRecent), "Untitled .txt");
    // Only the part after the last "\" is looked up, and the found name replaces the whole.
    EXPECT_EQ(name("C:\\docs\\report", "C:\\X\\APP.EXE", kRecent), "report.doc");
    // Not before the Recent folder is known, not for folders, not with an extension.
    EXPECT_EQ(name("report", "C:\\OFFICE\\WINWORD.EXE"), "report");
    EXPECT_EQ(name("report", "C:\\WINDOWS\\EXPLORER.EXE", kRecent), "report");
    EXPECT_EQ(name("report.rtf", "C:\\X\\APP.EXE", kRecent), "report.rtf");
    // A leading dot does not count as an extension.
    files.addFile(std::string(kRecent) + ".profile.txt.lnk");
    EXPECT_EQ(name(".profile", "C:\\X\\APP.EXE", kRecent), ".profile.txt");
    EXPECT_EQ(name("nothing", "C:\\X\\APP.EXE", kRecent), "nothing");
}

TEST_F(NamingRules, WildcardsInACaptionMatchNoOtherShortcut) {
    files.addFile(std::string(kRecent) + "Whatever.doc.lnk");
    EXPECT_EQ(name("What*", "C:\\X\\APP.EXE", kRecent), "What*");
    EXPECT_EQ(name("Whateve?", "C:\\X\\APP.EXE", kRecent), "Whateve?");
}

TEST_F(NamingRules, TodaysBrowsersAreNamedByThePageTitleAndOfficeByItsDocument) {
    const std::string chrome = "C:\\PROGRAM FILES\\GOOGLE\\CHROME\\APPLICATION\\CHROME.EXE";
    const std::string edge = "C:\\PROGRAM FILES (X86)\\MICROSOFT\\EDGE\\APPLICATION\\MSEDGE.EXE";
    const std::string firefox = "C:\\PROGRAM FILES\\MOZILLA FIREFOX\\FIREFOX.EXE";
    const std::string brave = "C:\\BRAVE\\BRAVE.EXE";
    const std::string word = "C:\\OFFICE16\\WINWORD.EXE";
    const std::string ie = "C:\\IE\\IEXPLORE.EXE";
    // Shortcuts a page title must not pick up, and the ones hidden extensions need.
    for (const char* shortcut : {"Inbox.eml.lnk", "report.docx.lnk", "notes.doc.lnk"}) {
        files.addFile(std::string(kRecent) + shortcut);
    }
    struct Row {
        std::string caption, exe, name, profile;
    };
    const Row rows[] = {
        {"Node.js docs - Google Chrome", chrome, "Node.js docs", ""},
        {"A - B - Google Chrome", chrome, "A - B", ""},
        {"Inbox - Google Chrome", chrome, "Inbox", ""},
        {"Google Chrome", chrome, "Google Chrome", ""},
        {"Search v1.2 x - Brave", brave, "Search v1.2 x", ""},
        {"Mail - Vivaldi", "C:\\VIVALDI\\APPLICATION\\VIVALDI.EXE", "Mail", ""},
        {"Speed Dial - Opera", "C:\\OPERA\\OPERA.EXE", "Speed Dial", ""},
        {"Page v2.0 draft - Personal - Microsoft\u200B Edge", edge, "Page v2.0 draft", "Personal"},
        {"Page - Work - Microsoft Edge", edge, "Page", "Work"},
        {"A - B - Personal - Microsoft\u200B Edge", edge, "A - B", "Personal"},
        {"News and 3 more pages - Personal - Microsoft\u200B Edge", edge, "News", "Personal"},
        {"Rock and Roll - Personal - Microsoft\u200B Edge", edge, "Rock and Roll", "Personal"},
        {"Page - Microsoft\u200B Edge", edge, "Page", ""},
        {"Microsoft\u200B Edge", edge, "Microsoft\u200B Edge", ""},
        {"A - B \u2014 Mozilla Firefox", firefox, "A - B", ""},
        {"Old one - Mozilla Firefox", firefox, "Old one", ""},
        {"Secret \u2014 Mozilla Firefox Private Browsing", firefox, "Secret", ""},
        {"Mozilla Firefox", firefox, "Mozilla Firefox", ""},
        // The old browsers keep their rules; a suffix is cut only for its own program.
        {"www.example.com - Microsoft Internet Explorer", ie,
         "www.example.com - Microsoft Internet Explorer", ""},
        {"Page - Google Chrome", ie, "Page - Google Chrome", ""},
        {"Page - Google Chrome", brave, "Page - Google Chrome", ""},
        // Today's Office: the program goes, then its markers, then the hidden extension is found.
        {"Book1 - Excel", "C:\\OFFICE16\\EXCEL.EXE", "Book1", ""},
        {"report.docx - Word", word, "report.docx", ""},
        {"report - Word", word, "report.docx", ""},
        {"X.doc [Read-Only] [Compatibility Mode] - Word", word, "X.doc", ""},
        {"notes [Compatibility Mode] - Word", word, "notes.doc", ""},
        {"report [Read-Only] - Word", word, "report.docx", ""},
        {"deck.pptx - PowerPoint", "C:\\OFFICE16\\POWERPNT.EXE", "deck.pptx", ""},
        {"Summary - Word", "C:\\WINDOWS\\NOTEPAD.EXE", "Summary - Word", ""},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.caption);
        EXPECT_EQ(name(row.caption, row.exe, kRecent), row.name);
        EXPECT_EQ(browserCaptionProfile(row.caption, row.exe), row.profile);
    }
}

TEST_F(NamingRules, FixedNamesOfMailPrograms) {
    EXPECT_EQ(fixedDocumentName("C:\\OFFICE\\OUTLOOK.EXE"), "Microsoft Outlook");
    EXPECT_EQ(fixedDocumentName("C:\\QM\\QMPRO32.EXE"), "Quick Mail");
    EXPECT_EQ(fixedDocumentName("C:\\OE\\MSIMN.EXE"), "Outlook Express");
    EXPECT_EQ(fixedDocumentName("C:\\EUDORA\\EUDORA.EXE"), "Eudora");
    EXPECT_EQ(fixedDocumentName("C:\\OFFICE\\WINWORD.EXE"), std::nullopt);
}

}  // namespace
}  // namespace snapdesk
