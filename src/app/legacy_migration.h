#pragma once
// Lists kept by an older version in one machine-wide folder are converted
// once, on the first start that finds no file history here.

void MigrateLegacyListsIfNeeded();
