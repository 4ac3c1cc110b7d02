#include "projects/recovery_offer.h"

#include <algorithm>

#include "common/app_title.h"
#include "common/text.h"
#include "projects/project_rules.h"

namespace snapdesk {

std::string recovery_text::setAsideLine(const std::string& aside) {
    return "Snapdesk could not read the Project it kept from its last run and has set the file "
           "aside as \"" +
           aside + "\".";
}

RecoveryOffer::RecoveryOffer(FileSystem& files, ProjectStore& store, Ui& ui,
                             RecoveryOfferDialog& dialog,
                             std::function<void(const RecoveryState&)> reopen)
    : files_(files), store_(store), ui_(ui), dialog_(dialog), reopen_(std::move(reopen)) {}

void RecoveryOffer::offerAtStart(const std::string& path) {
    path_ = path;
    switch (readRecoveryFile(files_, path, state_)) {
        case RecoveryRead::Missing:
            return;
        case RecoveryRead::Damaged: {
            const std::string aside = setRecoveryFileAside(files_, path);
            ui_.messageBox(recovery_text::setAsideLine(aside.empty() ? path : aside), kAppTitle,
                           MessageBoxStyle::OkExclamation);
            return;
        }
        case RecoveryRead::Read:
            break;
    }
    if (!recoveryHasWork(state_)) {
        files_.deleteFile(path);
        return;
    }
    reopenChosen_ = false;
    dialog_.show(*this);
    if (reopenChosen_) {
        // The file stays until the tab it brought back is kept in its place: a close while
        // the programs still start must not lose it.
        reopen_(state_);
    }
}

std::string RecoveryOffer::message() const {
    const bool untitled = state_.projectName == project_rules::kUntitled;
    const std::size_t n = state_.members.size();
    std::string text = "Snapdesk was closed before your Project was saved, so it kept it for you.";
    text += "\r\n\r\nProject:  " + (untitled ? std::string("Untitled") : state_.projectName);
    text += "\r\nMembers:  " + std::to_string(n) + (n == 1 ? " member" : " members");
    if (!state_.changed.empty()) {
        text += "\r\nLast changed:  " + state_.changed;
    }
    text +=
        "\r\n\r\nYou can reopen them now, keep them as a project to open later, or "
        "discard them.";
    return text;
}

std::string RecoveryOffer::suggestedName() const {
    return state_.projectName == project_rules::kUntitled ? std::string() : state_.projectName;
}

bool RecoveryOffer::reopenClicked() {
    reopenChosen_ = true;
    return true;
}

bool RecoveryOffer::keepClicked(const std::string& typedName) {
    const std::string name = text::trim(typedName);
    const std::string problem = project_rules::projectNameProblem(name, store_.projectsFolder());
    if (!problem.empty()) {
        ui_.messageBox(problem, kAppTitle, MessageBoxStyle::OkExclamation);
        return false;
    }
    std::vector<StoredMember> kept;
    std::copy_if(state_.members.begin(), state_.members.end(), std::back_inserter(kept),
                 [](const StoredMember& m) { return m.path != kNotFound && m.path != kNoSave; });
    if (kept.empty()) {
        ui_.messageBox(recovery_text::kNoLocationsKept, kAppTitle, MessageBoxStyle::OkExclamation);
        return false;
    }
    std::vector<std::string> names;
    std::int32_t count = 0;
    store_.getProjectNames(names, count);
    const std::string upper = text::upperCase(name);
    const bool exists = std::any_of(names.begin(), names.end(), [&](const std::string& listed) {
        return text::upperCase(listed) == upper;
    });
    if (exists && ui_.ask(project_rules::overwriteQuestion(name), kAppTitle,
                          QuestionStyle::YesNoCritical) != Answer::Yes) {
        return false;
    }
    if (!store_.storeProject(name, kept, exists)) {
        ui_.messageBox(recovery_text::kNotWritten, kAppTitle, MessageBoxStyle::Ok);
        return false;
    }
    files_.deleteFile(path_);
    return true;
}

bool RecoveryOffer::discardClicked() {
    files_.deleteFile(path_);
    return true;
}

}  // namespace snapdesk
