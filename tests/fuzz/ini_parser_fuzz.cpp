// The INI parser and its edits on arbitrary bytes: no crash, and an edit reads back.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "projects/ini_document.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view input(reinterpret_cast<const char*>(data), size);
    snapdesk::IniDocument doc = snapdesk::IniDocument::parse(input);
    const std::string rendered = doc.render();
    for (const auto& name : doc.sectionNames()) {
        for (const auto& key : doc.keyNames(name)) {
            (void)doc.value(name, key, "");
        }
    }
    // Names from the input itself, so that edits hit existing sections and keys.
    const std::string_view section = input.substr(0, std::min<std::size_t>(size, 8));
    const std::string_view key = input.substr(size / 2, 6);
    doc.deleteKey(section, key);
    doc.setValue("Fuzz", "1", "value");
    if (doc.value("fuzz", " 1 ", "") != "value") {
        std::abort();
    }
    doc.deleteSection(section);
    (void)snapdesk::IniDocument::parse(doc.render() + rendered);
    return 0;
}
