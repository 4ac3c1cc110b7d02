#include "location/no_netscape6.h"

#include "common/app_title.h"
#include "common/text.h"
#include "projects/project_dialogs.h"

namespace snapdesk {
namespace {

// "Do Not Save" until the close turns it into an empty answer.
constexpr const char* kDecidedToCancel = "DUDEDECIDEDTOCANCEL";
constexpr const char* kNoUrlMessage = "You did not enter a URL/file to save.";

}  // namespace

std::string NoNetscape6::windowCaption() const {
    return "Storing " + browserLabel_ + " URLs";
}

std::string NoNetscape6::captionLine() const {
    return "     " + browserCaption_;
}

bool NoNetscape6::saveUrl(const std::string& typed) {
    const std::string address = text::trim(typed);
    if (address.empty()) {
        ui_.messageBox(kNoUrlMessage, kAppTitle, MessageBoxStyle::Ok);
        return false;
    }
    answer_ = address;
    return true;
}

void NoNetscape6::saveBrowser() {
    answer_ = kSaveBrowserExe;
}

void NoNetscape6::doNotSave() {
    answer_ = kDecidedToCancel;
}

bool NoNetscape6::queryClose() {
    if (answer_.empty()) {
        return false;
    }
    if (answer_ == kDecidedToCancel) {
        answer_.clear();
    }
    return true;
}

}  // namespace snapdesk
