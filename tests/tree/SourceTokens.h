#pragma once

#include <string>
#include <vector>

namespace kavo::test {

// A C++ source cut into tokens, enough to read calls and their arguments: comments and the
// lines of `#include` go; a string literal keeps its text with the escapes read, so that a
// driver script written inside one can be read as one. Not a compiler: a token it cannot
// place is one character of punctuation.
struct SourceToken {
    enum class Kind { Word, Number, String, Char, Punct };
    Kind kind;
    std::string text; // a string literal's text without its quotes and prefix, escapes read
    int line;         // where the token starts (1 is the first line)
    // For a string literal: the line of each character of `text`.
    std::vector<int> lines;

    bool is(const char* word) const { return kind != Kind::String && kind != Kind::Char && text == word; }
};

std::vector<SourceToken> tokenize(const std::string& source);

} // namespace kavo::test
