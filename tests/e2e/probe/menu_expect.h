#pragma once

// Checks a menu as Windows shows it against the menu model the commands are written for.
#include <gtest/gtest.h>

#include <string>

#include "mainwindow/menu_model.h"
#include "menu_items.h"
#include "platform/win32/win32_convert.h"

namespace snapdesk::testing {

// Every shown item of the model at its place, with its text, id and marks; hidden ones absent.
inline void expectMenuMatches(const ShownMenu& shown, const Menu& model, const std::string& where) {
    const Menu expected = visibleItems(model);
    ASSERT_EQ(shown.size(), expected.size()) << where;
    for (std::size_t i = 0; i < expected.size(); ++i) {
        const MenuItem& item = expected[i];
        const ShownMenuItem& seen = shown[i];
        const std::string at = where + " / " + (item.separator ? "separator" : item.caption);
        if (item.separator) {
            EXPECT_TRUE(seen.separator) << at;
            continue;
        }
        EXPECT_EQ(win32::toUtf8(seen.text), menuItemText(item)) << at;
        EXPECT_EQ(seen.checked, item.checked) << at;
        EXPECT_EQ(seen.grayed, !item.enabled) << at;
        if (!item.items.empty()) {
            ASSERT_TRUE(seen.isPopup) << at;
            expectMenuMatches(seen.items, item.items, at);
        } else {
            EXPECT_EQ(static_cast<int>(seen.id), item.id) << at;
        }
    }
}

}  // namespace snapdesk::testing
