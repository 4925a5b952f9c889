#include "WildcardPattern.h"

#include <vector>

namespace Fieldpane {

namespace {

struct Token {
    enum Kind { Literal, AnyOne, Digit, Set, Star } kind = Literal;
    char16_t ch = 0;
    bool negated = false;
    std::vector<std::pair<char16_t, char16_t>> ranges;

    bool matches(char16_t c) const
    {
        switch (kind) {
        case Literal:
            return c == ch;
        case AnyOne:
            return true;
        case Digit:
            return c >= u'0' && c <= u'9';
        case Set: {
            bool inSet = false;
            for (const auto &[low, high] : ranges) {
                if (c >= low && c <= high) {
                    inSet = true;
                    break;
                }
            }
            return inSet != negated;
        }
        case Star:
            return false;
        }
        return false;
    }
};

// Parses the list between "[" and "]"; false when a range runs backwards.
bool parseSet(const QString &body, Token &token)
{
    qsizetype i = 0;
    if (!body.isEmpty() && body.at(0) == u'!') {
        token.negated = true;
        i = 1;
    }
    while (i < body.size()) {
        const char16_t low = body.at(i).unicode();
        if (i + 2 < body.size() && body.at(i + 1) == u'-') {
            const char16_t high = body.at(i + 2).unicode();
            if (high < low)
                return false;
            token.ranges.emplace_back(low, high);
            i += 3;
        } else {
            token.ranges.emplace_back(low, low);
            ++i;
        }
    }
    return true;
}

std::optional<std::vector<Token>> tokenize(const QString &pattern)
{
    std::vector<Token> tokens;
    for (qsizetype i = 0; i < pattern.size(); ++i) {
        const QChar c = pattern.at(i);
        Token token;
        if (c == u'*') {
            if (!tokens.empty() && tokens.back().kind == Token::Star)
                continue;
            token.kind = Token::Star;
        } else if (c == u'?') {
            token.kind = Token::AnyOne;
        } else if (c == u'#') {
            token.kind = Token::Digit;
        } else if (c == u'[') {
            const qsizetype close = pattern.indexOf(u']', i + 1);
            if (close < 0)
                return std::nullopt;
            const QString body = pattern.mid(i + 1, close - i - 1);
            i = close;
            if (body.isEmpty())
                continue; // "[]" matches the empty string
            token.kind = Token::Set;
            if (!parseSet(body, token))
                return std::nullopt;
        } else {
            token.kind = Token::Literal;
            token.ch = c.unicode();
        }
        tokens.push_back(std::move(token));
    }
    return tokens;
}

} // namespace

std::optional<bool> MatchWildcard(const QString &text, const QString &pattern)
{
    const auto parsed = tokenize(pattern);
    if (!parsed)
        return std::nullopt;
    const std::vector<Token> &tokens = *parsed;
    const size_t n = static_cast<size_t>(text.size());
    const size_t m = tokens.size();
    size_t ti = 0;
    size_t pi = 0;
    size_t starToken = m; // none
    size_t starText = 0;
    // Every token but "*" takes exactly one character, so retrying from the last "*" is enough.
    while (ti < n) {
        if (pi < m && tokens[pi].kind == Token::Star) {
            starToken = pi++;
            starText = ti;
        } else if (pi < m && tokens[pi].matches(text.at(static_cast<qsizetype>(ti)).unicode())) {
            ++pi;
            ++ti;
        } else if (starToken < m) {
            pi = starToken + 1;
            ti = ++starText;
        } else {
            return false;
        }
    }
    while (pi < m && tokens[pi].kind == Token::Star)
        ++pi;
    return pi == m;
}

} // namespace Fieldpane
