// Control IDs of the dialog templates in document.rc.
#ifndef ORINDA_DOCUMENT_IDS_H
#define ORINDA_DOCUMENT_IDS_H

#ifndef IDC_STATIC
#define IDC_STATIC (-1)
#endif

// CodeDialog
#define IDC_ENCODING_COMBO 101

#endif
