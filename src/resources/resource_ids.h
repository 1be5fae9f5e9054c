// Control IDs of the dialog templates in orinda.rc that the code refers to.
// Command IDs (499-616) are not listed here: the menus and the accelerator
// table write them as plain numbers so they read like the command table.
#ifndef ORINDA_RESOURCE_IDS_H
#define ORINDA_RESOURCE_IDS_H

#ifndef IDC_STATIC
#define IDC_STATIC (-1)
#endif

// ORSpeechDialog
#define IDC_ENGINE_COMBO 101

#endif
