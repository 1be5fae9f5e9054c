#pragma once
// Text templates: one file per template in the data folder's "Template".
#include <string>

void MigrateLegacyTemplates(const std::wstring& legacyFolder);
