#pragma once

namespace snapdesk {

// The application title: caption of the main window and of every message box.
inline constexpr const char* kAppTitle = "Snapdesk!";

}  // namespace snapdesk
