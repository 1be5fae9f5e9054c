#include "lists/templates.h"

// Templates are not kept yet: there is nothing to convert.
void MigrateLegacyTemplates(const std::wstring&) {}
