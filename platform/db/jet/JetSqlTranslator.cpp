#include "platform/db/jet/JetSqlTranslator.h"

#include "platform/db/jet/JetDate.h"
#include "platform/db/jet/JetFunctions.h"
#include "platform/db/engine/SqlNames.h"

#include <algorithm>
#include <cctype>
#include <vector>

namespace platform::db {
namespace {

// Jet's own Like wildcards ('*', '?') next to the ANSI ones the provider
// also accepts; '#' (a digit) and [lists] have no LIKE equivalent.
std::string likePattern(std::string_view pattern)
{
    std::string out;
    for (char c : pattern) {
        if (c == '*')
            out += '%';
        else if (c == '?')
            out += '_';
        else if (c == '#' || c == '[')
            throw UntranslatableQuery("a Like pattern with '#' or '[...]'");
        else
            out += c;
    }
    return out;
}

struct Argument {
    TranslatedExpression value;
    const JetToken *literal = nullptr; // the token when the argument is a lone literal
};

class Parser {
public:
    explicit Parser(std::vector<JetToken> tokens) : tokens_(std::move(tokens)) {}

    TranslatedExpression wholeExpression()
    {
        TranslatedExpression e = expression();
        expectEnd();
        return e;
    }

    std::string wholeSelect()
    {
        std::string sql = compoundSelect();
        while (acceptSymbol(";")) {
        }
        expectEnd();
        return sql;
    }

private:
    // ---- tokens ----
    const JetToken &peek(std::size_t ahead = 0) const
    {
        return tokens_[std::min(at_ + ahead, tokens_.size() - 1)];
    }
    const JetToken &take() { return tokens_[std::min(at_++, tokens_.size() - 1)]; }

    bool isWord(const JetToken &t, std::string_view word) const
    {
        return t.kind == JetToken::Name && lowerAscii(t.text) == word;
    }
    bool acceptWord(std::string_view word)
    {
        if (!isWord(peek(), word))
            return false;
        ++at_;
        return true;
    }
    void expectWord(std::string_view word)
    {
        if (!acceptWord(word))
            unexpected();
    }
    bool acceptSymbol(std::string_view s)
    {
        if (peek().kind != JetToken::Symbol || peek().text != s)
            return false;
        ++at_;
        return true;
    }
    void expectSymbol(std::string_view s)
    {
        if (!acceptSymbol(s))
            unexpected();
    }
    void expectEnd()
    {
        if (peek().kind != JetToken::End)
            unexpected();
    }
    [[noreturn]] void unexpected() const
    {
        const JetToken &t = peek();
        if (t.kind == JetToken::End)
            throw UntranslatableQuery("an expression that ends too early");
        throw UntranslatableQuery("the unexpected '" + t.text + "'");
    }

    // ---- expressions, loosest binding first ----
    // Each construct that nests (parentheses, a sign, Not, a subquery, a join
    // in parentheses) takes the parser one call deeper; a query nested beyond
    // any written by hand is refused before the stack runs out.
    class Nested {
    public:
        explicit Nested(Parser &parser) : parser_(parser)
        {
            if (parser_.depth_ >= kDeepestNesting)
                throw UntranslatableQuery("an expression nested more than " + std::to_string(kDeepestNesting)
                                          + " levels deep");
            ++parser_.depth_;
        }
        ~Nested() { --parser_.depth_; }
        Nested(const Nested &) = delete;
        Nested &operator=(const Nested &) = delete;

    private:
        Parser &parser_;
    };

    TranslatedExpression expression()
    {
        const Nested nested(*this);
        TranslatedExpression left = conjunction();
        while (acceptWord("or"))
            left = joined(left, " OR ", conjunction());
        for (std::string_view op : {"xor", "eqv", "imp"}) {
            if (isWord(peek(), op))
                throw UntranslatableQuery("the operator " + peek().text);
        }
        return left;
    }

    TranslatedExpression conjunction()
    {
        TranslatedExpression left = negation();
        while (acceptWord("and"))
            left = joined(left, " AND ", negation());
        return left;
    }

    TranslatedExpression negation()
    {
        if (acceptWord("not")) {
            const Nested nested(*this);
            TranslatedExpression inner = negation();
            inner.sql = "(NOT " + inner.sql + ")";
            forget(inner);
            return inner;
        }
        return comparison();
    }

    TranslatedExpression comparison()
    {
        TranslatedExpression left = concatenation();
        for (;;) {
            const JetToken &t = peek();
            if (t.kind == JetToken::Symbol
                && (t.text == "=" || t.text == "<>" || t.text == "<" || t.text == ">" || t.text == "<=" || t.text == ">=")) {
                const std::string op = take().text;
                left = joined(left, " " + op + " ", concatenation());
                continue;
            }
            if (acceptWord("is")) {
                const bool negated = acceptWord("not");
                expectWord("null");
                left.sql = "(" + left.sql + (negated ? " IS NOT NULL)" : " IS NULL)");
                forget(left);
                continue;
            }
            const bool negated = isWord(t, "not") && (isWord(peek(1), "like") || isWord(peek(1), "between") || isWord(peek(1), "in"));
            if (negated)
                ++at_;
            if (acceptWord("like")) {
                left = like(left, negated);
            } else if (acceptWord("between")) {
                TranslatedExpression low = concatenation();
                expectWord("and");
                TranslatedExpression high = concatenation();
                merge(left, low);
                merge(left, high);
                left.sql = "(" + left.sql + (negated ? " NOT BETWEEN " : " BETWEEN ") + low.sql + " AND " + high.sql + ")";
                forget(left);
            } else if (acceptWord("in")) {
                left = in(left, negated);
            } else {
                return left;
            }
        }
    }

    TranslatedExpression like(TranslatedExpression left, bool negated)
    {
        std::string pattern;
        if (peek().kind == JetToken::String && isBoundary(peek(1))) {
            pattern = quotedText(likePattern(take().text));
        } else {
            TranslatedExpression p = concatenation();
            merge(left, p);
            pattern = "replace(replace(" + p.sql + ",'*','%'),'?','_')";
        }
        left.sql = "(" + left.sql + (negated ? " NOT LIKE " : " LIKE ") + pattern + ")";
        forget(left);
        return left;
    }

    TranslatedExpression in(TranslatedExpression left, bool negated)
    {
        expectSymbol("(");
        std::string list;
        if (isWord(peek(), "select")) {
            list = compoundSelect();
        } else {
            do {
                TranslatedExpression item = expression();
                merge(left, item);
                list += (list.empty() ? "" : ", ") + item.sql;
            } while (acceptSymbol(","));
        }
        expectSymbol(")");
        left.sql = "(" + left.sql + (negated ? " NOT IN (" : " IN (") + list + "))";
        forget(left);
        return left;
    }

    // A literal that is the whole operand: what follows cannot continue it.
    bool isBoundary(const JetToken &t) const
    {
        if (t.kind == JetToken::End)
            return true;
        if (t.kind == JetToken::Symbol)
            return t.text == ")" || t.text == "," || t.text == ";";
        return t.kind == JetToken::Name;
    }

    TranslatedExpression concatenation()
    {
        TranslatedExpression left = additive();
        if (peek().kind != JetToken::Symbol || peek().text != "&")
            return left;
        std::string sql = "(ifnull(" + left.sql + ",'')";
        while (acceptSymbol("&")) {
            TranslatedExpression right = additive();
            merge(left, right);
            sql += " || ifnull(" + right.sql + ",'')";
        }
        left.sql = sql + ")";
        forget(left);
        return left;
    }

    TranslatedExpression additive()
    {
        TranslatedExpression left = modulo();
        for (;;) {
            if (acceptSymbol("+"))
                left = joined(left, " + ", modulo());
            else if (acceptSymbol("-"))
                left = joined(left, " - ", modulo());
            else
                return left;
        }
    }

    TranslatedExpression modulo()
    {
        TranslatedExpression left = integerDivision();
        while (acceptWord("mod")) {
            TranslatedExpression right = integerDivision();
            merge(left, right);
            left.sql = "(CAST(round(" + left.sql + ") AS INTEGER) % CAST(round(" + right.sql + ") AS INTEGER))";
            forget(left);
        }
        return left;
    }

    TranslatedExpression integerDivision()
    {
        TranslatedExpression left = product();
        while (acceptSymbol("\\")) {
            TranslatedExpression right = product();
            merge(left, right);
            left.sql = "(CAST(round(" + left.sql + ") AS INTEGER) / CAST(round(" + right.sql + ") AS INTEGER))";
            forget(left);
        }
        return left;
    }

    TranslatedExpression product()
    {
        TranslatedExpression left = unary();
        for (;;) {
            if (acceptSymbol("*")) {
                left = joined(left, " * ", unary());
            } else if (acceptSymbol("/")) {
                // Jet's '/' always keeps the fraction; SQLite's drops it
                // between two integers.
                TranslatedExpression right = unary();
                merge(left, right);
                left.sql = "(CAST(" + left.sql + " AS REAL) / " + right.sql + ")";
                forget(left);
            } else {
                return left;
            }
        }
    }

    TranslatedExpression unary()
    {
        if (acceptSymbol("-")) {
            const Nested nested(*this);
            TranslatedExpression inner = unary();
            // The space keeps a negative operand ("-1" for True) from making
            // "--", which SQLite reads as the start of a comment.
            inner.sql = "(- " + inner.sql + ")";
            forget(inner);
            return inner;
        }
        if (acceptSymbol("+")) {
            const Nested nested(*this);
            return unary();
        }
        TranslatedExpression base = primary();
        if (acceptSymbol("^")) {
            const Nested nested(*this);
            TranslatedExpression exponent = unary();
            merge(base, exponent);
            base.sql = "pow(" + base.sql + ", " + exponent.sql + ")";
            forget(base);
        }
        return base;
    }

    TranslatedExpression primary()
    {
        const JetToken &t = peek();
        switch (t.kind) {
        case JetToken::Number:
            return literal(take().text);
        case JetToken::String:
            return literal(quotedText(take().text));
        case JetToken::Date:
            return literal(quotedText(jetDateLiteralToText(take().text)));
        case JetToken::BracketedName:
            return reference();
        case JetToken::Name:
            return namedPrimary();
        case JetToken::Symbol:
            if (acceptSymbol("(")) {
                if (isWord(peek(), "select")) {
                    TranslatedExpression sub = literal("(" + compoundSelect() + ")");
                    expectSymbol(")");
                    return sub;
                }
                TranslatedExpression inner = expression();
                expectSymbol(")");
                inner.sql = "(" + inner.sql + ")";
                return inner;
            }
            unexpected();
        case JetToken::End:
            break;
        }
        unexpected();
    }

    static TranslatedExpression literal(std::string sql)
    {
        TranslatedExpression e;
        e.sql = std::move(sql);
        return e;
    }

    TranslatedExpression namedPrimary()
    {
        const std::string word = lowerAscii(peek().text);
        if (word == "null")
            return (++at_, literal("NULL"));
        if (word == "true" || word == "yes" || word == "on")
            return (++at_, literal("-1"));
        if (word == "false" || word == "no" || word == "off")
            return (++at_, literal("0"));
        if (word == "exists") {
            ++at_;
            expectSymbol("(");
            TranslatedExpression e = literal("EXISTS (" + compoundSelect() + ")");
            expectSymbol(")");
            return e;
        }
        if (peek(1).kind == JetToken::Symbol && peek(1).text == "(")
            return call();
        return reference();
    }

    // A column, optionally with its table: Name, [Name], T.Name, [T].[Name].
    TranslatedExpression reference()
    {
        std::vector<std::string> parts{take().text};
        for (;;) {
            if (peek().kind == JetToken::Symbol && peek().text == "!")
                throw UntranslatableQuery("the reference to a form or parameter " + parts.front() + "!...");
            if (!(peek().kind == JetToken::Symbol && peek().text == "."))
                break;
            if (peek(1).kind != JetToken::Name && peek(1).kind != JetToken::BracketedName)
                break;
            ++at_;
            parts.push_back(take().text);
        }
        if (parts.size() > 2)
            throw UntranslatableQuery("the name " + parts.front() + "." + parts[1] + "." + parts[2]);
        TranslatedExpression e;
        for (std::size_t i = 0; i < parts.size(); ++i)
            e.sql += (i ? "." : "") + quotedName(parts[i]);
        e.column = parts.back();
        if (parts.size() == 2) {
            e.columnQualifier = parts.front();
            e.qualifiers.insert(lowerAscii(parts.front()));
        } else {
            e.unqualifiedColumn = true;
        }
        return e;
    }

    std::vector<Argument> arguments()
    {
        std::vector<Argument> args;
        expectSymbol("(");
        if (acceptSymbol(")"))
            return args;
        do {
            Argument a;
            const std::size_t start = at_;
            a.value = expression();
            if (at_ == start + 1 && tokens_[start].kind != JetToken::Name && tokens_[start].kind != JetToken::BracketedName)
                a.literal = &tokens_[start];
            args.push_back(std::move(a));
        } while (acceptSymbol(","));
        expectSymbol(")");
        return args;
    }

    TranslatedExpression call();
    TranslatedExpression aggregate(const std::string &sqlName);

    // ---- statements ----
    std::string compoundSelect()
    {
        const Nested nested(*this);
        std::string sql = singleSelect();
        while (acceptWord("union")) {
            const bool all = acceptWord("all");
            sql += all ? " UNION ALL " : " UNION ";
            const bool parenthesised = acceptSymbol("(");
            sql += singleSelect();
            if (parenthesised)
                expectSymbol(")");
        }
        if (acceptWord("order")) {
            expectWord("by");
            sql += " ORDER BY " + orderList();
        }
        return sql;
    }

    std::string singleSelect()
    {
        expectWord("select");
        std::string sql = "SELECT ";
        if (acceptWord("distinct") || acceptWord("distinctrow"))
            sql += "DISTINCT ";
        else
            acceptWord("all");
        if (isWord(peek(), "top"))
            throw UntranslatableQuery("TOP inside a statement");
        std::string columns;
        do {
            columns += columns.empty() ? "" : ", ";
            if (acceptSymbol("*")) {
                columns += "*";
                continue;
            }
            if ((peek().kind == JetToken::Name || peek().kind == JetToken::BracketedName) && peek(1).text == "."
                && peek(2).kind == JetToken::Symbol && peek(2).text == "*") {
                columns += quotedName(take().text) + ".*";
                at_ += 2;
                continue;
            }
            TranslatedExpression e = expression();
            columns += e.sql;
            if (acceptWord("as"))
                columns += " AS " + quotedName(take().text);
        } while (acceptSymbol(","));
        sql += columns;
        if (acceptWord("from"))
            sql += " FROM " + fromList();
        if (acceptWord("where"))
            sql += " WHERE " + expression().sql;
        if (acceptWord("group")) {
            expectWord("by");
            sql += " GROUP BY " + expressionList();
        }
        if (acceptWord("having"))
            sql += " HAVING " + expression().sql;
        return sql;
    }

    std::string expressionList()
    {
        std::string sql;
        do
            sql += (sql.empty() ? "" : ", ") + expression().sql;
        while (acceptSymbol(","));
        return sql;
    }

    std::string orderList()
    {
        std::string sql;
        do {
            sql += (sql.empty() ? "" : ", ") + expression().sql;
            if (acceptWord("desc") || acceptWord("descending"))
                sql += " DESC";
            else if (!acceptWord("asc"))
                acceptWord("ascending");
        } while (acceptSymbol(","));
        return sql;
    }

    std::string fromList()
    {
        std::string sql;
        do
            sql += (sql.empty() ? "" : ", ") + joinedSources();
        while (acceptSymbol(","));
        return sql;
    }

    std::string joinedSources()
    {
        const Nested nested(*this);
        std::string sql = source();
        for (;;) {
            std::string kind;
            if (acceptWord("inner"))
                kind = " INNER JOIN ";
            else if (acceptWord("left"))
                kind = " LEFT JOIN ";
            else if (acceptWord("right"))
                kind = " RIGHT JOIN ";
            else
                return sql;
            if (kind != " INNER JOIN ")
                acceptWord("outer");
            expectWord("join");
            sql += kind + source();
            expectWord("on");
            sql += " ON " + expression().sql;
        }
    }

    std::string source()
    {
        std::string sql;
        if (acceptSymbol("(")) {
            sql = "(" + (isWord(peek(), "select") ? compoundSelect() : joinedSources()) + ")";
            expectSymbol(")");
        } else if (peek().kind == JetToken::Name || peek().kind == JetToken::BracketedName) {
            sql = quotedName(take().text);
        } else {
            unexpected();
        }
        if (isWord(peek(), "in"))
            throw UntranslatableQuery("a table in another database (IN ...)");
        if (acceptWord("as") || (peek().kind == JetToken::BracketedName)
            || (peek().kind == JetToken::Name && !isClauseWord(peek())))
            sql += " AS " + quotedName(take().text);
        return sql;
    }

    bool isClauseWord(const JetToken &t) const
    {
        static const std::set<std::string> words{"where", "group", "having", "order", "union", "inner", "left",
                                                 "right", "on", "join"};
        return words.count(lowerAscii(t.text)) > 0;
    }

    // ---- bookkeeping of what an expression uses ----
    static void merge(TranslatedExpression &into, const TranslatedExpression &from)
    {
        into.height = std::max(into.height, from.height);
        into.aggregate = into.aggregate || from.aggregate;
        into.unqualifiedColumn = into.unqualifiedColumn || from.unqualifiedColumn;
        into.qualifiers.insert(from.qualifiers.begin(), from.qualifiers.end());
    }
    // An operation on a column is no longer a bare column reference, and
    // stands one level above its operands. SQLite refuses trees taller than
    // its own limit anyway; stopping there keeps a long chain (a + a + ...,
    // each step copying the text so far) from taking time to no purpose.
    static void forget(TranslatedExpression &e)
    {
        e.column.clear();
        e.columnQualifier.clear();
        if (++e.height > kTallestExpression)
            throw UntranslatableQuery("an expression of more than " + std::to_string(kTallestExpression)
                                      + " operations in a row");
    }
    static TranslatedExpression joined(TranslatedExpression left, const std::string &op, const TranslatedExpression &right)
    {
        merge(left, right);
        left.sql = "(" + left.sql + op + right.sql + ")";
        forget(left);
        return left;
    }

    std::vector<JetToken> tokens_;
    std::size_t at_ = 0;
    int depth_ = 0;
};

TranslatedExpression Parser::aggregate(const std::string &sqlName)
{
    expectSymbol("(");
    TranslatedExpression e;
    if (sqlName == "count" && acceptSymbol("*")) {
        e.sql = "count(*)";
    } else {
        const bool distinct = acceptWord("distinct");
        TranslatedExpression inner = expression();
        merge(e, inner);
        e.sql = sqlName + "(" + (distinct ? "DISTINCT " : "") + inner.sql + ")";
    }
    expectSymbol(")");
    e.aggregate = true;
    return e;
}
TranslatedExpression Parser::call()
{
    const std::string name = peek().text;
    const std::string word = lowerAscii(name);
    static const std::set<std::string> aggregates{"sum", "count", "avg", "min", "max"};
    if (aggregates.count(word)) {
        ++at_;
        return aggregate(word);
    }
    ++at_;
    const std::vector<Argument> args = arguments();
    TranslatedExpression e;
    std::vector<JetCallArgument> translated;
    for (const Argument &a : args) {
        merge(e, a.value);
        translated.push_back({a.value.sql, a.literal});
    }
    e.sql = translateJetCall(name, translated);
    return e;
}

} // namespace

TranslatedExpression translateJetExpression(std::string_view jetText)
{
    return Parser(tokenizeJetSql(jetText)).wholeExpression();
}

std::string translateJetSelect(std::string_view jetText)
{
    return Parser(tokenizeJetSql(jetText)).wholeSelect();
}
std::string jetDateLiteralToText(std::string_view literal)
{
    const std::optional<CivilDateTime> when = parseJetDateLiteral(literal);
    if (!when)
        throw UntranslatableQuery("the date #" + std::string(literal) + "#");
    return formatDateText(*when);
}

} // namespace platform::db
