#pragma once
// The reports of selection and size.
#include <string>

class Editor;

// The selection without its line breaks, or none.
void SpeakSelectionState(const Editor& editor);

enum class CountKind { kLines, kCharacters, kCharactersWithLineBreaks };
void SpeakCount(const Editor& editor, CountKind kind);
