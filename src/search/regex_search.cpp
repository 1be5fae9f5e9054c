#include "search/regex_search.h"

#include <cstddef>
#include <exception>
#include <iterator>

namespace {

// ECMAScript's meaning: "^" and "$" only at the ends of the searched text,
// "." not matching line breaks (Boost's defaults are the opposite).
constexpr auto kSyntax =
    boost::regex_constants::ECMAScript | boost::regex_constants::no_mod_m | boost::regex_constants::no_mod_s;

// The text during a replace-all: the result built so far followed by the
// rest of the original text. Searching it through this view sees the text as
// changed so far without rebuilding it after every replacement.
struct SplitText {
    const wchar_t* head = nullptr;
    std::ptrdiff_t headLength = 0;
    const wchar_t* tail = nullptr;
};

class SplitIterator {
public:
    using iterator_category = std::random_access_iterator_tag;
    using value_type = wchar_t;
    using difference_type = std::ptrdiff_t;
    using pointer = const wchar_t*;
    using reference = const wchar_t&;

    SplitIterator() = default;
    SplitIterator(const SplitText* text, difference_type index) : text_(text), index_(index) {}

    reference operator*() const {
        return index_ < text_->headLength ? text_->head[index_] : text_->tail[index_ - text_->headLength];
    }
    reference operator[](difference_type n) const { return *(*this + n); }
    SplitIterator& operator++() { ++index_; return *this; }
    SplitIterator operator++(int) { SplitIterator old = *this; ++index_; return old; }
    SplitIterator& operator--() { --index_; return *this; }
    SplitIterator operator--(int) { SplitIterator old = *this; --index_; return old; }
    SplitIterator& operator+=(difference_type n) { index_ += n; return *this; }
    SplitIterator& operator-=(difference_type n) { index_ -= n; return *this; }
    friend SplitIterator operator+(SplitIterator it, difference_type n) { return it += n; }
    friend SplitIterator operator+(difference_type n, SplitIterator it) { return it += n; }
    friend SplitIterator operator-(SplitIterator it, difference_type n) { return it -= n; }
    friend difference_type operator-(const SplitIterator& a, const SplitIterator& b) { return a.index_ - b.index_; }
    friend bool operator==(const SplitIterator& a, const SplitIterator& b) { return a.index_ == b.index_; }
    friend bool operator!=(const SplitIterator& a, const SplitIterator& b) { return a.index_ != b.index_; }
    friend bool operator<(const SplitIterator& a, const SplitIterator& b) { return a.index_ < b.index_; }
    friend bool operator>(const SplitIterator& a, const SplitIterator& b) { return a.index_ > b.index_; }
    friend bool operator<=(const SplitIterator& a, const SplitIterator& b) { return a.index_ <= b.index_; }
    friend bool operator>=(const SplitIterator& a, const SplitIterator& b) { return a.index_ >= b.index_; }

private:
    const SplitText* text_ = nullptr;
    difference_type index_ = 0;
};

struct RawMatch {
    long start;
    long length;
};

// The leftmost match at or after `start`; "^" sees only `begin` as the start.
// `result` is only scratch space, kept by callers that search many times.
// Throws what the engine throws.
template <class It>
bool FirstMatchFrom(const RegexPattern& pattern, It begin, It end, long start, boost::match_results<It>& result,
                    RawMatch& match, boost::match_flag_type flags = boost::match_default) {
    if (!boost::regex_search(begin + start, end, result, pattern.expression, flags, begin)) return false;
    match.start = static_cast<long>(result[0].first - begin);
    match.length = static_cast<long>(result[0].second - result[0].first);
    return true;
}

// A hit that begins with the CR taken by "(^|\r)" is the line after it.
template <class It>
RegexHit Reported(const RegexPattern& pattern, It begin, const RawMatch& match) {
    if (pattern.lineStart && match.length > 0 && begin[match.start] == L'\r') return {match.start + 1, match.length - 1};
    return {match.start, match.length};
}

template <class It>
RegexHit FindForwardIn(const RegexPattern& pattern, It begin, It end, long from, boost::match_results<It>& result) {
    const long size = static_cast<long>(end - begin);
    if (!pattern.valid || from < 0 || from >= size) return {};
    try {
        // A CR right before `from` can still open a line that begins there.
        long start = pattern.lineStart && from > 0 ? from - 1 : from;
        RawMatch match{};
        while (FirstMatchFrom(pattern, begin, end, start, result, match)) {
            const RegexHit hit = Reported(pattern, begin, match);
            if (hit.position >= from) return hit;
            start = match.start + 1;
        }
    } catch (const std::exception&) {
        // Rejected or given up by the engine (complexity, stack, memory).
    }
    return {};
}

}  // namespace

std::wstring RewriteLineAnchors(const std::wstring& pattern, bool& lineStart) {
    std::wstring rewritten = pattern;
    lineStart = !rewritten.empty() && rewritten.front() == L'^';
    if (lineStart) rewritten.replace(0, 1, L"(^|\\r)");
    const size_t size = rewritten.size();
    // Only the one character before "$" is looked at, so "\\$" stays as it is.
    if (size > 0 && rewritten.back() == L'$' && (size == 1 || rewritten[size - 2] != L'\\'))
        rewritten.replace(size - 1, 1, L"(?=\\r|$)");
    return rewritten;
}

RegexPattern PrepareRegex(const std::wstring& pattern) {
    RegexPattern prepared;
    const std::wstring rewritten = RewriteLineAnchors(pattern, prepared.lineStart);
    try {
        prepared.expression.assign(rewritten, kSyntax);
        prepared.valid = true;
    } catch (const std::exception&) {
        prepared.valid = false;
    }
    return prepared;
}

RegexHit RegexFindForward(const RegexPattern& pattern, const std::wstring& text, long from) {
    boost::match_results<const wchar_t*> result;
    return FindForwardIn(pattern, text.data(), text.data() + text.size(), from, result);
}

long RegexFindBackward(const RegexPattern& pattern, const std::wstring& text, long before) {
    if (!pattern.valid || before <= 0 || text.empty()) return -1;
    const long size = static_cast<long>(text.size());
    if (before > size) before = size;
    // Only the text before the caret is searched, so that a greedy match
    // running past the caret gives way to the shorter one before it. The caret
    // ends that text, but is no end for "$" unless a line ends there.
    const wchar_t* begin = text.data();
    const wchar_t* end = begin + before;
    const boost::match_flag_type flags = before < size && text[static_cast<size_t>(before)] != L'\r'
                                             ? boost::match_not_eol | boost::match_not_eob
                                             : boost::match_default;
    long last = -1;
    try {
        long start = 0;
        RawMatch match{};
        boost::match_results<const wchar_t*> result;
        while (start <= before && FirstMatchFrom(pattern, begin, end, start, result, match, flags)) {
            const RegexHit hit = Reported(pattern, begin, match);
            if (hit.position < before) last = hit.position;
            start = match.start + 1;
        }
    } catch (const std::exception&) {
        return -1;
    }
    return last;
}

ReplaceAllResult RegexReplaceAll(const RegexPattern& pattern, const std::wstring& text, long from,
                                 const std::wstring& replacement) {
    ReplaceAllResult result;
    result.caret = from;
    if (from < 0 || static_cast<size_t>(from) > text.size()) {
        result.text = text;
        return result;
    }
    std::wstring& built = result.text;
    built.reserve(text.size());
    built.assign(text, 0, static_cast<size_t>(from));
    size_t rest = static_cast<size_t>(from);  // where the unsearched original text begins
    long searchFrom = from;
    SplitText view;
    boost::match_results<SplitIterator> scratch;
    for (;;) {
        view.head = built.data();
        view.headLength = static_cast<std::ptrdiff_t>(built.size());
        view.tail = text.data() + rest;
        const auto size = static_cast<std::ptrdiff_t>(built.size() + (text.size() - rest));
        const RegexHit hit = FindForwardIn(pattern, SplitIterator(&view, 0), SplitIterator(&view, size), searchFrom, scratch);
        if (!hit.Found()) break;
        // Hits never begin before searchFrom, which is never inside `built`.
        const size_t hitInText = rest + static_cast<size_t>(hit.position - static_cast<long>(built.size()));
        built.append(text, rest, hitInText - rest);
        built += replacement;
        rest = hitInText + static_cast<size_t>(hit.length);
        ++result.count;
        result.caret = static_cast<long>(built.size());
        searchFrom = result.caret + (hit.length == 0 ? 1 : 0);
    }
    built.append(text, rest, std::wstring::npos);
    return result;
}
