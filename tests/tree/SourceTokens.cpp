#include "tests/tree/SourceTokens.h"

#include <cctype>

namespace kavo::test {
namespace {

bool wordStart(char c) {
    return std::isalpha(static_cast<unsigned char>(c)) || c == '_';
}
bool wordPart(char c) {
    return std::isalnum(static_cast<unsigned char>(c)) || c == '_';
}

class Reader {
public:
    explicit Reader(const std::string& source) : s_(source) {}

    std::vector<SourceToken> read() {
        while (at_ < s_.size()) {
            const char c = s_[at_];
            if (c == '\n') {
                ++line_, ++at_, lineStart_ = true;
            } else if (c == '\\' && peek(1) == '\n') {
                at_ += 2, ++line_;
            } else if (std::isspace(static_cast<unsigned char>(c))) {
                ++at_;
            } else if (c == '/' && peek(1) == '/') {
                while (at_ < s_.size() && s_[at_] != '\n')
                    at_ += s_[at_] == '\\' && peek(1) == '\n' ? (++line_, 2) : 1;
            } else if (c == '/' && peek(1) == '*') {
                const size_t end = s_.find("*/", at_ + 2);
                const size_t stop = end == std::string::npos ? s_.size() : end + 2;
                countLines(at_, stop);
                at_ = stop;
            } else if (c == '#' && lineStart_ && isInclude()) {
                while (at_ < s_.size() && s_[at_] != '\n')
                    ++at_;
            } else {
                lineStart_ = false;
                token();
            }
        }
        return std::move(tokens_);
    }

private:
    char peek(size_t ahead) const { return at_ + ahead < s_.size() ? s_[at_ + ahead] : '\0'; }
    void countLines(size_t from, size_t to) {
        for (size_t i = from; i < to; ++i)
            line_ += s_[i] == '\n';
    }
    bool isInclude() const {
        size_t i = at_ + 1;
        while (i < s_.size() && (s_[i] == ' ' || s_[i] == '\t'))
            ++i;
        return s_.compare(i, 7, "include") == 0;
    }
    void add(SourceToken::Kind kind, std::string text, int line) {
        tokens_.push_back({kind, std::move(text), line, {}});
    }

    void token() {
        const char c = s_[at_];
        if (wordStart(c)) {
            const size_t start = at_;
            while (at_ < s_.size() && wordPart(s_[at_]))
                ++at_;
            const std::string word = s_.substr(start, at_ - start);
            const bool prefix = word == "u8" || word == "u" || word == "U" || word == "L";
            const bool raw = word == "R" || word == "u8R" || word == "uR" || word == "UR" || word == "LR";
            if (peek(0) == '"' && raw) return rawString();
            if (peek(0) == '"' && prefix) return string('"', SourceToken::Kind::String);
            if (peek(0) == '\'' && prefix) return string('\'', SourceToken::Kind::Char);
            return add(SourceToken::Kind::Word, word, line_);
        }
        if (std::isdigit(static_cast<unsigned char>(c)) ||
            (c == '.' && std::isdigit(static_cast<unsigned char>(peek(1))))) {
            const size_t start = at_;
            while (at_ < s_.size()) {
                const char d = s_[at_];
                const char before = at_ > start ? s_[at_ - 1] : '\0';
                if (wordPart(d) || d == '.' || (d == '\'' && wordPart(peek(1))) ||
                    ((d == '+' || d == '-') && (before == 'e' || before == 'E' || before == 'p' || before == 'P')))
                    ++at_;
                else
                    break;
            }
            return add(SourceToken::Kind::Number, s_.substr(start, at_ - start), line_);
        }
        if (c == '"') return string('"', SourceToken::Kind::String);
        if (c == '\'') return string('\'', SourceToken::Kind::Char);
        static const char* const pairs[] = {"::", "->", "++", "--", "+=", "-=", "==", "!=", "&&", "||", "<=", ">="};
        for (const char* pair : pairs)
            if (c == pair[0] && peek(1) == pair[1]) {
                add(SourceToken::Kind::Punct, pair, line_);
                at_ += 2;
                return;
            }
        add(SourceToken::Kind::Punct, std::string(1, c), line_);
        ++at_;
    }

    // A literal from its opening quote at `at_`: escapes read, each character's line kept.
    void string(char quote, SourceToken::Kind kind) {
        SourceToken literal{kind, "", line_, {}};
        auto put = [&](char ch) {
            literal.text.push_back(ch);
            literal.lines.push_back(line_);
        };
        ++at_;
        while (at_ < s_.size() && s_[at_] != quote && s_[at_] != '\n') {
            if (s_[at_] != '\\') {
                put(s_[at_++]);
                continue;
            }
            const char e = peek(1);
            at_ += 2;
            switch (e) {
            case 'n':
                put('\n');
                break;
            case 't':
                put('\t');
                break;
            case 'r':
                put('\r');
                break;
            case '\n':
                ++line_;
                break;
            case 'x':
                while (at_ < s_.size() && std::isxdigit(static_cast<unsigned char>(s_[at_])))
                    ++at_;
                put('?');
                break;
            default:
                if (e >= '0' && e <= '7') {
                    while (at_ < s_.size() && s_[at_] >= '0' && s_[at_] <= '7')
                        ++at_;
                    put('?');
                } else {
                    put(e);
                }
            }
        }
        if (at_ < s_.size() && s_[at_] == quote) ++at_;
        tokens_.push_back(std::move(literal));
    }

    // R"delimiter( ... )delimiter", from its opening quote at `at_`.
    void rawString() {
        SourceToken literal{SourceToken::Kind::String, "", line_, {}};
        const size_t open = s_.find('(', at_);
        if (open == std::string::npos) {
            at_ = s_.size();
            return;
        }
        const std::string close = ")" + s_.substr(at_ + 1, open - at_ - 1) + "\"";
        size_t end = s_.find(close, open + 1);
        if (end == std::string::npos) end = s_.size();
        for (size_t i = open + 1; i < end; ++i) {
            literal.text.push_back(s_[i]);
            literal.lines.push_back(line_);
            line_ += s_[i] == '\n';
        }
        at_ = std::min(s_.size(), end + close.size());
        tokens_.push_back(std::move(literal));
    }

    const std::string& s_;
    size_t at_ = 0;
    int line_ = 1;
    bool lineStart_ = true;
    std::vector<SourceToken> tokens_;
};

} // namespace

std::vector<SourceToken> tokenize(const std::string& source) {
    return Reader(source).read();
}

} // namespace kavo::test
