#pragma once
// Text templates: one file per template in the data folder's "Template"
// folder, the folder being the list. A template file holds UTF-8 after a
// byte-order mark: "[Header]\nTitle=%s\n----------\n", then the body with CR LF
// line ends. Any other *.txt file there is a template too, titled by its name.
#include <windows.h>

#include <string>
#include <vector>

constexpr size_t kMaxTemplateTitleUnits = 260;
constexpr size_t kMaxListedTemplates = 500;

struct TextTemplate {
    std::wstring title;
    std::wstring body;
};

// A file without the header (or with an empty title) is titled `name`, and
// its whole text after the mark is the body.
TextTemplate ParseTemplate(const std::string& bytes, const std::wstring& name);
std::string FormatTemplate(const TextTemplate& text);

// The name of a template stored at `time`: its fourteen digits, then "_02",
// "_03", ... for the second and later ones of the same second, so that the
// names still sort newest first.
std::wstring TemplateName(const SYSTEMTIME& time, int sequence);
// The `limit` newest of the names: in descending order.
std::vector<std::wstring> NewestTemplateNames(std::vector<std::wstring> names, size_t limit);

std::wstring TemplateFolder();
// Store a new template under a name no other has; returns false when its file
// could not be written.
bool StoreTemplate(const TextTemplate& text, const SYSTEMTIME& time);

void AddTemplateCommand(HWND mainWindow, LPARAM);  // 526, "RegTemplateDialog"
// "TemplateDialog" (with editing, copying and deleting inside): returns
// whether the user chose a template to insert, and its body.
bool ChooseTemplate(HWND owner, std::wstring& body);

// Converts the older version's templates from the ANSI code page, never over
// one of the same name.
void MigrateLegacyTemplates(const std::wstring& legacyFolder);
