#include "location/no_path_info.h"

#include "common/text.h"

namespace snapdesk {
namespace {

constexpr const char* kAllFiles = "All Files (*.*)|*.*";
constexpr const char* kLocateTitle = "Locate File Path";
constexpr std::size_t kLongestExtension = 4;

}  // namespace

std::string noPathFileFilter(const std::string& noPathName) {
    const std::size_t dot = noPathName.rfind('.');
    if (dot == std::string::npos || noPathName.size() - dot - 1 > kLongestExtension) {
        return kAllFiles;
    }
    const std::string extension = noPathName.substr(dot);
    return "*" + extension + " |*" + extension + "|" + kAllFiles;
}

NoPathInfo::NoPathInfo(std::string noPathName, std::string noPathExe, Shell& shell,
                       std::function<std::string()> browseForFolder)
    : noPathName_(std::move(noPathName)),
      noPathExe_(std::move(noPathExe)),
      shell_(shell),
      browseForFolder_(std::move(browseForFolder)) {}

std::string NoPathInfo::fileNameLabel() const {
    return text::trim(noPathName_);
}

void NoPathInfo::browse(WindowHandle dialog) {
    if (text::contains(text::upperCase(noPathExe_), "\\EXPLORER.EXE")) {
        answer_ = browseForFolder_();
        return;
    }
    FileDialogRequest request;
    request.title = kLocateTitle;
    request.filter = noPathFileFilter(fileNameLabel());
    answer_ = shell_.openFileDialog(dialog, request);
}

}  // namespace snapdesk
