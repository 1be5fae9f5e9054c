#include <gtest/gtest.h>

#include <string>

#include "document/document_state.h"
#include "document/encodings.h"

namespace {

int Detect(const std::string& bytes) {
    return DetectEncoding(reinterpret_cast<const unsigned char*>(bytes.data()), bytes.size());
}

std::wstring Decode(const std::string& bytes, int codePage) {
    return DecodeBytes(reinterpret_cast<const unsigned char*>(bytes.data()), bytes.size(), codePage);
}

std::string WithoutMark(const std::wstring& text, int codePage) {
    return EncodeText(text, codePage).value().substr(2);
}

TEST(Encodings, DetectedByTheRulesInOrderDecodedUpToANulAndEachReadsBackWhatItWrote) {
    EXPECT_EQ(Detect(""), kUtf8);
    EXPECT_EQ(Detect("\xFE\xFF\x30\x42"), kUtf16Be);
    EXPECT_EQ(Detect("\x81\x20"), kUtf8);                    // neither
    EXPECT_EQ(Detect("abc\x82"), kUtf8);                     // lead byte last: parse fails

    // Short UTF-8 Japanese often parses as Shift_JIS too; real Shift_JIS text
    // is almost never well-formed UTF-8.
    EXPECT_EQ(Detect("あい"), kUtf8);
    for (const wchar_t* text : {L"こんにちは", L"東京都", L"日本語のテキスト\r\n", L"ｶﾀｶﾅ", L"髙橋①"})
        EXPECT_EQ(Detect(EncodeText(text, kShiftJis).value()), kShiftJis) << static_cast<int>(text[0]);

    // Its NULs and line breaks tell UTF-16 without a mark and its byte order;
    // anything else keeps the 8-bit reading up to the NUL.
    // 一 (4E00) and the ideographic space put NULs on the other side: the
    // line breaks decide.
    for (const wchar_t* text : {L"一　一\r\n", L"Hello, world"}) {
        for (const int codePage : {kUtf16Le, kUtf16Be}) {
            const std::string bytes = WithoutMark(text, codePage);
            EXPECT_EQ(Detect(bytes), codePage) << codePage;
            EXPECT_EQ(Decode(bytes, codePage), text) << codePage;
        }
    }
    // One NUL, or an odd count of bytes, is no UTF-16.
    const std::string odd = WithoutMark(L"Hello", kUtf16Le) + "!";
    for (const std::string& bytes : {std::string("ab\0cd", 5), std::string("abc\0de", 6), odd})
        EXPECT_EQ(Detect(bytes), kUtf8);
    // A lone surrogate: its DC reads as half-width katakana.
    EXPECT_EQ(Detect(WithoutMark(L"ab\xDC00", kUtf16Le)), kShiftJis);

    EXPECT_EQ(Decode("", kUtf8), L"");
    EXPECT_EQ(Decode(std::string("\xFF\xFE" "a\0\0\0b\0", 8), kUtf16Le), L"a");
    EXPECT_EQ(Decode("\x81\x20", kUtf8).size(), 2u);
    // A reload in an encoding whose mark the file lacks keeps every character.
    EXPECT_EQ(Decode("abc", kUtf8WithBom), L"abc");

    EXPECT_EQ(EncodeText(L"", kUtf8), std::string());  // an empty text is written, not refused
    EXPECT_EQ(EncodeText(L"\U0001F600", kShiftJis), "??");  // not in code page 932: one per unit

    // Every encoding the user can choose reads back what it wrote.
    const std::wstring text = L"日本語のテキスト\r\nｶﾀｶﾅ ①髙 abc\r\n";
    for (int index = 0; index < kEncodingCount; ++index) {
        const int codePage = EncodingAtIndex(index);
        const std::string bytes = EncodeText(text, codePage).value();
        EXPECT_EQ(Decode(bytes, codePage), text) << codePage;
    }
}

}  // namespace
