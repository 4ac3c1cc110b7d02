#pragma once

// clang-format off
#include <windows.h>
// clang-format on

#include <memory>

#include "mainwindow/panel_view.h"

namespace snapdesk {

// Creates the panel's child windows (MainFrame with tabControl, pbxPortal, canvas, the scroll
// bars, corner and the labels) inside `parent`, the main window. Tiles come from
// zimDisplayWidget.dll. The view must be destroyed before `parent`.
std::unique_ptr<PanelView> createPanelView(HWND parent);

}  // namespace snapdesk
