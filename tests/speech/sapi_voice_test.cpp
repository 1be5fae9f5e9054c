#include <gtest/gtest.h>

#include <tuple>

#include "speech/sapi_voice.h"

namespace {

TEST(SapiVoice, EscapesXmlMarksPitchOnlyWhenItIsNotZeroAndClampsTheParameters) {
    EXPECT_EQ(EscapeXml(L"a\"b&c'd<e>f 日本"), L"a&quot;b&amp;c&apos;d&lt;e&gt;f 日本");

    const SpokenText plain = SpokenForm(L"1 < 2", 0);
    EXPECT_EQ(plain.text, L"1 < 2");
    EXPECT_FALSE(plain.isXml);
    const SpokenText raised = SpokenForm(L"a<b & \"c\"", -3);
    EXPECT_EQ(raised.text, L"<pitch absmiddle=\"-3\">a&lt;b &amp; &quot;c&quot;</pitch>");
    EXPECT_TRUE(raised.isXml);
    EXPECT_EQ(SpokenForm(L"abc", 25).text, L"<pitch absmiddle=\"10\">abc</pitch>");

    // Volume, rate and pitch are clamped to their ranges.
    const auto clamped = [](const VoiceParameters& asked) {
        const VoiceParameters parameters = ClampVoiceParameters(asked);
        return std::make_tuple(parameters.volume, parameters.rate, parameters.pitch);
    };
    EXPECT_EQ(clamped({120, 15, 25}), std::make_tuple(100, 10, 10));
    EXPECT_EQ(clamped({-5, -15, -11}), std::make_tuple(0, -10, -10));
}

}  // namespace
