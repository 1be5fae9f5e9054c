// Control IDs of the dialog templates in editing.rc.
#ifndef ORINDA_EDITING_IDS_H
#define ORINDA_EDITING_IDS_H

// dtDialog
#define IDC_QUICK_INPUT_LIST 101
// BlocDialog
#define IDC_BLOCK_LIST 101

#endif
