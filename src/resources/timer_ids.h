// Control IDs of the sleep timer dialog in timer.rc.
#ifndef ORINDA_TIMER_IDS_H
#define ORINDA_TIMER_IDS_H

#ifndef IDC_STATIC
#define IDC_STATIC (-1)
#endif

// SleepDialog
#define IDC_SLEEP_DURATION 101
#define IDC_SLEEP_ACTION 102

#endif
