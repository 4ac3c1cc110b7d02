#include "projects/recovery_file.h"

#include "common/runtime_error.h"
#include "common/text.h"
#include "projects/cinifile.h"
#include "projects/project_rules.h"

namespace snapdesk {
namespace {

constexpr const char* kSection = "Recovery";

std::string valueOf(CInifile& ini, const char* key) {
    ini.setSection(kSection);
    ini.setKey(key);
    return ini.Value();
}

bool put(CInifile& ini, const char* key, std::string value) {
    ini.setSection(kSection);
    ini.setKey(key);
    ini.setValue(value);
    return ini.Success();
}

}  // namespace

bool writeRecoveryFile(FileSystem& files, const std::string& path, const RecoveryState& state) {
    CInifile ini(files);
    ini.setPath(path);
    ini.beginBatch();
    bool complete = ProjectStore::writeMembers(ini, state.members);
    complete = put(ini, "Project", state.projectName) && complete;
    complete = put(ini, "Saved", state.saved ? "yes" : "no") && complete;
    complete = put(ini, "Changed", state.changed) && complete;
    // The count proves the file whole: a cut-off file holds fewer names.
    complete = put(ini, "Members", std::to_string(state.members.size())) && complete;
    if (!complete) {
        ini.cancelBatch();
        return false;
    }
    return ini.endBatch();
}

RecoveryRead readRecoveryFile(FileSystem& files, const std::string& path, RecoveryState& state) {
    std::optional<std::string> bytes;
    try {
        bytes = files.readFile(path);
    } catch (const RuntimeError&) {
        return RecoveryRead::Damaged;
    }
    if (!bytes) {
        return RecoveryRead::Missing;
    }
    // A power cut can leave a file of zeros behind.
    if (bytes->find('\0') != std::string::npos) {
        return RecoveryRead::Damaged;
    }
    CInifile ini(files);
    ini.setPath(path);
    IniBatch batch(ini);
    const std::string saved = valueOf(ini, "Saved");
    const std::string count = valueOf(ini, "Members");
    state.projectName = valueOf(ini, "Project");
    state.changed = valueOf(ini, "Changed");
    state.saved = saved == "yes";
    state.members = ProjectStore::readMembers(ini);
    if ((saved != "yes" && saved != "no") || count != std::to_string(state.members.size()) ||
        text::trim(state.projectName).empty()) {
        return RecoveryRead::Damaged;
    }
    return RecoveryRead::Read;
}

std::string setRecoveryFileAside(FileSystem& files, const std::string& path) {
    const std::string stem = path.substr(0, path.size() - 4);  // without ".txt"
    for (int n = 1; n < 1000; ++n) {
        const std::string aside = stem + "-damaged-" + std::to_string(n) + ".txt";
        if (!files.fileAttributes(aside) && files.moveFile(path, aside)) {
            return aside;
        }
    }
    return {};
}

bool recoveryHasWork(const RecoveryState& state) {
    return !state.members.empty() && !state.saved;
}

}  // namespace snapdesk
