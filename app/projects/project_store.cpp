#include "projects/project_store.h"

#include <algorithm>
#include <unordered_map>

#include "common/app_title.h"
#include "common/packaged_programs.h"
#include "common/text.h"
#include "projects/project_rules.h"
#include "projects/window_placer.h"
#include "tracking/program_key.h"
#include "tracking/recent_folder.h"

namespace snapdesk {

namespace {

constexpr const char* kWarning = "Warning: Automatically generated file.  Do Not Delete or Edit.";
// The browser profile a page was shown in, by member number (newer than the other sections).
constexpr const char* kProfileSection = "FileProfile";
// Where each member's window stood (see window_placement.h), by member number.
constexpr const char* kPlacementSection = "FilePlacement";
constexpr const char* kNoNameMessage = "           You must enter a project name.         ";
constexpr const char* kNotWrittenMessage =
    "An error has occurred in 'saveProject'.\r\nThe project file could not be written.";
constexpr std::uint32_t kDirectory = 0x10, kHidden = 0x2, kSystem = 0x4;

std::string read(CInifile& ini, const std::string& section, const std::string& key) {
    ini.setSection(section);
    ini.setKey(key);
    return ini.Value();
}

// False when the value did not reach the file (or the batch that will write it).
bool write(CInifile& ini, const std::string& section, const std::string& key, std::string value) {
    ini.setSection(section);
    ini.setKey(key);
    ini.setValue(value);
    return ini.Success();
}

// A section read at once; a key's value is then found without walking the section again.
class SectionValues {
  public:
    SectionValues(CInifile& ini, const std::string& section) {
        ini.setSection(section);
        values_ = ini.sectionValues();
    }
    std::string operator[](const std::string& key) const {
        const auto it = values_.find(text::upperCase(ini::trimBlanks(key)));
        return it == values_.end() ? std::string() : it->second;
    }

  private:
    std::unordered_map<std::string, std::string> values_;
};

std::vector<std::string> keysOf(CInifile& ini, const std::string& section) {
    ini.setSection(section);
    std::vector<std::string> names;
    std::int32_t count = 0;
    ini.EnumerateCurrentSection(names, count);
    if (!names.empty()) {
        names.erase(names.begin());
    }
    return names;
}

void deleteSection(CInifile& ini, const std::string& section) {
    ini.setSection(section);
    ini.DeleteSection();
}

// A record's location and program as a project holds them. A packaged program is held by its
// application id, and so is its location when the member is the program itself.
struct SavedProgram {
    std::string path, exe;
};

SavedProgram savedProgramOf(const CoffeeShopList& list, long i) {
    SavedProgram saved{list.filePath(i), list.EXEPath(i)};
    if (const std::string appId = list.appId(i); !appId.empty()) {
        const std::string program = packaged::programText(appId);
        if (text::upperCase(saved.path) == text::upperCase(saved.exe)) {
            saved.path = program;
        }
        saved.exe = program;
    }
    return saved;
}

}  // namespace

ProjectStore::ProjectStore(FileSystem& files, Shell& shell, Ui& ui, CoffeeShopList& list,
                           ProjectStoreHost& host, std::string programFolder)
    : files_(files),
      shell_(shell),
      ui_(ui),
      list_(list),
      host_(host),
      programFolder_(std::move(programFolder)),
      currentProjectName_(project_rules::kUntitled) {
    if (!text::endsWith(programFolder_, "\\")) {
        programFolder_ += '\\';
    }
}

bool ProjectStore::exists(const std::string& path) {
    return files_.fileAttributes(path).has_value();
}

std::string ProjectStore::projectFile(const std::string& name) const {
    return projectsFolder() + "\\" + name + ".txt";
}

void ProjectStore::loadProjectStore() {
    setRecentFolder(kRecentFolderUnknown);
    if (!exists(projectsFolder())) {
        if (!exists(dataFolder())) {
            files_.createFolder(dataFolder());
        }
        files_.createFolder(projectsFolder());
    }
    if (exists(oldDataFile())) {
        convertOldData();
    }
    projectNames_.clear();
    for (const auto& entry : files_.findFiles(projectsFolder() + "\\*")) {
        // Folders and hidden or system files are not listed, as a plain directory listing
        // gives none; neither are files without ".txt", which cannot be read as projects.
        if ((entry.attributes & (kDirectory | kHidden | kSystem)) != 0) {
            continue;
        }
        const std::string name = project_rules::projectNameOfFile(entry.name);
        if (!name.empty()) {
            projectNames_.push_back(name);
        }
    }
    std::string recent;
    if (const auto path = shell_.specialFolderPath(special_folders::kRecent, owner_)) {
        recent = text::NulTrim(*path);
    }
    recent += '\\';
    setRecentFolder(recent == "\\" ? kRecentFolderUnknown : recent);
    storedPathsIni_ = std::make_unique<CInifile>(files_);
    storedPathsIni_->setPath(storedPathsFile());
    buildStoredPaths();
}

void ProjectStore::convertOldData() {
    CInifile old(files_);
    old.setPath(oldDataFile());
    old.beginBatch();
    std::vector<std::pair<std::string, std::string>> pairs;
    for (const auto& key : keysOf(old, "oldFle")) {
        pairs.emplace_back(read(old, "oldFle", key), read(old, "oldlnk", key));
    }
    deleteSection(old, "oldFle");
    deleteSection(old, "oldlnk");

    CInifile stored(files_);
    stored.setPath(storedPathsFile());
    stored.beginBatch();
    for (std::size_t j = 0; j < pairs.size(); ++j) {
        write(stored, "oldFileName", std::to_string(j + 1), pairs[j].first);
        write(stored, "oldFilePath", std::to_string(j + 1), pairs[j].second);
    }
    bool complete = stored.endBatch();

    std::vector<std::string> sectionNames;
    std::int32_t sectionCount = 0;
    old.EnumerateAllSections(sectionNames, sectionCount);
    bool skipped = false;
    for (std::int32_t i = 1; i <= sectionCount; ++i) {
        const std::string& section = sectionNames[static_cast<std::size_t>(i)];
        if (!text::beginsWith(section, "fle")) {
            continue;
        }
        const std::string name = section.substr(3);
        // A name that would lead out of the projects folder converts nothing.
        if (!project_rules::isSafeProjectName(name)) {
            skipped = true;
            continue;
        }
        CInifile project(files_);
        project.setPath(projectFile(name));
        project.beginBatch();
        const std::size_t n = keysOf(old, "fle" + name).size();
        for (std::size_t j = 1; j <= n; ++j) {
            const std::string key = std::to_string(j);
            write(project, "FileName", key, read(old, "fle" + name, key));
            write(project, "FilePath", key, read(old, "lnk" + name, key));
            write(project, "FileEXE", key, read(old, "exe" + name, key));
            write(project, "FileComment", key, "");
        }
        if (!project.endBatch()) {
            complete = false;
            continue;
        }
        deleteSection(old, "fle" + name);
        deleteSection(old, "lnk" + name);
        deleteSection(old, "exe" + name);
    }
    // What could not be converted stays in the old file, which is kept for it.
    if (complete && !skipped) {
        old.endBatch();
        files_.deleteFile(oldDataFile());
    } else if (complete) {
        old.endBatch();
    } else {
        // Keep the old file whole when a new file failed: nothing is lost.
        old.cancelBatch();
    }
}

void ProjectStore::buildStoredPaths() {
    storedNames_.clear();
    storedPaths_.clear();
    projectFolders_.assign(1, std::string());
    for (const auto& name : projectNames_) {
        CInifile project(files_);
        project.setPath(projectFile(name));
        IniBatch batch(project);
        const SectionValues names(project, "FileName"), paths(project, "FilePath");
        for (const auto& key : keysOf(project, "FileName")) {
            storedNames_.push_back(names[key]);
            storedPaths_.push_back(paths[key]);
        }
    }
    if (storedPathsIni_) {
        IniBatch batch(*storedPathsIni_);
        const SectionValues names(*storedPathsIni_, "oldFileName");
        const SectionValues paths(*storedPathsIni_, "oldFilePath");
        for (const auto& key : keysOf(*storedPathsIni_, "oldFileName")) {
            storedNames_.push_back(names[key]);
            storedPaths_.push_back(paths[key]);
        }
    }
    for (const auto& path : storedPaths_) {
        const std::string folder = project_rules::folderBelowRoot(path);
        if (!folder.empty() && std::find(projectFolders_.begin(), projectFolders_.end(), folder) ==
                                   projectFolders_.end()) {
            projectFolders_.push_back(folder);
        }
    }
}

std::vector<StoredMember> ProjectStore::projectTabMembers(bool savableOnly) const {
    std::vector<StoredMember> members;
    std::vector<long> records;
    for (long i = 1; i <= list_.count(); ++i) {
        const std::string path = list_.filePath(i);
        if (list_.inTab(i) != kProjectTab ||
            (savableOnly && (path == kNoSave || path == kNotFound))) {
            continue;
        }
        const SavedProgram saved = savedProgramOf(list_, i);
        members.push_back({list_.CaptionString(i), saved.path, saved.exe, list_.CommentString(i),
                           list_.browserProfile(i), ""});
        records.push_back(i);
    }
    if (windows_ != nullptr && !records.empty()) {
        const std::vector<std::string> placements = recordPlacements(*windows_, list_, records);
        for (std::size_t j = 0; j < members.size(); ++j) {
            members[j].placement = placements[j];
        }
    }
    return members;
}

bool ProjectStore::writeMembers(CInifile& project, const std::vector<StoredMember>& members) {
    for (const char* section :
         {"FilePath", "FileName", "FileEXE", "FileComment", kProfileSection, kPlacementSection}) {
        deleteSection(project, section);
    }
    // An existing file that cannot be read takes no values: that is no save either.
    bool complete = write(project, "Snapdesk!", "IMPORTANT", kWarning);
    for (std::size_t j = 0; j < members.size(); ++j) {
        complete = write(project, "FilePath", std::to_string(j + 1), members[j].path) && complete;
    }
    for (std::size_t j = 0; j < members.size(); ++j) {
        const std::string key = std::to_string(j + 1);
        const StoredMember& m = members[j];
        complete = write(project, "FileName", key,
                         project_rules::savedMemberName(m.caption, m.path, m.exe)) &&
                   complete;
        complete = write(project, "FileEXE", key, m.exe) && complete;
        complete = write(project, "FileComment", key, m.comment) && complete;
    }
    // Only browser pages have a profile; other members leave the section alone.
    for (std::size_t j = 0; j < members.size(); ++j) {
        if (!members[j].profile.empty()) {
            complete = write(project, kProfileSection, std::to_string(j + 1), members[j].profile) &&
                       complete;
        }
    }
    for (std::size_t j = 0; j < members.size(); ++j) {
        if (!members[j].placement.empty()) {
            complete =
                write(project, kPlacementSection, std::to_string(j + 1), members[j].placement) &&
                complete;
        }
    }
    return complete;
}

std::vector<StoredMember> ProjectStore::readMembers(CInifile& project) {
    IniBatch batch(project);
    const std::size_t count = keysOf(project, "FileName").size();
    const SectionValues fileNames(project, "FileName"), filePaths(project, "FilePath");
    const SectionValues fileExes(project, "FileEXE"), fileComments(project, "FileComment");
    const SectionValues fileProfiles(project, kProfileSection);
    const SectionValues filePlacements(project, kPlacementSection);
    std::vector<StoredMember> members;
    for (std::size_t j = 1; j <= count; ++j) {
        const std::string key = std::to_string(j);
        members.push_back({fileNames[key], filePaths[key], text::upperCase(fileExes[key]),
                           fileComments[key], fileProfiles[key], filePlacements[key]});
    }
    return members;
}

bool ProjectStore::storeProject(const std::string& name, const std::vector<StoredMember>& members,
                                bool overwrite) {
    CInifile project(files_);
    project.setPath(projectFile(name));
    // The whole save reaches the file in one replacement.
    project.beginBatch();
    const bool existed = exists(projectFile(name));
    if (existed || overwrite) {
        ui_.doEvents();
    }
    bool written = false;
    if (writeMembers(project, members)) {
        written = project.endBatch();
    } else {
        project.cancelBatch();
    }
    if (written) {
        ++projectsWritten_;
    }
    if (written && !overwrite && !existed) {
        projectNames_.push_back(name);
    }
    return written;
}

bool ProjectStore::saveProject(std::string& name, bool overwrite) {
    name = text::trim(name);
    if (name.empty()) {
        ui_.messageBox(kNoNameMessage, kAppTitle, MessageBoxStyle::Ok);
        return false;
    }
    host_.updatePaths(true);
    const std::vector<StoredMember> members = projectTabMembers(true);
    bool written = false;
    if (!members.empty()) {
        written = storeProject(name, members, overwrite);
        if (!written) {
            ui_.messageBox(kNotWrittenMessage, kAppTitle, MessageBoxStyle::Ok);
        }
    }
    if (written) {
        currentProjectName_ = name;
        host_.setProjectLabelCaption(project_rules::projectLabelCaption(name));
        host_.setProjectLabelLeft((host_.mainWindowWidth() - host_.projectLabelWidth()) / 2);
    } else if (members.empty()) {
        if (overwrite) {
            host_.showNoEmptyOverwrite();
        } else {
            host_.showNoEmptyProject();
        }
    }
    for (long i = 1; i <= list_.count(); ++i) {
        if (list_.inTab(i) == kProjectTab && list_.filePath(i) == kNotFound) {
            list_.setFilePath(i, kNoSave);
        }
    }
    return written;
}

void ProjectStore::readProject(std::string name, std::vector<std::string>& names,
                               std::vector<std::string>& paths, std::vector<std::string>& exes,
                               std::vector<std::string>& comments, std::int32_t& count,
                               std::vector<std::string>* profiles,
                               std::vector<std::string>* placements) {
    name = text::trim(name);
    count = 0;
    names.clear();
    paths.clear();
    exes.clear();
    comments.clear();
    if (profiles != nullptr) {
        profiles->clear();
    }
    if (placements != nullptr) {
        placements->clear();
    }
    if (name == project_rules::kProjectTabMarker) {
        for (long i = 1; i <= list_.count(); ++i) {
            if (list_.inTab(i) == kProjectTab) {
                names.push_back(list_.CaptionString(i));
                paths.push_back(savedProgramOf(list_, i).path);
                exes.push_back(programKeyOf(list_, i));
                comments.push_back(list_.CommentString(i));
                if (profiles != nullptr) {
                    profiles->push_back(list_.browserProfile(i));
                }
                if (placements != nullptr) {
                    placements->push_back("");
                }
                ++count;
            }
        }
        return;
    }
    if (name.empty() || name == project_rules::kUntitled) {
        return;
    }
    CInifile project(files_);
    project.setPath(projectFile(name));
    for (StoredMember& m : readMembers(project)) {
        names.push_back(std::move(m.caption));
        paths.push_back(std::move(m.path));
        exes.push_back(std::move(m.exe));
        comments.push_back(std::move(m.comment));
        if (profiles != nullptr) {
            profiles->push_back(std::move(m.profile));
        }
        if (placements != nullptr) {
            placements->push_back(std::move(m.placement));
        }
        ++count;
    }
}

void ProjectStore::getProjectNames(std::vector<std::string>& names, std::int32_t& count) const {
    count = static_cast<std::int32_t>(projectNames_.size());
    names = projectNames_;
}

void ProjectStore::deleteProject(const std::string& name) {
    if (name.empty() || !exists(projectFile(name))) {
        return;
    }
    files_.deleteFile(projectFile(name));
    const auto it = std::find(projectNames_.begin(), projectNames_.end(), name);
    if (it != projectNames_.end()) {
        projectNames_.erase(it);
    }
}

std::string ProjectStore::storedPath(const std::string& name) const {
    const std::string upperName = text::upperCase(name);
    const bool hasExtension = project_rules::nameHasExtension(upperName);
    for (std::size_t i = 0; i < storedNames_.size(); ++i) {
        if (project_rules::storedNameMatches(upperName, hasExtension,
                                             text::upperCase(storedNames_[i]))) {
            return storedPaths_[i];
        }
    }
    return kNotFound;
}

void ProjectStore::saveOldPaths() {
    std::vector<std::pair<std::string, std::string>> collected;
    for (long i = 1; i <= list_.count(); ++i) {
        if (list_.inTab(i) == kProjectTab) {
            collected.emplace_back(list_.CaptionString(i), list_.filePath(i));
        }
    }
    if (collected.empty()) {
        return;
    }
    if (!storedPathsIni_) {
        storedPathsIni_ = std::make_unique<CInifile>(files_);
        storedPathsIni_->setPath(storedPathsFile());
    }
    CInifile& ini = *storedPathsIni_;
    ini.beginBatch();
    const std::size_t count = keysOf(ini, "oldFileName").size();
    std::vector<std::string> names, paths;
    for (std::size_t k = 1; k <= count; ++k) {
        names.push_back(read(ini, "oldFileName", std::to_string(k)));
        paths.push_back(read(ini, "oldFilePath", std::to_string(k)));
    }
    std::size_t n = count;
    if (n > 100) {
        deleteSection(ini, "oldFileName");
        deleteSection(ini, "oldFilePath");
        for (std::size_t j = 1; j <= 75; ++j) {
            write(ini, "oldFileName", std::to_string(j), names[n - 75 + j - 1]);
            write(ini, "oldFilePath", std::to_string(j), paths[n - 75 + j - 1]);
        }
        n = 75;
    }
    std::size_t added = 0;
    for (const auto& [caption, path] : collected) {
        if (path == kNotFound || path == kNoSave ||
            std::find(names.begin(), names.end(), caption) != names.end()) {
            continue;
        }
        ++added;
        write(ini, "oldFileName", std::to_string(n + added), caption);
        write(ini, "oldFilePath", std::to_string(n + added), path);
    }
    ini.endBatch();
}

}  // namespace snapdesk
