/* Command numbers of the main window's menus; shared with the resource script, so plain
   preprocessor definitions only. */
#pragma once

#define IDR_MAINMENU 100
#define IDR_ACCELERATORS 101
#define IDI_SNAPDESK 125
#define IDD_ABOUT 102
#define IDC_ABOUT_VERSION 1901
#define IDB_TOOLBAR 103
#define IDB_TOOLBAR24 105
#define IDB_TOOLBAR32 106
#define IDD_HELP 104
#define IDC_HELP_TEXT 1902

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
#define ID_mnuRestorePositions 1207
#define ID_mnuHotKey 1208
/* Help */
#define ID_mnuHelpLaunch 1301
#define ID_mnuAbout 1302
/* Toolbar buttons without a menu item of their own (the project buttons use the File ids) */
#define ID_buttonUpdateImages 1401
#define ID_buttonAddToProject 1402
#define ID_buttonMoveFromProject 1403
#define ID_buttonRefreshProject 1404
/* Thumbnail popup */
#define ID_mnuUpdate 1501
#define ID_mnuMvToMyProject 1502
#define ID_mnuMvToDocs 1503
#define ID_mnuMvToApps 1504
#define ID_mnuMvtoWeb 1505
#define ID_mnuMvToFront 1506
#define ID_mnuMvToEnd 1507
#define ID_mnuKeepView 1508
#define ID_mnuDoNotShow 1509
/* Dynamic item arrays: the element's index is added to the array's first id */
#define ID_zzzzUpdate 10000
#define ID_zzzzTo 20000
#define ID_zzzzFrom 30000
#define ID_zzzzSystemTray 40000
#define ID_zzzzRange 10000
