#include <gtest/gtest.h>

#include "speech/sapi_voice.h"

namespace {

TEST(SapiVoice, EscapesXmlAndMarksPitchOnlyWhenItIsNotZero) {
    EXPECT_EQ(EscapeXml(L"a\"b&c'd<e>f 日本"), L"a&quot;b&amp;c&apos;d&lt;e&gt;f 日本");

    const SpokenText plain = SpokenForm(L"1 < 2", 0);
    EXPECT_EQ(plain.text, L"1 < 2");
    EXPECT_FALSE(plain.isXml);
    const SpokenText raised = SpokenForm(L"a<b & \"c\"", -3);
    EXPECT_EQ(raised.text, L"<pitch absmiddle=\"-3\">a&lt;b &amp; &quot;c&quot;</pitch>");
    EXPECT_TRUE(raised.isXml);
    EXPECT_EQ(SpokenForm(L"abc", 25).text, L"<pitch absmiddle=\"10\">abc</pitch>");
}

TEST(SapiVoice, ClampsVolumeRateAndPitch) {
    const VoiceParameters high = ClampVoiceParameters({120, 15, 25});
    EXPECT_EQ(high.volume, 100);
    EXPECT_EQ(high.rate, 10);
    EXPECT_EQ(high.pitch, 10);
    const VoiceParameters low = ClampVoiceParameters({-5, -15, -11});
    EXPECT_EQ(low.volume, 0);
    EXPECT_EQ(low.rate, -10);
    EXPECT_EQ(low.pitch, -10);
}

}  // namespace
