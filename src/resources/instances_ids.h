// Control IDs of the dialog template in instances.rc.
#ifndef ORINDA_INSTANCES_IDS_H
#define ORINDA_INSTANCES_IDS_H

#ifndef IDC_STATIC
#define IDC_STATIC (-1)
#endif

// WindowDialog
#define IDC_WINDOW_LIST 101

#endif
