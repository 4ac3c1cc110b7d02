#include <gtest/gtest.h>

#include "common/fold_diacritics.h"
#include "common/search_words.h"
#include "mainwindow/search_highlight.h"

namespace snapdesk {
namespace {

TEST(SearchWords, EveryWordInSomeFieldInAnyOrderAndCaseWithAccentsFolded) {
    const SearchWords words("  Budget   2027\tdraft ");
    EXPECT_EQ(words.words(), (std::vector<std::string>{"budget", "2027", "draft"}));
    EXPECT_TRUE(words.matches({"Draft of the BUDGET", "for 2027"}));
    EXPECT_TRUE(words.matches({"", "", "c:\\2027\\budget-draft.txt"}));
    EXPECT_FALSE(words.matches({"Draft of the budget", "for 2026"})) << "one word missing";
    // A word never spans the seam between two fields.
    EXPECT_FALSE(SearchWords("budgetdraft").matches({"budget", "draft"}));

    // Accents both ways: typed without them, typed with them, typed in capitals.
    EXPECT_TRUE(SearchWords("cafe resume").matches({"Café", "Résumé.doc"}));
    EXPECT_TRUE(SearchWords("CAFÉ").matches({"cafe"}));
    EXPECT_TRUE(SearchWords("strasse lodz oresund aesop").matches({"Straße Łódź Øresund Æsop"}));
    EXPECT_TRUE(SearchWords("dvorak").matches({"Dvořák"}));
    // Signs of Latin-1 stay what they are, as does text of other scripts.
    EXPECT_EQ(foldForSearch("3×4÷2 Ωμέγα"), "3×4÷2 Ωμέγα");
    // A stray byte that is no UTF-8 passes unchanged and does not swallow its neighbours.
    EXPECT_EQ(foldForSearch("A\xC3"
                            "B\xE9"),
              "a\xC3"
              "b\xE9");

    // No words: everything matches, fields or none.
    EXPECT_TRUE(SearchWords("").matches({}));
    EXPECT_TRUE(SearchWords("   ").empty());
}

TEST(SearchHighlight, MovesStopAtTheEndsAndARefreshKeepsTheWindow) {
    SearchHighlight h;
    EXPECT_FALSE(h.current());
    EXPECT_FALSE(h.move(1));

    h.restart({11, 22, 33});
    EXPECT_EQ(h.current(), 11u);
    EXPECT_FALSE(h.move(-1)) << "Up on the first match stays";
    EXPECT_TRUE(h.move(1));
    EXPECT_TRUE(h.move(1));
    EXPECT_EQ(h.current(), 33u);
    EXPECT_FALSE(h.move(1)) << "Down on the last match stays";
    EXPECT_EQ(h.current(), 33u);
    EXPECT_EQ(h.nth(2), 22u);
    EXPECT_FALSE(h.nth(4));
    EXPECT_FALSE(h.nth(0));

    // The list refreshed: 33 moved up, it keeps the highlight; once gone, the first has it.
    h.refresh({33, 11});
    EXPECT_EQ(h.current(), 33u);
    h.refresh({11, 22});
    EXPECT_EQ(h.current(), 11u);
    // A new text starts at the first match, wherever the highlight was.
    h.move(1);
    h.restart({22, 11});
    EXPECT_EQ(h.current(), 22u);
}

}  // namespace
}  // namespace snapdesk
