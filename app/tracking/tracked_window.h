#pragma once

#include <cstdint>
#include <string>

#include "platform/handles.h"
#include "platform/picture.h"

namespace snapdesk {

// Tabs of the main window, as records store them.
enum Tab : std::int16_t { kDocumentsTab = 0, kWebBrowsersTab = 1, kOthersTab = 2, kProjectTab = 3 };

// Markers of filePath.
inline constexpr const char* kNotFound = "notfound";
inline constexpr const char* kNoSave = "nosave";

// One tracked window. The fields keep their order and names; strings and the picture
// reference belong to the record, so a copy shares the picture.
struct TrackedWindow {
    WindowHandle hWnd = 0;  // 0 marks an empty slot
    WindowHandle hClient = 0;
    WindowHandle hTopWnd = 0;
    bool doDisplay = false;
    bool gotPhoto = false;
    PicturePtr thePhoto;
    IconHandle hIcon = 0;
    std::string CommentString;
    std::string CaptionString;
    std::string WindowText;
    std::string LastWindowText;
    std::int16_t inTab = 0;
    std::int16_t originalTab = 0;
    bool isExcel = false;
    bool flgKeepView = false;
    bool isZoomed = false;
    bool parentZoomed = false;
    std::int32_t searchIndex = 0;
    std::uint32_t bestTimeLow = 0;
    std::uint32_t bestTimeHigh = 0;
    bool searchDone = false;
    std::string filePath;
    std::string EXEPath;
    std::int16_t updateCount = 0;
    // Beyond the classic fields: a Chromium-family browser's profile folder ("Default",
    // "Profile 1", ...) and a packaged program's application id (AUMID); "" when none.
    std::string browserProfile;
    std::string appId;
    // thePhoto is a picture the window drew of itself in the background: it stands in for a
    // capture (gotPhoto stays false) until one is taken.
    bool photoIsProvisional = false;
};

}  // namespace snapdesk
