#pragma once

// Resource ids of "Open Project": 3600-3699, apart from the other dialogs' ranges.

#define IDD_OPENPROJECT 3600
#define IDC_lstProjects 3601
#define IDC_lblSelectedProject 3602
#define IDC_lblDisplay 3603
#define IDC_lstFiles 3604
#define IDC_lbxFileNames 3605
#define IDC_cmdOpen 3606
#define IDC_cmdDelete 3607
// cmdCancel is IDCANCEL, so that Escape and the close box cancel.
