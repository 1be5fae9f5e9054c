#pragma once
// Blocks are the paragraphs of a plain text: runs of non-empty lines split
// by empty lines. Ctrl+Up and Ctrl+Down step between their first lines, and
// Ctrl+F7 lists them all.
//
// Blocks are found in the control's text (CR line breaks) by position rather
// than by line queries, which walk every line under some rich-edit versions.
// A wrapped paragraph has no empty display line, so the display lines that
// start blocks are exactly the first display lines of the paragraphs that
// start blocks; only line numbers and line texts differ with word wrap on,
// and those come from the control then.
#include <windows.h>

#include <string>
#include <string_view>
#include <vector>

// Results of a search in a piece of the text besides a position.
constexpr long kNoBlock = -1;
constexpr long kNeedMoreText = -2;

// Longest line text spoken or listed for a block.
constexpr size_t kMaxBlockLineUnits = 3072;

// `piece` holds the text from position `pieceStart`; `reachesEnd` tells
// whether it runs to the end of the text. The result is a position, or
// kNeedMoreText when the piece is too short to decide.
long NextBlockStart(std::wstring_view piece, long pieceStart, bool reachesEnd, long caret);
// The nearest block start before `lineStart`, the start of the caret's line;
// `piece` must run at least up to lineStart.
long PreviousBlockStart(std::wstring_view piece, long pieceStart, long lineStart);
// The start of the line holding `position` when line breaks are the only
// line ends (word wrap off); `piece` must run at least up to position.
long ParagraphStart(std::wstring_view piece, long pieceStart, long position);

struct Block {
    long line;      // from 0
    long position;  // of its first character
    std::wstring text;
};
// Every block of a whole text, line numbers counted by line breaks.
std::vector<Block> BlocksOfText(std::wstring_view text);

// Commands 521, 522, 523.
void PreviousBlockCommand(HWND mainWindow, LPARAM);
void NextBlockCommand(HWND mainWindow, LPARAM);
void BlockListCommand(HWND mainWindow, LPARAM);
