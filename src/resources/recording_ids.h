// Control IDs of the dialog templates in recording.rc.
#ifndef ORINDA_RECORDING_IDS_H
#define ORINDA_RECORDING_IDS_H

// RecTextDialog
#define IDC_REC_VOICE 101
#define IDC_REC_VOLUME 102
#define IDC_REC_RATE 103
#define IDC_REC_PITCH 104
#define IDC_REC_FOLDER 105
#define IDC_REC_BROWSE 106
#define IDC_REC_BIT_RATE 107
#define IDC_REC_OPEN_FOLDER 108
#define IDC_REC_TEST 109
// RecDialog
#define IDC_REC_PROGRESS_TEXT 101

#endif
