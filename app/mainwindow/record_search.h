#pragma once

#include "common/search_words.h"
#include "tracking/coffee_shop_list.h"

namespace snapdesk {

// Whether record k matches the typed words in its name (the caption its tile name comes
// from), comment, location (a document's path; the markers of an unknown one never match) or
// program (the executable's file name).
bool recordMatches(const CoffeeShopList& list, long k, const SearchWords& words);

}  // namespace snapdesk
