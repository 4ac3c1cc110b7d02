#pragma once

// Resource ids of the recovery offer: 3800-3849, apart from the other dialogs' ranges.

#define IDD_RECOVERY 3800
#define IDC_lblRecoveryMessage 3801
#define IDC_lblKeepName 3802
#define IDC_txtKeepName 3803
#define IDC_cmdReopen 3804
#define IDC_cmdKeep 3805
#define IDC_cmdDiscard 3806
