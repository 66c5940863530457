#include "platform/db/jet/JetSqlLexer.h"

#include <cctype>

namespace platform::db {
namespace {

bool isNameStart(unsigned char c)
{
    return std::isalpha(c) || c == '_' || c >= 0x80;
}

bool isNamePart(unsigned char c)
{
    return std::isalnum(c) || c == '_' || c >= 0x80;
}

class Lexer {
public:
    explicit Lexer(std::string_view text) : text_(text) {}

    std::vector<JetToken> run()
    {
        std::vector<JetToken> tokens;
        while (skipSpace())
            tokens.push_back(next());
        tokens.push_back({JetToken::End, {}});
        return tokens;
    }

private:
    bool skipSpace()
    {
        while (at_ < text_.size() && std::isspace(static_cast<unsigned char>(text_[at_])))
            ++at_;
        return at_ < text_.size();
    }

    JetToken next()
    {
        const unsigned char c = static_cast<unsigned char>(text_[at_]);
        if (c == '[')
            return closedBy(JetToken::BracketedName, ']', "a name in brackets");
        if (c == '"' || c == '\'')
            return quoted(static_cast<char>(c));
        if (c == '#')
            return closedBy(JetToken::Date, '#', "a date between '#'");
        if (std::isdigit(c) || (c == '.' && at_ + 1 < text_.size() && std::isdigit(static_cast<unsigned char>(text_[at_ + 1]))))
            return number();
        if (isNameStart(c)) {
            const std::size_t from = at_;
            while (at_ < text_.size() && isNamePart(static_cast<unsigned char>(text_[at_])))
                ++at_;
            return {JetToken::Name, std::string(text_.substr(from, at_ - from))};
        }
        return symbol();
    }

    JetToken closedBy(JetToken::Kind kind, char close, const char *what)
    {
        const std::size_t end = text_.find(close, at_ + 1);
        if (end == std::string_view::npos)
            throw UntranslatableQuery(std::string(what) + " that is never closed");
        JetToken token{kind, std::string(text_.substr(at_ + 1, end - at_ - 1))};
        at_ = end + 1;
        return token;
    }

    // A doubled quote inside stands for the quote itself.
    JetToken quoted(char quote)
    {
        std::string value;
        for (std::size_t i = at_ + 1; i < text_.size(); ++i) {
            if (text_[i] != quote) {
                value += text_[i];
                continue;
            }
            if (i + 1 < text_.size() && text_[i + 1] == quote) {
                value += quote;
                ++i;
                continue;
            }
            at_ = i + 1;
            return {JetToken::String, value};
        }
        throw UntranslatableQuery("a text in quotes that is never closed");
    }

    void skipDigits()
    {
        while (at_ < text_.size() && std::isdigit(static_cast<unsigned char>(text_[at_])))
            ++at_;
    }

    // Digits with at most one point, and an exponent: the token is spliced
    // into SQL as it stands, so nothing else may pass as a number.
    JetToken number()
    {
        const std::size_t from = at_;
        skipDigits();
        if (at_ < text_.size() && text_[at_] == '.') {
            ++at_;
            skipDigits();
        }
        if (at_ < text_.size() && (text_[at_] == 'e' || text_[at_] == 'E')) {
            std::size_t exponent = at_ + 1;
            if (exponent < text_.size() && (text_[exponent] == '+' || text_[exponent] == '-'))
                ++exponent;
            if (exponent < text_.size() && std::isdigit(static_cast<unsigned char>(text_[exponent]))) {
                at_ = exponent;
                skipDigits();
            }
        }
        if (at_ < text_.size() && (isNameStart(static_cast<unsigned char>(text_[at_])) || text_[at_] == '.'))
            throw UntranslatableQuery("the number " + std::string(text_.substr(from, at_ + 1 - from)) + "...");
        return {JetToken::Number, std::string(text_.substr(from, at_ - from))};
    }

    JetToken symbol()
    {
        static constexpr std::string_view twoCharacter[] = {"<>", "<=", ">="};
        for (std::string_view s : twoCharacter) {
            if (text_.substr(at_, 2) == s) {
                at_ += 2;
                return {JetToken::Symbol, std::string(s)};
            }
        }
        const char c = text_[at_];
        static constexpr std::string_view single = "()=<>+-*/\\^&,.!;";
        if (single.find(c) == std::string_view::npos)
            throw UntranslatableQuery(std::string("the character '") + c + "'");
        ++at_;
        return {JetToken::Symbol, std::string(1, c)};
    }

    std::string_view text_;
    std::size_t at_ = 0;
};

} // namespace

std::vector<JetToken> tokenizeJetSql(std::string_view text)
{
    if (text.size() > kLongestJetSql)
        throw UntranslatableQuery("a text of " + std::to_string(text.size()) + " bytes, longer than Jet keeps");
    return Lexer(text).run();
}

} // namespace platform::db
