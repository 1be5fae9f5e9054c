#include "document/encodings.h"

#include <windows.h>

#include <algorithm>
#include <cstring>


namespace {

const int kEncodingOrder[kEncodingCount] = {kShiftJis, kUtf8, kUtf8WithBom, kUtf16Le, kUtf16Be};

bool IsShiftJisLead(unsigned char byte) {
    return (byte >= 0x81 && byte <= 0x9F) || (byte >= 0xE0 && byte <= 0xFC);
}

bool IsShiftJisTrail(unsigned char byte) {
    return (byte >= 0x40 && byte <= 0x7E) || (byte >= 0x80 && byte <= 0xFC);
}

bool ParsesAsShiftJis(const unsigned char* bytes, size_t count) {
    size_t i = 0;
    while (i < count) {
        const unsigned char byte = bytes[i];
        if (byte <= 0x7F || (byte >= 0xA1 && byte <= 0xDF)) {
            i += 1;
        } else if (IsShiftJisLead(byte) && i + 1 < count && IsShiftJisTrail(bytes[i + 1])) {
            i += 2;
        } else {
            return false;
        }
    }
    return true;
}

bool IsContinuation(unsigned char byte) {
    return byte >= 0x80 && byte <= 0xBF;
}

// Whether the bytes are well-formed UTF-8 in the lenient sense the detection
// uses (surrogates and F5..F7 pass); `sawMultiByte` tells whether any
// sequence was longer than one byte.
bool IsWellFormedUtf8(const unsigned char* bytes, size_t count, bool& sawMultiByte) {
    sawMultiByte = false;
    size_t i = 0;
    while (i < count) {
        const unsigned char byte = bytes[i];
        size_t length = 0;
        unsigned char firstContinuationMinimum = 0x80;
        if (byte <= 0x7F) {
            i += 1;
            continue;
        }
        if (byte >= 0xC2 && byte <= 0xDF) {
            length = 2;
        } else if (byte >= 0xE0 && byte <= 0xEF) {
            length = 3;
            if (byte == 0xE0) firstContinuationMinimum = 0xA0;
        } else if (byte >= 0xF0 && byte <= 0xF7) {
            length = 4;
            if (byte == 0xF0) firstContinuationMinimum = 0x90;
        } else {
            return false;
        }
        if (count - i < length) return false;
        if (bytes[i + 1] < firstContinuationMinimum) return false;
        for (size_t k = 1; k < length; ++k)
            if (!IsContinuation(bytes[i + k])) return false;
        sawMultiByte = true;
        i += length;
    }
    return true;
}

unsigned Utf16Unit(const unsigned char* bytes, size_t at, bool bigEndian) {
    return bigEndian ? (bytes[at] << 8) | bytes[at + 1] : bytes[at] | (bytes[at + 1] << 8);
}

// Every surrogate in its pair, and no unit that text never holds: a NUL, or
// the reversed byte-order mark FFFE and its neighbour FFFF.
bool IsWellFormedUtf16(const unsigned char* bytes, size_t count, bool bigEndian) {
    for (size_t at = 0; at + 1 < count; at += 2) {
        const unsigned unit = Utf16Unit(bytes, at, bigEndian);
        if (unit == 0 || unit >= 0xFFFE || (unit >= 0xDC00 && unit <= 0xDFFF)) return false;
        if (unit >= 0xD800 && unit <= 0xDBFF) {
            at += 2;
            if (at + 1 >= count) return false;
            const unsigned low = Utf16Unit(bytes, at, bigEndian);
            if (low < 0xDC00 || low > 0xDFFF) return false;
        }
    }
    return true;
}

// UTF-16 without a byte-order mark shows itself by the NUL half of every
// Latin letter, digit, space and line break: in little-endian order it falls
// on odd offsets and a line break reads 0D 00 0A 00, in big-endian order on
// even ones with 00 0D 00 0A. Line breaks weigh first, then the NULs; a
// single NUL is more likely a damaged 8-bit file. Returns the order the bytes
// read well-formed in, or 0 for none.
int DetectUtf16WithoutMark(const unsigned char* bytes, size_t count) {
    if (count % 2 != 0 || !std::memchr(bytes, 0, count)) return 0;
    size_t nulsLe = 0;
    size_t nulsBe = 0;
    size_t breaksLe = 0;
    size_t breaksBe = 0;
    for (size_t at = 0; at < count; at += 2) {
        if (bytes[at + 1] == 0) ++nulsLe;
        if (bytes[at] == 0) ++nulsBe;
        if (at + 4 > count) continue;
        if (std::memcmp(bytes + at, "\r\0\n\0", 4) == 0) ++breaksLe;
        if (std::memcmp(bytes + at, "\0\r\0\n", 4) == 0) ++breaksBe;
    }
    bool bigEndian = false;
    if (breaksLe != breaksBe) bigEndian = breaksBe > breaksLe;
    else if (nulsLe != nulsBe) bigEndian = nulsBe > nulsLe;
    else return 0;
    if ((bigEndian ? nulsBe : nulsLe) < 2 || !IsWellFormedUtf16(bytes, count, bigEndian)) return 0;
    return bigEndian ? kUtf16Be : kUtf16Le;
}

bool StartsWith(const unsigned char* bytes, size_t count, const char* mark, size_t markLength) {
    return count >= markLength && std::memcmp(bytes, mark, markLength) == 0;
}

std::wstring DecodeMultiByte(const unsigned char* bytes, size_t count, UINT codePage, bool& cutAtNul) {
    const auto* end = static_cast<const unsigned char*>(std::memchr(bytes, 0, count));
    cutAtNul = end != nullptr;
    if (end) count = static_cast<size_t>(end - bytes);
    if (count == 0) return {};
    // Files are capped far below INT_MAX bytes by the callers; never pass more.
    const int byteCount = static_cast<int>(std::min<size_t>(count, 0x7FFFFFFF));
    const char* source = reinterpret_cast<const char*>(bytes);
    std::wstring text(static_cast<size_t>(byteCount), L'\0');
    const int units = MultiByteToWideChar(codePage, 0, source, byteCount, text.data(), byteCount);
    text.resize(units > 0 ? static_cast<size_t>(units) : 0);
    return text;
}

std::wstring DecodeUtf16(const unsigned char* bytes, size_t count, bool bigEndian, bool& cutAtNul) {
    std::wstring text(count / 2, L'\0');
    if (bigEndian) {
        for (size_t i = 0; i < text.size(); ++i)
            text[i] = static_cast<wchar_t>((bytes[2 * i] << 8) | bytes[2 * i + 1]);
    } else {
        std::memcpy(text.data(), bytes, text.size() * sizeof(wchar_t));
    }
    const size_t nul = text.find(L'\0');
    cutAtNul = nul != std::wstring::npos;
    if (cutAtNul) text.resize(nul);
    return text;
}

std::optional<std::string> EncodeMultiByte(const std::wstring& text, UINT codePage) {
    if (text.empty()) return std::string();
    const int units = static_cast<int>(text.size());
    const int size = WideCharToMultiByte(codePage, 0, text.data(), units, nullptr, 0, nullptr, nullptr);
    if (size <= 0) return std::nullopt;
    std::string bytes(static_cast<size_t>(size), '\0');
    const int written = WideCharToMultiByte(codePage, 0, text.data(), units, bytes.data(), size, nullptr, nullptr);
    if (written != size) return std::nullopt;
    return bytes;
}

std::string EncodeUtf16(const std::wstring& text, bool bigEndian) {
    std::string bytes(2 + 2 * text.size(), '\0');
    bytes[0] = static_cast<char>(bigEndian ? 0xFE : 0xFF);
    bytes[1] = static_cast<char>(bigEndian ? 0xFF : 0xFE);
    size_t at = 2;
    for (const wchar_t unit : text) {
        const char high = static_cast<char>((unit >> 8) & 0xFF);
        const char low = static_cast<char>(unit & 0xFF);
        bytes[at++] = bigEndian ? high : low;
        bytes[at++] = bigEndian ? low : high;
    }
    return bytes;
}

}  // namespace

int EncodingAtIndex(int index) {
    return index >= 0 && index < kEncodingCount ? kEncodingOrder[index] : kShiftJis;
}

int DetectEncoding(const unsigned char* bytes, size_t count) {
    if (count == 0) return kUtf8;
    if (StartsWith(bytes, count, "\xEF\xBB\xBF", 3)) return kUtf8WithBom;
    if (StartsWith(bytes, count, "\xFF\xFE", 2)) return kUtf16Le;
    if (StartsWith(bytes, count, "\xFE\xFF", 2)) return kUtf16Be;
    if (const int utf16 = DetectUtf16WithoutMark(bytes, count)) return utf16;
    // Well-formed UTF-8 first: short UTF-8 Japanese often parses as Shift_JIS
    // too, while real Shift_JIS text is almost never well-formed UTF-8.
    bool sawMultiByte = false;
    if (IsWellFormedUtf8(bytes, count, sawMultiByte) && sawMultiByte) return kUtf8;
    const bool hasHighByte = std::any_of(bytes, bytes + count, [](unsigned char byte) { return byte >= 0x80; });
    if (hasHighByte && ParsesAsShiftJis(bytes, count)) return kShiftJis;
    return kUtf8;
}

// A byte-order mark is skipped only when the bytes begin with it, so that a
// reload in another encoding never drops the first characters of the text.
std::wstring DecodeBytes(const unsigned char* bytes, size_t count, int codePage, bool* cutAtNul) {
    bool cut = false;
    std::wstring text;
    switch (codePage) {
    case kUtf8WithBom:
    case kUtf8: {
        const size_t skip = StartsWith(bytes, count, "\xEF\xBB\xBF", 3) ? 3 : 0;
        text = DecodeMultiByte(bytes + skip, count - skip, CP_UTF8, cut);
        break;
    }
    case kUtf16Le:
    case kUtf16Be: {
        const bool bigEndian = codePage == kUtf16Be;
        const size_t skip = StartsWith(bytes, count, bigEndian ? "\xFE\xFF" : "\xFF\xFE", 2) ? 2 : 0;
        text = DecodeUtf16(bytes + skip, count - skip, bigEndian, cut);
        break;
    }
    default:
        text = DecodeMultiByte(bytes, count, kShiftJis, cut);
    }
    if (cutAtNul) *cutAtNul = cut;
    return text;
}

std::optional<std::string> EncodeText(const std::wstring& text, int codePage) {
    switch (codePage) {
    case kUtf8:
        return EncodeMultiByte(text, CP_UTF8);
    case kUtf8WithBom: {
        std::optional<std::string> bytes = EncodeMultiByte(text, CP_UTF8);
        if (bytes) bytes->insert(0, "\xEF\xBB\xBF");
        return bytes;
    }
    case kUtf16Le:
    case kUtf16Be:
        return EncodeUtf16(text, codePage == kUtf16Be);
    default:
        return EncodeMultiByte(text, kShiftJis);
    }
}

const wchar_t* EncodingDisplayName(int codePage) {
    switch (codePage) {
    case kUtf16Le: return L"UTF-16 LE";
    case kUtf16Be: return L"UTF-16 BE";
    case kUtf8: return L"UTF-8";
    case kUtf8WithBom: return L"UTF-8（BOM付き）";
    default: return L"Shift_JIS";
    }
}

std::wstring EncodingSentence(int codePage) {
    switch (codePage) {
    case kUtf16Le: return L"文字コードはUTF-16 LEです";
    case kUtf16Be: return L"文字コードはUTF-16 BEです";
    case kUtf8: return L"文字コードはUTF-8です";
    case kUtf8WithBom: return L"文字コードはUTF-8 BOM付きです";
    default: return L"文字コードはShift_JISです";
    }
}
