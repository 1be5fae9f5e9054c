// Control IDs of the dialog template in jump_to_line.rc.
#ifndef ORINDA_JUMP_TO_LINE_IDS_H
#define ORINDA_JUMP_TO_LINE_IDS_H

// JumpDialog
#define IDC_LINE_NUMBER_COMBO 101

#endif
