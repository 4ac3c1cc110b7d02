#include "projects/cinifile.h"

#include <algorithm>
#include <list>

#include "common/runtime_error.h"
#include "common/text.h"

namespace snapdesk {

namespace {

// The last files this process read or wrote, with their text as it stood in memory. A file
// whose bytes are still those cached reads as the cached text, as the system's own
// private-profile functions do (a value written with trailing blanks reads back with them
// until the file changes on disk).
struct CachedFile {
    std::string key;
    std::string bytes;
    IniDocument document;
};
constexpr std::size_t kCachedFiles = 10;

std::list<CachedFile>& cache() {
    static std::list<CachedFile> files;
    return files;
}

const IniDocument* cached(const std::string& path, const std::string& bytes) {
    const std::string key = text::upperCase(path);
    for (auto it = cache().begin(); it != cache().end(); ++it) {
        if (it->key == key) {
            if (it->bytes != bytes) {
                cache().erase(it);
                return nullptr;
            }
            cache().splice(cache().begin(), cache(), it);
            return &cache().front().document;
        }
    }
    return nullptr;
}

void remember(const std::string& path, std::string bytes, const IniDocument& document) {
    const std::string key = text::upperCase(path);
    std::erase_if(cache(), [&](const CachedFile& f) { return f.key == key; });
    cache().push_front({key, std::move(bytes), document});
    if (cache().size() > kCachedFiles) {
        cache().pop_back();
    }
}

std::string joined(const std::vector<std::string>& names) {
    std::string out;
    for (const auto& name : names) {
        out += name;
        out += '\0';
    }
    return out;
}

}  // namespace

CInifile::~CInifile() {
    if (batch_) {
        endBatch();
    }
}

void CInifile::setPath(const std::string& value) {
    if (batch_ && path_ != value) {
        endBatch();
        path_ = value;
        beginBatch();
        return;
    }
    path_ = value;
}

IniDocument* CInifile::document() {
    if (batch_ && batchDocument_) {
        return &*batchDocument_;
    }
    std::optional<IniDocument>& slot = batch_ ? batchDocument_ : scratch_;
    slot.reset();
    if (!path_) {
        return nullptr;
    }
    try {
        const auto bytes = files_.readFile(*path_);
        if (!bytes) {
            slot = IniDocument::parse("");
        } else if (const IniDocument* known = cached(*path_, *bytes)) {
            slot = *known;
        } else {
            slot = IniDocument::parse(*bytes);
            remember(*path_, *bytes, *slot);
        }
    } catch (const RuntimeError&) {
        return nullptr;
    }
    return &*slot;
}

template <typename Change>
std::int32_t CInifile::write(Change change) {
    if (!section_) {
        return 0;
    }
    IniDocument* doc = document();
    if (doc == nullptr) {
        return 0;
    }
    if (!change(*doc)) {
        return 1;
    }
    if (batch_) {
        batchDirty_ = true;
        return 1;
    }
    std::string bytes = doc->render();
    if (!files_.replaceFile(*path_, bytes)) {
        return 0;
    }
    remember(*path_, std::move(bytes), *doc);
    return 1;
}

std::string CInifile::listOrDefault(std::vector<std::string> names) const {
    if (names.empty()) {
        return ini::unquoted(ini::trimmedDefault(Default()));
    }
    return joined(names);
}

std::string CInifile::Value() {
    const IniDocument* doc = document();
    const std::string fallback = ini::trimmedDefault(Default());
    if (doc == nullptr) {
        return fallback;
    }
    if (!section_) {
        return joined(doc->sectionNames());
    }
    if (!key_) {
        return listOrDefault(doc->keyNames(*section_));
    }
    if (key_->empty()) {
        return ini::unquoted(fallback);
    }
    return doc->value(*section_, *key_, fallback);
}

void CInifile::setValue(std::string& value) {
    std::erase(value, '\0');
    std::string stored = value;
    std::replace_if(
        stored.begin(), stored.end(), [](char c) { return c == '\r' || c == '\n'; }, ' ');
    if (!key_) {
        lastReturnCode_ = write([&](IniDocument& doc) { return doc.deleteSection(*section_); });
        return;
    }
    lastReturnCode_ =
        write([&](IniDocument& doc) { return doc.setValue(*section_, *key_, stored); });
}

void CInifile::DeleteKey() {
    if (!key_) {
        DeleteSection();
        return;
    }
    lastReturnCode_ = write([&](IniDocument& doc) { return doc.deleteKey(*section_, *key_); });
}

void CInifile::DeleteSection() {
    lastReturnCode_ = write([&](IniDocument& doc) { return doc.deleteSection(*section_); });
}

std::unordered_map<std::string, std::string> CInifile::sectionValues() {
    const IniDocument* doc = document();
    if (doc == nullptr || !section_) {
        return {};
    }
    return doc->values(*section_);
}

std::string CInifile::INISection() {
    const IniDocument* doc = document();
    if (doc == nullptr || !section_) {
        return doc == nullptr ? ini::trimmedDefault(Default()) : joined(doc->sectionNames());
    }
    return listOrDefault(doc->keyNames(*section_));
}

void CInifile::setINISection(const std::string&) {
    DeleteSection();
}

std::string CInifile::sections() {
    const IniDocument* doc = document();
    return doc == nullptr ? std::string() : joined(doc->sectionNames());
}

void CInifile::EnumerateCurrentSection(std::vector<std::string>& names, std::int32_t& count) {
    count = 0;
    names.clear();
    const std::string list = INISection();
    if (list.empty()) {
        return;
    }
    std::size_t start = 0;
    for (std::size_t nul = list.find('\0'); nul != std::string::npos;
         nul = list.find('\0', start)) {
        if (names.empty()) {
            names.emplace_back();
        }
        names.push_back(list.substr(start, nul - start));
        ++count;
        start = nul + 1;
    }
}

void CInifile::EnumerateAllSections(std::vector<std::string>& names, std::int32_t& count) {
    count = 0;
    names.clear();
    const std::string list = sections();
    std::size_t start = 0;
    for (std::size_t nul = list.find('\0'); nul != std::string::npos;
         nul = list.find('\0', start)) {
        if (nul > start) {
            if (names.empty()) {
                names.emplace_back();
            }
            names.push_back(list.substr(start, nul - start));
            ++count;
        }
        start = nul + 1;
    }
}

void CInifile::cancelBatch() {
    batch_ = false;
    batchDirty_ = false;
    batchDocument_.reset();
}

void CInifile::beginBatch() {
    if (batch_) {
        return;
    }
    batch_ = true;
    batchDirty_ = false;
    batchDocument_.reset();
}

bool CInifile::endBatch() {
    if (!batch_) {
        return true;
    }
    batch_ = false;
    bool written = true;
    if (batchDirty_ && batchDocument_ && path_) {
        std::string bytes = batchDocument_->render();
        written = files_.replaceFile(*path_, bytes);
        if (written) {
            remember(*path_, std::move(bytes), *batchDocument_);
        } else {
            lastReturnCode_ = 0;
        }
    }
    batchDirty_ = false;
    batchDocument_.reset();
    return written;
}

}  // namespace snapdesk
