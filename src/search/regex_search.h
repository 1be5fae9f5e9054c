#pragma once
// Regular-expression search over the editor text, in which every line break
// is one CR and positions are editor positions. A leading "^" and a trailing
// "$" are rewritten to anchor to lines; elsewhere they anchor to the ends of
// the whole text. The engine never takes the program down: a pattern it
// rejects or a search it gives up on simply finds nothing.
#include <boost/regex.hpp>

#include <string>

struct RegexPattern {
    boost::wregex expression;
    // The pattern began with "^", now "(^|\r)": a hit that starts with the CR
    // is reported from the line start after it.
    bool lineStart = false;
    bool valid = false;
};

struct RegexHit {
    long position = -1;
    long length = 0;
    bool Found() const { return position >= 0; }
};

std::wstring RewriteLineAnchors(const std::wstring& pattern, bool& lineStart);
RegexPattern PrepareRegex(const std::wstring& pattern);

// The first hit whose reported position is at or after `from`.
RegexHit RegexFindForward(const RegexPattern& pattern, const std::wstring& text, long from);
// The reported position of the last hit in the text before `before`, or -1.
long RegexFindBackward(const RegexPattern& pattern, const std::wstring& text, long before);

struct ReplaceAllResult {
    std::wstring text;
    long count = 0;
    // Right after the last replacement, or where the search began.
    long caret = 0;
};

// Replaces every hit from `from` on by the literal replacement, each search
// seeing the text as changed so far. After an empty hit the next search
// starts one character further, so that the loop always ends.
ReplaceAllResult RegexReplaceAll(const RegexPattern& pattern, const std::wstring& text, long from,
                                 const std::wstring& replacement);
