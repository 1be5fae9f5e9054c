#include "options/update_check.h"

// The update check is not built yet: start-up checks nothing.
void RunStartupUpdateCheck() {}
