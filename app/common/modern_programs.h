#pragma once

// Today's browsers and Office programs, told apart by their executable or window class. The
// programs the rest of the code names by their old executables keep their own tests.

#include <string_view>

namespace snapdesk {

enum class ModernBrowser { None, Chrome, Edge, Brave, Vivaldi, Opera, Firefox };
enum class OfficeProgram { None, Word, Excel, PowerPoint };

// The browser whose executable the path names (any letter case), or None.
ModernBrowser modernBrowserOf(std::string_view exePath);
// Chrome, Edge, Brave, Vivaldi and Opera share one history format and command line.
bool isChromiumFamily(ModernBrowser browser);
// The browser's name as its users know it ("Google Chrome", "Microsoft Edge", ...).
const char* modernBrowserLabel(ModernBrowser browser);
// The Office program of a main window class ("OpusApp", "XLMAIN", "PPTFrameClass"), or None.
OfficeProgram officeProgramOfClass(std::string_view windowClass);
// The Office program whose executable the path names (WINWORD.EXE, EXCEL.EXE, POWERPNT.EXE).
OfficeProgram officeProgramOf(std::string_view exePath);

}  // namespace snapdesk
