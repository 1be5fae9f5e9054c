#pragma once
// The one way every command reaches the document: a thin wrapper over the
// rich-edit control's messages. Positions are the control's own (a line break
// is one unit); lines are its display lines, so wrapped lines count while
// word wrap is on. Safe to use from worker threads: every call is a message.
#include <windows.h>

#include <string>

struct Selection {
    long start = 0;
    long end = 0;
    bool IsEmpty() const { return start == end; }
};

class Editor {
public:
    explicit Editor(HWND control) : control_(control) {}

    HWND Handle() const { return control_; }

    Selection GetSelection() const;
    void Select(long start, long end) const;
    void PlaceCaret(long position) const { Select(position, position); }

    long LineCount() const;
    long LineFromPosition(long position) const;
    // Position of the first character of a line; -1 means the caret's line.
    long LineStart(long line) const;
    // The text of one display line without its line break, at most maxUnits
    // units, never ending in half a surrogate pair.
    std::wstring LineText(long line, size_t maxUnits) const;

    long LineLength(long line) const;
    // The text between two positions, in the control's form (CR breaks).
    std::wstring TextRange(long start, long end) const;

    bool IsEmpty() const;
    // Length of the text as the control counts it (a line break is one unit).
    long TextLength() const;
    // The line breaks of the text (not the places where word wrap breaks a
    // line), without reading the text.
    long LineBreakCount() const;
    // Whole text with every line break as CR LF, as files hold it.
    std::wstring Text() const;
    // Whole text as the control stores it: every line break is a single CR.
    std::wstring EditorText() const;
    void SetText(const std::wstring& text) const;
    // Replace the selection as one step the user can undo.
    void ReplaceSelection(const std::wstring& text) const;

    // The control's own find: the position of the first match from `from`
    // towards the end, or of the nearest one from `from` towards the start;
    // -1 when there is none.
    long FindForward(long from, const std::wstring& term, bool matchCase) const;
    long FindBackward(long from, const std::wstring& term, bool matchCase) const;

    bool IsModified() const;
    void SetModified(bool modified) const;
    bool CanUndo() const;
    bool IsReadOnly() const;
    void SetReadOnly(bool readOnly) const;
    void SetWordWrap(bool wrap) const;

private:
    HWND control_;
};
