/* Command numbers of the main window's menus; shared with the resource script, so plain
   preprocessor definitions only. */
#pragma once

#define IDR_MAINMENU 100
#define IDR_ACCELERATORS 101
#define IDI_SNAPDESK 125

/* File */
#define ID_mnuNewProject 1001
#define ID_mnuOpen 1002
#define ID_mnuSaveProject 1003
#define ID_mnuSaveProjectAs 1004
#define ID_mnuExit 1005
/* View */
#define ID_mnuLoadImages 1101
#define ID_mnuDoUpdates 1102
#define ID_mnuFolders 1103
#define ID_mnuTabs 1104
#define ID_mnuTextLabels 1105
#define ID_mnuUndoHide 1106
/* Settings */
#define ID_mnuSingleClick 1201
#define ID_mnuAutoLoad 1202
#define ID_mnuMaximize 1203
#define ID_mnuFrequentImageUpdates 1204
#define ID_mnuMinimalImageUpdates 1205
#define ID_mnuNoAutoImageUpdate 1206
/* Help */
#define ID_mnuHelpLaunch 1301
#define ID_mnuAbout 1302
