#pragma once

// Resource ids of "Save Project As": 3000-3199, apart from the other dialogs' ranges.

#define IDD_SAVE 3000
#define IDC_lblSavedProjects 3001
#define IDC_txtSavePro 3002
#define IDC_lstIniSection 3003
#define IDC_lblFiles 3004
#define IDC_lbxFiles 3005
#define IDC_lblFileLocation 3006
#define IDC_txtLongPath 3007
#define IDC_cmdEdit 3008
#define IDC_cmdBrowse 3009
#define IDC_cmdSaveProject 3010
// cmdCancel is IDCANCEL, so that Escape and the close box cancel.
