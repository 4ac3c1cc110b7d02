#pragma once

// clang-format off
#include <windows.h>
// clang-format on

#include <memory>

#include "mainwindow/panel_view.h"
#include "mainwindow/win32/twips_scale.h"

namespace snapdesk {

// Creates the panel's child windows (MainFrame with tabControl, pbxPortal, canvas, the scroll
// bars, corner and the labels) inside `parent`, the main window. Tiles come from
// zimDisplayWidget.dll. The view must be destroyed before `parent`.
std::unique_ptr<PanelView> createPanelView(HWND parent);

// The window of a control of a view made by createPanelView, and of one of its tiles;
// nullptr for other views and tiles.
HWND panelWindowOf(PanelView& view, PanelControl control);
HWND tileWindowOf(TileView& tile);
// The window's scale changed: a view made by createPanelView converts at the new one.
void setPanelScale(PanelView& view, const TwipsScale& scale);

}  // namespace snapdesk
