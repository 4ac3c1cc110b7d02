#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

#include "platform/file_system.h"
#include "projects/ini_document.h"

namespace snapdesk {

// Reads and writes one INI file through the file system: set Path, then Section and Key,
// then read or assign Value. Every write replaces the file whole, so it never holds half
// of a change; between beginBatch and endBatch writes collect in memory and reach the file
// in one replacement. Values and lists come back whole, however long.
class CInifile {
  public:
    explicit CInifile(FileSystem& files) : files_(files) {}
    ~CInifile();
    CInifile(const CInifile&) = delete;
    CInifile& operator=(const CInifile&) = delete;

    std::int32_t LastReturnCode() const { return lastReturnCode_; }
    bool Success() const { return lastReturnCode_ != 0; }

    void setDefault(const std::string& value) { default_ = value; }
    std::string Default() const { return default_.value_or(""); }
    void setPath(const std::string& value);
    std::string Path() const { return path_.value_or(""); }
    void setKey(const std::string& value) { key_ = value; }
    std::string Key() const { return key_.value_or(""); }
    void setSection(const std::string& value) { section_ = value; }
    std::string Section() const { return section_.value_or(""); }

    // The value of the current key; with no key ever assigned, the key names of the section
    // (with no section, the section names), each followed by a NUL.
    std::string Value();
    // Writes the value without its NULs (removed from the caller's string too). Line breaks
    // become blanks, so that a value can never start a line of its own.
    void setValue(std::string& value);
    void DeleteKey();
    void DeleteSection();
    // Every value of the current section at once, by key name in upper case: one pass for a
    // file of many keys.
    std::unordered_map<std::string, std::string> sectionValues();
    // Key names of the current section, each followed by a NUL.
    std::string INISection();
    // Hands the text to the file as a write without key: the current section is removed.
    void setINISection(const std::string& value);
    // Section names of the file, each followed by a NUL.
    std::string sections();
    // Names at 1 … count; element 0 is unused, and the array is empty when count is 0.
    void EnumerateCurrentSection(std::vector<std::string>& names, std::int32_t& count);
    void EnumerateAllSections(std::vector<std::string>& names, std::int32_t& count);

    // Reads and writes until endBatch act on one copy of the file, written once at the end.
    void beginBatch();
    // False when the collected writes could not be written; the file is then unchanged.
    bool endBatch();
    // Ends a batch and forgets its writes; the file keeps what it held.
    void cancelBatch();

  private:
    // The file's text as last read or as changed in the batch; nullptr when unreadable.
    IniDocument* document();
    // Applies a change and writes it unless a batch collects it; the write-type result.
    template <typename Change>
    std::int32_t write(Change change);
    std::string listOrDefault(std::vector<std::string> names) const;

    FileSystem& files_;
    std::optional<std::string> path_, key_, section_, default_;
    std::int32_t lastReturnCode_ = 0;
    bool batch_ = false;
    bool batchDirty_ = false;
    std::optional<IniDocument> batchDocument_;
    std::optional<IniDocument> scratch_;
};

// RAII form of a batch for callers that cannot fail midway.
class IniBatch {
  public:
    explicit IniBatch(CInifile& file) : file_(file) { file_.beginBatch(); }
    ~IniBatch() { file_.endBatch(); }
    IniBatch(const IniBatch&) = delete;
    IniBatch& operator=(const IniBatch&) = delete;

  private:
    CInifile& file_;
};

}  // namespace snapdesk
