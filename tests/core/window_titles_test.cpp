#include <gtest/gtest.h>

#include "core/window_titles.h"

namespace {

TEST(UntitledNumber, ReadsOnlyTheExactUntitledTitleForm) {
    const struct {
        const wchar_t* title;
        int number;
    } cases[] = {
        {L"無題1 - オリンダ", 1},
        {L"無題27 - オリンダ", 27},
        {L"無題2147483646 - オリンダ", 2147483646},
        {L"無題0 - オリンダ", 0},
        {L"無題 - オリンダ", 0},
        {L"無題3 - オリンダ!", 0},
        {L"無題3x - オリンダ", 0},
        {L"無題3", 0},
        {L"memo.txt - オリンダ", 0},
        {L"オリンダ", 0},
        {L"", 0},
        // A number so large that one more would not fit is not taken.
        {L"無題2147483647 - オリンダ", 0},
        {L"無題99999999999999999999 - オリンダ", 0},
    };
    for (const auto& test : cases) EXPECT_EQ(UntitledNumberInTitle(test.title), test.number) << test.title;
}

}  // namespace
