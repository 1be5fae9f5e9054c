#include "editing/block_navigation.h"

#include "core/editor_control.h"
#include "core/input_dialog.h"
#include "core/settings.h"
#include "core/text_units.h"
#include "resources/editing_ids.h"
#include "speech/speech.h"

namespace {

constexpr wchar_t kBreak = L'\r';
// First amount of text read around the caret; doubled until it is enough.
constexpr long kFirstPieceUnits = 4096;

// Whether index i of a piece that starts at text position pieceStart begins
// a block. The caller guarantees the two units before it are in the piece
// unless they lie before the start of the text.
bool IsBlockStart(std::wstring_view piece, long pieceStart, size_t i) {
    if (i >= piece.size() || piece[i] == kBreak) return false;
    const long position = pieceStart + static_cast<long>(i);
    if (position == 0) return true;
    if (piece[i - 1] != kBreak) return false;
    return position == 1 || piece[i - 2] == kBreak;
}

bool WordWrapOn() {
    return CurrentSettings().wordWrap == 1;
}

// The text of the line starting at a block start.
std::wstring BlockLineText(const Editor& editor, long position) {
    if (WordWrapOn()) return editor.LineText(editor.LineFromPosition(position), kMaxBlockLineUnits);
    const std::wstring piece = editor.TextRange(position, position + static_cast<long>(kMaxBlockLineUnits) + 1);
    const std::wstring_view view(piece);
    return std::wstring(CutToUnits(view.substr(0, view.find(kBreak)), kMaxBlockLineUnits));
}

long FindNextBlock(const Editor& editor, long caret) {
    const long pieceStart = caret > 0 ? caret - 1 : 0;
    for (long units = kFirstPieceUnits;; units *= 2) {
        const std::wstring piece = editor.TextRange(pieceStart, caret + units);
        const bool reachesEnd = static_cast<long>(piece.size()) < caret + units - pieceStart;
        const long found = NextBlockStart(piece, pieceStart, reachesEnd, caret);
        if (found != kNeedMoreText) return found;
    }
}

long FindPreviousBlock(const Editor& editor, long caret) {
    const bool wrapped = WordWrapOn();
    const long lineStart = wrapped ? editor.LineStart(editor.LineFromPosition(caret)) : -1;
    for (long units = kFirstPieceUnits;; units *= 2) {
        const long pieceStart = caret > units ? caret - units : 0;
        const std::wstring piece = editor.TextRange(pieceStart, caret);
        const long start = wrapped ? lineStart : ParagraphStart(piece, pieceStart, caret);
        if (start == kNeedMoreText) continue;
        const long found = PreviousBlockStart(piece, pieceStart, start);
        if (found != kNeedMoreText) return found;
    }
}

void GoToBlock(long position) {
    if (position < 0) return;
    const Editor editor = CurrentEditor();
    // The answer goes first: in a long text moving the caret far takes the
    // control a while, and the answer does not depend on it.
    Speak(BlockLineText(editor, position), kAtOnce);
    editor.PlaceCaret(position);
}

struct BlockListData {
    const std::vector<Block>* blocks;
    long chosen = -1;
};

// Rough width of a text in half-width cells: wide characters take two.
size_t CellsOf(const std::wstring& text) {
    size_t cells = 0;
    for (wchar_t unit : text) cells += unit < 0x0100 || (unit >= 0xFF61 && unit <= 0xFF9F) ? 1 : 2;
    return cells;
}

// A list box scrolls sideways only as far as it is told: measure the widest
// item (by cells, so only one text is measured) so that long lines can be
// brought into view.
void LetListScrollTo(HWND list, const std::wstring& widest) {
    const HDC dc = GetDC(list);
    if (!dc) return;
    const HGDIOBJ oldFont = SelectObject(dc, reinterpret_cast<HGDIOBJ>(SendMessageW(list, WM_GETFONT, 0, 0)));
    SIZE size{};
    if (GetTextExtentPoint32W(dc, widest.c_str(), static_cast<int>(widest.size()), &size))
        SendMessageW(list, LB_SETHORIZONTALEXTENT, static_cast<WPARAM>(size.cx) + GetSystemMetrics(SM_CXEDGE) * 2, 0);
    SelectObject(dc, oldFont);
    ReleaseDC(list, dc);
}

void FillBlockList(HWND dialog, BlockListData& data) {
    const HWND list = GetDlgItem(dialog, IDC_BLOCK_LIST);
    SendMessageW(list, WM_SETREDRAW, FALSE, 0);
    SendMessageW(list, LB_INITSTORAGE, data.blocks->size(), data.blocks->size() * 32 * sizeof(wchar_t));
    std::wstring widest;
    size_t widestCells = 0;
    for (const Block& block : *data.blocks) {
        std::wstring item = std::to_wstring(block.line + 1) + L"行 - " + block.text;
        SendMessageW(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item.c_str()));
        const size_t cells = CellsOf(item);
        if (cells > widestCells) {
            widestCells = cells;
            widest = std::move(item);
        }
    }
    LetListScrollTo(list, widest);
    SendMessageW(list, WM_SETREDRAW, TRUE, 0);
    SendMessageW(list, LB_SETCURSEL, 0, 0);
}

void ReadChosenBlock(HWND dialog, BlockListData& data) {
    const auto index = SendDlgItemMessageW(dialog, IDC_BLOCK_LIST, LB_GETCURSEL, 0, 0);
    if (index != LB_ERR && static_cast<size_t>(index) < data.blocks->size())
        data.chosen = (*data.blocks)[static_cast<size_t>(index)].position;
}

}  // namespace

long NextBlockStart(std::wstring_view piece, long pieceStart, bool reachesEnd, long caret) {
    for (size_t i = static_cast<size_t>(caret + 1 - pieceStart); i < piece.size(); ++i)
        if (IsBlockStart(piece, pieceStart, i)) return pieceStart + static_cast<long>(i);
    return reachesEnd ? kNoBlock : kNeedMoreText;
}

long PreviousBlockStart(std::wstring_view piece, long pieceStart, long lineStart) {
    for (long position = lineStart - 1; position >= pieceStart; --position) {
        if (pieceStart > 0 && position - 2 < pieceStart) return kNeedMoreText;
        if (IsBlockStart(piece, pieceStart, static_cast<size_t>(position - pieceStart))) return position;
    }
    return pieceStart > 0 ? kNeedMoreText : kNoBlock;
}

long ParagraphStart(std::wstring_view piece, long pieceStart, long position) {
    const size_t lastBreak = piece.substr(0, static_cast<size_t>(position - pieceStart)).rfind(kBreak);
    if (lastBreak != std::wstring_view::npos) return pieceStart + static_cast<long>(lastBreak) + 1;
    return pieceStart > 0 ? kNeedMoreText : 0;
}

std::vector<Block> BlocksOfText(std::wstring_view text) {
    std::vector<Block> blocks;
    long line = 0;
    for (size_t lineStart = 0; lineStart <= text.size();) {
        size_t lineEnd = text.find(kBreak, lineStart);
        if (lineEnd == std::wstring_view::npos) lineEnd = text.size();
        if (IsBlockStart(text, 0, lineStart))
            blocks.push_back(Block{line, static_cast<long>(lineStart),
                                   std::wstring(CutToUnits(text.substr(lineStart, lineEnd - lineStart), kMaxBlockLineUnits))});
        lineStart = lineEnd + 1;
        ++line;
    }
    return blocks;
}

void PreviousBlockCommand(HWND, LPARAM) {
    const Editor editor = CurrentEditor();
    GoToBlock(FindPreviousBlock(editor, editor.GetSelection().start));
}

void NextBlockCommand(HWND, LPARAM) {
    const Editor editor = CurrentEditor();
    GoToBlock(FindNextBlock(editor, editor.GetSelection().start));
}

void BlockListCommand(HWND mainWindow, LPARAM) {
    const Editor editor = CurrentEditor();
    std::vector<Block> blocks = BlocksOfText(editor.EditorText());
    if (WordWrapOn()) {
        for (Block& block : blocks) {
            block.line = editor.LineFromPosition(block.position);
            block.text = editor.LineText(block.line, kMaxBlockLineUnits);
        }
    }
    BlockListData data{&blocks};
    if (RunInputDialog(mainWindow, L"BlocDialog", data, FillBlockList, ReadChosenBlock) && data.chosen >= 0)
        editor.PlaceCaret(data.chosen);
}
