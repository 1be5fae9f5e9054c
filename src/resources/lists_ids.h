// Control IDs of the dialog templates in lists.rc.
#ifndef ORINDA_LISTS_IDS_H
#define ORINDA_LISTS_IDS_H

#ifndef IDC_STATIC
#define IDC_STATIC (-1)
#endif

// HistoryDialog
#define IDC_HISTORY_LIST 101
#define IDC_HISTORY_DELETE_ALL 102

#endif
