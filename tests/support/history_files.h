#pragma once

// The browsers' history files, byte for byte, for given pages: Netscape 4's NETSCAPE.HST,
// Netscape 6's Mork HISTORY.DAT and Internet Explorer's INDEX.DAT. Portable: no <windows.h>,
// no test framework, so native and Win32 tests can both write them.

#include <cstdint>
#include <string>
#include <vector>

#include "location/browser_history.h"

namespace snapdesk::history_files {

struct Page {
    std::string title;
    std::string address;
};

inline void appendLittleEndian(std::string& out, std::uint32_t value) {
    for (int k = 0; k < 4; ++k) {
        out += static_cast<char>((value >> (8 * k)) & 0xFF);
    }
}

// A hash database: a header page, then per page a record of binary fields around
// NUL + title + NUL + address + NUL.
inline std::string netscape4File(const std::vector<Page>& pages) {
    std::string out;
    appendLittleEndian(out, 0x00061561);  // the database's magic number
    appendLittleEndian(out, 2);
    appendLittleEndian(out, 1234);
    appendLittleEndian(out, 256);
    out.append(48, '\xFF');
    std::uint32_t stamp = 0x3A000000;
    for (const auto& page : pages) {
        appendLittleEndian(out,
                           static_cast<std::uint32_t>(page.title.size() + page.address.size()));
        out += "\x01\x80";
        out += '\0' + page.title + '\0' + page.address + '\0';
        appendLittleEndian(out, stamp += 977);
        appendLittleEndian(out, 3);
        out.append(3, '\xFF');
    }
    return out;
}

// A value as the browser writes it in a Mork table: ")", "\" and "$" escaped.
inline std::string morkValue(const std::string& value) {
    std::string out;
    for (const char c : value) {
        if (c == ')' || c == '\\' || c == '$') {
            out += '\\';
        }
        out += c;
    }
    return out;
}

// A long value written over two lines, cut where no escape is split.
inline std::string continued(const std::string& value) {
    if (value.size() < 40) {
        return value;
    }
    std::size_t cut = 30;
    while (cut < value.size() && (value[cut - 1] == '\\' || value[cut] == '$' ||
                                  value[cut - 1] == '$' || value[cut - 2] == '$')) {
        ++cut;
    }
    return value.substr(0, cut) + "\\\r\n" + value.substr(cut);
}

enum class MorkColumns { declared, usual };

// A Mork history: the column dictionary (URL in 8A and Name in 8D when declared, the usual 82
// and 85 otherwise), one atom dictionary with an address and a title atom per page, the table
// with a row per page, and the last page added later in a group of its own.
inline std::string netscape6File(const std::vector<Page>& pages,
                                 MorkColumns columns = MorkColumns::declared) {
    const bool declared = columns == MorkColumns::declared;
    const std::string url = declared ? "8A" : "82";
    const std::string name = declared ? "8D" : "85";
    std::string out = "// <!-- <mdb:mork:z v=\"1.4\"/> -->\r\n< <(a=c)> // (f=iso-8859-1)\r\n";
    out += "  (80=ns:history:db:row:scope:history:all)(81=ns:history:db:table:kind:history)\r\n";
    out += declared ? "  (82=Referrer)(84=LastVisitDate)(85=FirstVisitDate)(86=VisitCount)\r\n"
                      "  (88=Hostname)(89=Hidden)(8A=URL)(8D=Name)(8E=Typed)>\r\n"
                    : "  (83=Referrer)(84=LastVisitDate)(86=VisitCount)(88=Hostname)>\r\n";
    const auto atomId = [](std::size_t k, int which) {
        static constexpr char kHex[] = "0123456789ABCDEF";
        std::string id;
        for (std::size_t v = 0x100 + 2 * k + which; v != 0; v /= 16) {
            id.insert(id.begin(), kHex[v % 16]);
        }
        return id;
    };
    const auto atoms = [&](std::size_t k) {
        // The first address atom has its id and "=" on two lines, as long lines are broken.
        std::string text = "(";
        text += atomId(k, 0);
        text += k == 0 ? "\r\n  =" : "=";
        text += continued(morkValue(pages[k].address));
        text += ")(";
        text += atomId(k, 1);
        text += '=';
        text += continued(morkEncodeTitle(pages[k].title));
        text += ')';
        return text;
    };
    const auto row = [&](std::size_t k) {
        std::string text = "[";
        text += std::to_string(k + 1);
        text += "(^" + url + "^";
        text += atomId(k, 0);
        text += ")(^84=";
        text += std::to_string(1000000000000000 + k);
        text += ")(^" + name + "^";
        text += atomId(k, 1);
        text += ")(^86=1)]";
        return text;
    };
    const std::size_t early = pages.empty() ? 0 : pages.size() - 1;
    out += "\r\n<(80=LE)";
    for (std::size_t k = 0; k < early; ++k) {
        out += "\r\n  ";
        out += atoms(k);
    }
    out += ">\r\n{1:^80 {(k^81:c)(s=9)}";
    for (std::size_t k = 0; k < early; ++k) {
        out += "\r\n  ";
        out += row(k);
    }
    out += "}\r\n";
    if (!pages.empty()) {
        out += "@$${2{@<";
        out += atoms(early);
        out += ">{1:^80 \r\n  ";
        out += row(early);
        out += "}@$$}2}@\r\n";
    }
    return out;
}

// The history index: a header, then per page a record in 128-byte blocks holding
// "Visited: user@address" and, later, the title, both NUL-terminated, the rest filled.
inline std::string ieIndexFile(const std::vector<Page>& pages) {
    std::string out = "Client UrlCache MMF Ver 4.7";
    out += '\0';
    appendLittleEndian(out, 0x8000);
    out.append(64 - out.size(), '\0');
    for (const auto& page : pages) {
        std::string record = "URL ";
        appendLittleEndian(record, 0);  // blocks, set below
        appendLittleEndian(record, 0x8C6D2E40);
        appendLittleEndian(record, 0x01BF3A52);
        record.append(16, '\0');
        record += "Visited: snap@" + page.address + '\0';
        appendLittleEndian(record, 0x60);
        record += std::string("\x02\x00\x10\x00", 4);
        record += page.title + '\0';
        while (record.size() % 128 != 0) {
            record += "\x0D\xF0\xAD\x0B"[record.size() % 4];
        }
        record[4] = static_cast<char>(record.size() / 128);
        out += record;
    }
    return out;
}

}  // namespace snapdesk::history_files
