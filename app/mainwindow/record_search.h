#pragma once

#include <string>

#include "common/search_words.h"
#include "tracking/coffee_shop_list.h"

namespace snapdesk {

// What a search looks in for record k, folded (see SearchWords): its name (the caption its
// tile name comes from), comment, location (a document's path; the markers of an unknown one
// are left out) and program (the executable's file name).
std::string recordHaystack(const CoffeeShopList& list, long k);

}  // namespace snapdesk
