#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "search/plain_replace.h"
#include "search/regex_search.h"
#include "search/reference_replace_all.h"

namespace {

RegexHit Forward(const std::wstring& pattern, const std::wstring& text, long from) {
    return RegexFindForward(PrepareRegex(pattern), text, from);
}

long Backward(const std::wstring& pattern, const std::wstring& text, long before) {
    return RegexFindBackward(PrepareRegex(pattern), text, before);
}

std::wstring RandomString(std::mt19937& random, const std::wstring& alphabet, int maxLength) {
    std::uniform_int_distribution<int> length(0, maxLength);
    std::uniform_int_distribution<size_t> pick(0, alphabet.size() - 1);
    std::wstring text;
    for (int i = length(random); i > 0; --i) text += alphabet[pick(random)];
    return text;
}

// Boost's defaults differ from ECMAScript; these pin the meaning we chose.
TEST(RegexSearch, AnchorsToLinesKeepsEcmaScriptMeaningFindsBackwardGivesUpOnRunawaysAndReplacesAllAsStepByStep) {
    EXPECT_EQ(Forward(L"abc$", L"abc\rd", 0).position, 0);
    EXPECT_EQ(Forward(L"a\\$", L"a$", 0).position, 0);
    EXPECT_FALSE(Forward(L"^a", L"aaa", 1).Found());
    EXPECT_FALSE(Forward(L"a", L"aaa", 3).Found());
    EXPECT_EQ(Forward(L"a", L"aaa", 2).position, 2);

    // "^" and "$" inside a pattern anchor to the whole text, not to lines.
    EXPECT_FALSE(Forward(L"(^)b", L"a\rb", 0).Found());
    EXPECT_EQ(Forward(L"a$|c", L"a\rc", 0).position, 2);
    // "." stops at CR, LF, U+2028 and U+2029, and at form feed and U+0085,
    // which Boost also counts as line separators; the line anchors still see
    // only CR.
    for (const wchar_t* text : {L"a\rb", L"a\nb", L"a\u2028b", L"a\u2029b", L"a\fb", L"a\u0085b"})
        EXPECT_FALSE(Forward(L"a.b", text, 0).Found()) << static_cast<int>(text[1]);
    EXPECT_FALSE(Forward(L"abc$", L"abc\fx", 0).Found());
    EXPECT_FALSE(Forward(L"^x", L"a\fx", 1).Found());
    // Case-sensitive, always; only plain searches fold case: below U+0100
    // only A-Z, beyond it the system's mapping applies.
    EXPECT_FALSE(Forward(L"ABC", L"abc", 0).Found());
    EXPECT_EQ(LowerForMatching(L"AZ\u00C0\u0391\uFF21"), L"az\u00C0\u03B1\uFF41");

    EXPECT_EQ(Backward(L"ab", L"ab ab", 5), 3);
    EXPECT_EQ(Backward(L"ab", L"ab ab", 0), -1);
    // A greedy match running past the caret does not hide the one before it.
    EXPECT_EQ(Backward(L"a+", L"aaaa", 2), 1);
    // The caret ends no line in mid-line, but does before a line break.
    EXPECT_EQ(Backward(L"ab$", L"xab ab", 3), -1);
    EXPECT_EQ(Backward(L"ab$", L"xab\rab", 3), 1);

    const std::wstring million(1000000, L'a');
    EXPECT_FALSE(Forward(L"[^x]*y", million, 0).Found());
    EXPECT_EQ(Forward(L"[^x]*y", million + L"y", 0).position, 0);
    std::wstring alternating;
    for (int i = 0; i < 200000; ++i) alternating += L"ab";
    EXPECT_EQ(Backward(L"(a|b)*c", alternating, static_cast<long>(alternating.size())), -1);
    const ReplaceAllResult replaced = RegexReplaceAll(PrepareRegex(L"(a|b)*c"), alternating, 0, L"x");
    EXPECT_EQ(replaced.count, 0);
    EXPECT_EQ(replaced.text, alternating);

    // The fast replace-all builders match the step-by-step rule.
    const std::vector<std::wstring> patterns = {
        L"a", L"a*", L"^a", L"b$", L"^", L"$", L"^$", L"a|b", L"(?<=a)b", L"\\bb", L"[0-9]+",
        L"x*", L"(?<=\\r)a", L"^b*", L"(^)a", L"a$|1", L"\\Bb", L"a(?=\\r)"};
    const std::vector<std::wstring> replacements = {L"", L"a", L"\r", L"ab\r", L"-", L"1b"};
    std::mt19937 random(20261206);
    for (int round = 0; round < 3000; ++round) {
        const std::wstring text = RandomString(random, L"aAb\r1", 24);
        const long from = std::uniform_int_distribution<long>(0, static_cast<long>(text.size()))(random);
        const std::wstring& replacement = replacements[random() % replacements.size()];

        const std::wstring& pattern = patterns[random() % patterns.size()];
        ReplaceAllResult expected;
        ASSERT_TRUE(reference::RegexReplaceAll(pattern, text, from, replacement, expected));
        const ReplaceAllResult fast = RegexReplaceAll(PrepareRegex(pattern), text, from, replacement);
        ASSERT_EQ(fast.text, expected.text) << "pattern " << pattern.size() << " round " << round;
        ASSERT_EQ(fast.count, expected.count);
        ASSERT_EQ(fast.caret, expected.caret);

        const std::wstring term = RandomString(random, L"aAb", 3);
        if (term.empty()) continue;
        const bool matchCase = random() % 2 == 0;
        ASSERT_TRUE(reference::PlainReplaceAll(text, from, term, replacement, matchCase, expected));
        const ReplaceAllResult plain = PlainReplaceAll(text, from, term, replacement, matchCase);
        ASSERT_EQ(plain.text, expected.text) << "round " << round;
        ASSERT_EQ(plain.count, expected.count);
        ASSERT_EQ(plain.caret, expected.caret);
    }
}

}  // namespace
