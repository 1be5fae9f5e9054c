// Replace all: the time to compute the replaced text for plain ("a" -> "bb")
// and regex ("[0-9]+" -> "-") replacement over 1 MiB and 10 MiB of text with
// about one hit per ten characters, beside the step-by-step rule (rebuild and
// search the whole text after every replacement), stopped after 60 s (or the
// seconds given as the first argument). The whole command on the editor is
// measured by editing_bench.
#include <windows.h>

#include <chrono>
#include <cstdio>
#include <random>
#include <string>

#include "search/plain_replace.h"
#include "search/reference_replace_all.h"
#include "search/regex_search.h"

namespace {

using Clock = std::chrono::steady_clock;

double Seconds(Clock::duration duration) {
    return std::chrono::duration<double>(duration).count();
}

// Short lines of letters with an "a" and a digit run about every ten units.
std::wstring SampleText(size_t units) {
    std::mt19937 random(5);
    std::uniform_int_distribution<int> kind(0, 59);
    std::wstring text;
    text.reserve(units);
    while (text.size() < units) {
        const int roll = kind(random);
        if (roll < 6)
            text += L'a';
        else if (roll < 12)
            text += static_cast<wchar_t>(L'0' + roll - 6);
        else if (roll == 12)
            text += L'\r';
        else
            text += static_cast<wchar_t>(L'b' + roll % 10);
    }
    return text;
}

template <class Run>
double Timed(Run run) {
    const auto start = Clock::now();
    run();
    return Seconds(Clock::now() - start);
}

// `run` does the step-by-step replace-all and says whether it finished.
template <class Run>
void ReportReference(const char* label, const ReplaceAllResult& fast, Run run, double fastSeconds,
                     const ReplaceAllResult& expected) {
    bool finished = false;
    const double seconds = Timed([&] { finished = run(); });
    if (finished)
        std::printf("  step-by-step %s: %.3f s, ratio %.1f, same result: %s\n", label, seconds, seconds / fastSeconds,
                    expected.text == fast.text ? "yes" : "NO");
    else
        std::printf("  step-by-step %s: stopped after %.0f s with %ld of %ld replacements done\n", label, seconds,
                    expected.count, fast.count);
}

void CompareWithReference(const wchar_t* label, size_t units, std::chrono::seconds referenceLimit) {
    const std::wstring text = SampleText(units);
    const RegexPattern digits = PrepareRegex(L"[0-9]+");
    ReplaceAllResult plain, regex, expected;
    const double plainSeconds = Timed([&] { plain = PlainReplaceAll(text, 0, L"a", L"bb", true); });
    const double regexSeconds = Timed([&] { regex = RegexReplaceAll(digits, text, 0, L"-"); });
    std::printf("%ls plain: %.3f s (%ld replacements)   regex: %.3f s (%ld replacements)\n", label, plainSeconds,
                plain.count, regexSeconds, regex.count);

    ReportReference("plain", plain, [&] {
        return reference::PlainReplaceAll(text, 0, L"a", L"bb", true, expected, referenceLimit);
    }, plainSeconds, expected);
    ReportReference("regex", regex, [&] {
        return reference::RegexReplaceAll(L"[0-9]+", text, 0, L"-", expected, referenceLimit);
    }, regexSeconds, expected);
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    // Each figure shows as soon as it is measured.
    std::setvbuf(stdout, nullptr, _IONBF, 0);
    const size_t mebi = 1024 * 1024;
    const std::chrono::seconds referenceLimit(argc > 1 ? _wtoi(argv[1]) : 60);
    CompareWithReference(L"1 MiB ", mebi, referenceLimit);
    CompareWithReference(L"10 MiB", 10 * mebi, referenceLimit);
    return 0;
}
