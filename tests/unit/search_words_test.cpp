#include <gtest/gtest.h>

#include "common/fold_diacritics.h"
#include "common/search_words.h"

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

}  // namespace
}  // namespace snapdesk
