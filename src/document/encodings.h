#pragma once
// The five document encodings: detection of the encoding of file bytes and
// the conversions between file bytes and editor text (UTF-16).
#include <cstddef>
#include <optional>
#include <string>

// Code pages of the document encodings; 65002 is the program's own value
// for UTF-8 with a byte-order mark.
constexpr int kShiftJis = 932;
constexpr int kUtf16Le = 1200;
constexpr int kUtf16Be = 1201;
constexpr int kUtf8 = 65001;
constexpr int kUtf8WithBom = 65002;

// The encodings in the order every encoding list shows them (index 0 to 4).
constexpr int kEncodingCount = 5;
int EncodingAtIndex(int index);

int DetectEncoding(const unsigned char* bytes, size_t count);

// Never fails: undecodable bytes become replacement characters. The text
// ends at the file's first NUL character (`cutAtNul`, when given, tells
// whether it did) and never has more units than there are bytes.
std::wstring DecodeBytes(const unsigned char* bytes, size_t count, int codePage, bool* cutAtNul = nullptr);

// The bytes of a file holding `text`, byte-order mark first. Characters that
// Shift_JIS cannot hold become its default character. Nothing when the
// system cannot convert the text.
std::optional<std::string> EncodeText(const std::wstring& text, int codePage);

// The encoding's name as the status bar and the encoding lists show it.
const wchar_t* EncodingDisplayName(int codePage);
// The sentence that tells the document's encoding.
std::wstring EncodingSentence(int codePage);
