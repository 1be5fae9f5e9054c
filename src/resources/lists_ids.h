// Control IDs of the dialog templates in lists.rc.
#ifndef ORINDA_LISTS_IDS_H
#define ORINDA_LISTS_IDS_H

#ifndef IDC_STATIC
#define IDC_STATIC (-1)
#endif

// The dialogs that list files: HistoryDialog (and the other lists of files)
#define IDC_PATH_LIST 101
#define IDC_PATH_LIST_DELETE_ALL 102

// RegTemplateDialog and eTemplateDialog
#define IDC_TEMPLATE_TITLE 101
#define IDC_TEMPLATE_BODY 102

// TemplateDialog
#define IDC_TEMPLATE_LIST 101
#define IDC_TEMPLATE_EDIT 102
#define IDC_TEMPLATE_COPY 103

#endif
