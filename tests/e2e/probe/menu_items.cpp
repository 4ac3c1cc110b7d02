#include "menu_items.h"

#include <cwchar>

namespace snapdesk::testing {

ShownMenu readMenu(HMENU menu) {
    ShownMenu items;
    const int count = GetMenuItemCount(menu);
    for (int i = 0; i < count; ++i) {
        wchar_t text[256] = {};
        MENUITEMINFOW info{};
        info.cbSize = sizeof info;
        info.fMask = MIIM_ID | MIIM_FTYPE | MIIM_STATE | MIIM_SUBMENU | MIIM_STRING;
        info.dwTypeData = text;
        info.cch = 255;
        if (!GetMenuItemInfoW(menu, static_cast<UINT>(i), TRUE, &info)) {
            continue;
        }
        ShownMenuItem item;
        item.id = info.wID;
        item.separator = (info.fType & MFT_SEPARATOR) != 0;
        item.checked = (info.fState & MFS_CHECKED) != 0;
        item.grayed = (info.fState & MFS_GRAYED) != 0;
        item.text = text;
        if (info.hSubMenu != nullptr) {
            item.isPopup = true;
            item.items = readMenu(info.hSubMenu);
        }
        items.push_back(std::move(item));
    }
    return items;
}

namespace {

void writeItems(const ShownMenu& menu, int depth, std::wstring& out) {
    for (const ShownMenuItem& item : menu) {
        std::wstring marks;
        marks += item.separator ? L"s" : L"";
        marks += item.checked ? L"c" : L"";
        marks += item.grayed ? L"g" : L"";
        marks += item.isPopup ? L"p" : L"";
        out += std::to_wstring(depth) + L"|" + std::to_wstring(item.id) + L"|" + marks + L"|" +
               item.text + L"\n";
        writeItems(item.items, depth + 1, out);
    }
}

// Splits off the text up to the next "|".
std::wstring field(const std::wstring& line, std::size_t& from) {
    const std::size_t bar = line.find(L'|', from);
    const std::wstring value = line.substr(from, bar == std::wstring::npos ? bar : bar - from);
    from = bar == std::wstring::npos ? line.size() : bar + 1;
    return value;
}

}  // namespace

std::wstring writeMenu(const ShownMenu& menu) {
    std::wstring out;
    writeItems(menu, 0, out);
    return out;
}

ShownMenu parseMenu(const std::vector<std::wstring>& lines) {
    ShownMenu menu;
    for (const std::wstring& line : lines) {
        std::size_t at = 0;
        const int depth = static_cast<int>(std::wcstol(field(line, at).c_str(), nullptr, 10));
        ShownMenuItem item;
        item.id = static_cast<unsigned>(std::wcstoul(field(line, at).c_str(), nullptr, 10));
        const std::wstring marks = field(line, at);
        item.separator = marks.find(L's') != std::wstring::npos;
        item.checked = marks.find(L'c') != std::wstring::npos;
        item.grayed = marks.find(L'g') != std::wstring::npos;
        item.isPopup = marks.find(L'p') != std::wstring::npos;
        item.text = line.substr(at);  // the rest, "|" included
        ShownMenu* level = &menu;
        for (int d = 0; d < depth && !level->empty(); ++d) {
            level = &level->back().items;
        }
        level->push_back(std::move(item));
    }
    return menu;
}

const ShownMenuItem* findShownItem(const ShownMenu& menu, unsigned id) {
    for (const ShownMenuItem& item : menu) {
        if (!item.isPopup && !item.separator && item.id == id) {
            return &item;
        }
        if (const ShownMenuItem* found = findShownItem(item.items, id)) {
            return found;
        }
    }
    return nullptr;
}

}  // namespace snapdesk::testing
