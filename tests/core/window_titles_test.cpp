#include <gtest/gtest.h>

#include "core/window_titles.h"

namespace {

TEST(UntitledNumber, ReadsOnlyTheExactUntitledTitleForm) {
    const struct {
        const wchar_t* title;
        int number;
    } cases[] = {
        {L"無題2147483646 - オリンダ", 2147483646},
        {L"無題0 - オリンダ", 0},
        {L"無題3 - オリンダ!", 0},
        {L"memo.txt - オリンダ", 0},
        // A number so large that one more would not fit is not taken.
        {L"無題2147483647 - オリンダ", 0},
    };
    for (const auto& test : cases) EXPECT_EQ(UntitledNumberInTitle(test.title), test.number) << test.title;
}

}  // namespace
