#pragma once
// The check for a newer version against the maker's web site.

// The quiet check made at start-up when the user asked for it.
void RunStartupUpdateCheck();
