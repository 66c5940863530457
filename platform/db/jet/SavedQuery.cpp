#include "platform/db/jet/SavedQuery.h"

#include "platform/db/jet/JetSqlTranslator.h"
#include "platform/db/engine/SqlNames.h"

#include <algorithm>
#include <cctype>
#include <map>
#include <set>

namespace platform::db {
namespace {

// Bits of the flags row.
constexpr int kSelectStar = 0x01;
constexpr int kDistinct = 0x02;
constexpr int kDistinctRow = 0x08;
constexpr int kTop = 0x10;
constexpr int kPercent = 0x20;

std::vector<const SavedQueryRow *> rowsOf(const SavedQuery &q, int attribute)
{
    std::vector<const SavedQueryRow *> rows;
    for (const SavedQueryRow &row : q.rows) {
        if (row.attribute == attribute)
            rows.push_back(&row);
    }
    return rows;
}

const SavedQueryRow *firstRowOf(const SavedQuery &q, int attribute)
{
    const auto rows = rowsOf(q, attribute);
    return rows.empty() ? nullptr : rows.front();
}

enum class Kind { Select, Union, Refused };

// The catalog entry's type bits decide; a plain entry may still carry its
// type in the rows.
Kind kindOf(const SavedQuery &q)
{
    static const std::map<int, const char *> refusedByEntry{
        {16, "it is a crosstab query"}, {32, "it is a delete query (it changes data)"},
        {48, "it is an update query (it changes data)"}, {64, "it is an append query (it changes data)"},
        {80, "it is a make-table query (it changes data)"}, {96, "it is a data-definition query"},
        {112, "it is a pass-through query (it runs on another server)"}};
    static const std::map<int, const char *> refusedByRow{
        {2, "it is a make-table query (it changes data)"}, {3, "it is an append query (it changes data)"},
        {4, "it is an update query (it changes data)"}, {5, "it is a delete query (it changes data)"},
        {6, "it is a crosstab query"}, {7, "it is a data-definition query"},
        {8, "it is a pass-through query (it runs on another server)"}};
    const int type = q.objectFlags & 0xF0;
    if (type == 128)
        return Kind::Union;
    if (const auto found = refusedByEntry.find(type); found != refusedByEntry.end())
        throw UntranslatableQuery(found->second);
    if (type != 0)
        throw UntranslatableQuery("its type (" + std::to_string(type) + ") is unknown");
    const SavedQueryRow *typeRow = firstRowOf(q, SavedQueryRow::Type);
    const int rowType = typeRow ? typeRow->flag : 1;
    if (rowType == 1 || rowType == 0)
        return Kind::Select;
    if (rowType == 9)
        return Kind::Union;
    if (const auto found = refusedByRow.find(rowType); found != refusedByRow.end())
        throw UntranslatableQuery(found->second);
    throw UntranslatableQuery("its type (" + std::to_string(rowType) + ") is unknown");
}

void refuseParametersAndRemoteTables(const SavedQuery &q, Kind kind)
{
    const auto parameters = rowsOf(q, SavedQueryRow::Parameter);
    if (!parameters.empty()) {
        std::string names;
        for (const SavedQueryRow *p : parameters)
            names += (names.empty() ? "[" : ", [") + p->name1 + "]";
        throw UntranslatableQuery("it asks for parameters (" + names + ")");
    }
    const SavedQueryRow *remote = firstRowOf(q, SavedQueryRow::RemoteDatabase);
    if (remote && !(remote->name1.empty() && remote->expression.empty()))
        throw UntranslatableQuery("it reads tables of another database");
    // A union keeps the text of each part where a select keeps the
    // database of a table.
    for (const SavedQueryRow *table : rowsOf(q, SavedQueryRow::Table)) {
        if (kind == Kind::Select && !table->expression.empty())
            throw UntranslatableQuery("it reads the table " + table->name1 + " of another database");
    }
}

std::string orderByClause(const SavedQuery &q)
{
    std::string sql;
    for (const SavedQueryRow *row : rowsOf(q, SavedQueryRow::OrderBy)) {
        sql += (sql.empty() ? " ORDER BY " : ", ") + translateJetExpression(row->expression).sql;
        if (lowerAscii(row->name1) == "d")
            sql += " DESC";
    }
    return sql;
}

std::string unionSelect(const SavedQuery &q)
{
    std::vector<const SavedQueryRow *> parts = rowsOf(q, SavedQueryRow::Table);
    std::stable_sort(parts.begin(), parts.end(), [](auto *a, auto *b) { return a->name2 < b->name2; });
    if (parts.size() < 2)
        throw UntranslatableQuery("its union has fewer than two parts");
    const SavedQueryRow *flags = firstRowOf(q, SavedQueryRow::Flags);
    const bool all = !flags || (flags->flag & kDistinct) == 0;
    std::string sql;
    for (const SavedQueryRow *part : parts)
        sql += (sql.empty() ? "" : all ? " UNION ALL " : " UNION ") + translateJetSelect(part->expression);
    return sql + orderByClause(q);
}

struct Source {
    std::string key; // what the other clauses call it, in lower case
    std::string sql;
};

struct JoinStep {
    std::string left, right; // keys
    int type = 1;
    std::string on;
};

const char *joinWords(int type, bool mirrored)
{
    switch (type) {
    case 1:
        return " INNER JOIN ";
    case 2:
        return mirrored ? " RIGHT JOIN " : " LEFT JOIN ";
    case 3:
        return mirrored ? " LEFT JOIN " : " RIGHT JOIN ";
    default:
        throw UntranslatableQuery("a join of an unknown kind (" + std::to_string(type) + ")");
    }
}

class SelectBuilder {
public:
    explicit SelectBuilder(const SavedQuery &q) : q_(q)
    {
        const SavedQueryRow *flags = firstRowOf(q, SavedQueryRow::Flags);
        flags_ = flags ? flags->flag : 0;
        top_ = flags ? flags->name1 : std::string();
    }

    std::string build()
    {
        collectSources();
        const std::string columns = columnList();
        const std::string from = fromClause();
        std::string where;
        if (const SavedQueryRow *row = firstRowOf(q_, SavedQueryRow::Where))
            where = translateJetExpression(row->expression).sql;
        for (const std::string &condition : loopConditions_)
            where = where.empty() ? condition : "(" + where + ") AND " + condition;
        std::string grouping;
        for (const SavedQueryRow *row : rowsOf(q_, SavedQueryRow::GroupBy))
            grouping += (grouping.empty() ? " GROUP BY " : ", ") + translateJetExpression(row->expression).sql;
        if (const SavedQueryRow *row = firstRowOf(q_, SavedQueryRow::Having))
            grouping += " HAVING " + translateJetExpression(row->expression).sql;
        aggregated_ = aggregated_ || !rowsOf(q_, SavedQueryRow::GroupBy).empty();

        const std::string body = " FROM " + from + (where.empty() ? "" : " WHERE " + where) + grouping;
        const std::string order = orderByClause(q_);
        const bool distinct = (flags_ & kDistinct) || distinctRowMatters();
        return "SELECT " + std::string(distinct ? "DISTINCT " : "") + columns + body + order + limit(body, order, distinct);
    }

private:
    void collectSources()
    {
        for (const SavedQueryRow *row : rowsOf(q_, SavedQueryRow::Table)) {
            if (row->name1.empty())
                throw UntranslatableQuery("a table without a name");
            Source s;
            s.key = lowerAscii(row->name2.empty() ? row->name1 : row->name2);
            s.sql = quotedName(row->name1) + (row->name2.empty() ? "" : " AS " + quotedName(row->name2));
            sources_.push_back(s);
        }
        if (sources_.empty())
            throw UntranslatableQuery("it reads no table");
    }

    const Source &sourceFor(const std::string &name)
    {
        const std::string key = lowerAscii(name);
        for (const Source &s : sources_) {
            if (s.key == key)
                return s;
        }
        throw UntranslatableQuery("a join with " + name + ", which it does not read");
    }

    std::string columnList()
    {
        struct Output {
            std::string sql, alias, column, qualifier;
        };
        std::vector<Output> outputs;
        std::map<std::string, int> columnUses;
        for (const SavedQueryRow *row : rowsOf(q_, SavedQueryRow::Column)) {
            const std::string &text = row->expression;
            if (text == "*" || (text.size() > 2 && text.compare(text.size() - 2, 2, ".*") == 0)) {
                outputs.push_back({starSql(text), {}, {}, {}});
                continue;
            }
            TranslatedExpression e = translateJetExpression(text);
            aggregated_ = aggregated_ || e.aggregate;
            unqualified_ = unqualified_ || e.unqualifiedColumn;
            contributing_.insert(e.qualifiers.begin(), e.qualifiers.end());
            if (row->name1.empty() && !e.column.empty())
                ++columnUses[lowerAscii(e.column)];
            outputs.push_back({e.sql, row->name1, e.column, e.columnQualifier});
        }
        if (outputs.empty()) {
            if (!(flags_ & kSelectStar))
                throw UntranslatableQuery("it selects no columns");
            everySourceContributes_ = true;
            return "*";
        }
        // Jet's names for unnamed columns: the column itself, "Table.Column"
        // where two share a name, and Expr1000, Expr1001, ... for the rest.
        std::string sql;
        int expressionNumber = 1000;
        for (const Output &o : outputs) {
            std::string name = o.alias;
            if (name.empty() && !o.column.empty())
                name = columnUses[lowerAscii(o.column)] > 1 && !o.qualifier.empty() ? o.qualifier + "." + o.column : o.column;
            if (name.empty() && !o.sql.empty() && o.sql.back() != '*')
                name = "Expr" + std::to_string(expressionNumber++);
            sql += (sql.empty() ? "" : ", ") + o.sql + (name.empty() ? "" : " AS " + quotedName(name));
        }
        return sql;
    }

    std::string starSql(const std::string &text)
    {
        if (text == "*") {
            everySourceContributes_ = true;
            return "*";
        }
        std::string table = text.substr(0, text.size() - 2);
        if (table.size() >= 2 && table.front() == '[' && table.back() == ']')
            table = table.substr(1, table.size() - 2);
        contributing_.insert(lowerAscii(table));
        return quotedName(table) + ".*";
    }

    // Tables are joined one after another, each new one by a join to one
    // already placed; a join between two placed tables is one more condition.
    std::string fromClause()
    {
        std::vector<JoinStep> pending;
        for (const SavedQueryRow *row : rowsOf(q_, SavedQueryRow::Join)) {
            JoinStep step{lowerAscii(row->name1), lowerAscii(row->name2), row->flag,
                          translateJetExpression(row->expression).sql};
            auto same = std::find_if(pending.begin(), pending.end(), [&](const JoinStep &s) {
                return s.left == step.left && s.right == step.right && s.type == step.type;
            });
            if (same != pending.end())
                same->on = "(" + same->on + ") AND " + step.on;
            else
                pending.push_back(step);
        }
        bool allInner = std::all_of(pending.begin(), pending.end(), [](const JoinStep &s) { return s.type == 1; });
        std::set<std::string> placed;
        std::vector<std::string> pieces;
        std::string piece;
        while (!pending.empty()) {
            if (piece.empty()) {
                piece = sourceFor(pending.front().left).sql;
                placed.insert(pending.front().left);
            }
            bool progress = false;
            for (auto it = pending.begin(); it != pending.end(); ++it) {
                const bool leftPlaced = placed.count(it->left) > 0;
                const bool rightPlaced = placed.count(it->right) > 0;
                if (leftPlaced && rightPlaced) {
                    if (!allInner)
                        throw UntranslatableQuery("outer joins that join a table twice");
                    loopConditions_.push_back("(" + it->on + ")");
                } else if (leftPlaced) {
                    piece += joinWords(it->type, false) + sourceFor(it->right).sql + " ON " + it->on;
                    placed.insert(it->right);
                } else if (rightPlaced) {
                    piece += joinWords(it->type, true) + sourceFor(it->left).sql + " ON " + it->on;
                    placed.insert(it->left);
                } else {
                    continue;
                }
                pending.erase(it);
                progress = true;
                break;
            }
            if (!progress) {
                pieces.push_back(piece);
                piece.clear();
            }
        }
        if (!piece.empty())
            pieces.push_back(piece);
        for (const Source &s : sources_) {
            if (!placed.count(s.key))
                pieces.push_back(s.sql);
        }
        std::string sql;
        for (const std::string &p : pieces)
            sql += (sql.empty() ? "" : ", ") + p;
        return sql;
    }

    // DISTINCTROW drops rows that repeat the same records of the tables whose
    // fields are shown. That changes nothing when every table shows a field,
    // nor for totals; where a table shows none, its records are told apart by
    // the fields shown, as when a key is among them.
    bool distinctRowMatters() const
    {
        if (!(flags_ & kDistinctRow) || aggregated_ || everySourceContributes_ || unqualified_ || sources_.size() < 2)
            return false;
        return std::any_of(sources_.begin(), sources_.end(), [&](const Source &s) { return !contributing_.count(s.key); });
    }

    // TOP n keeps the rows tied with the n-th one, as Jet does: the limit is
    // the number of rows whose rank is within n (or within n percent).
    std::string limit(const std::string &body, const std::string &order, bool distinct) const
    {
        if (!(flags_ & kTop))
            return {};
        const std::string n = top_.empty() ? std::string("0") : top_;
        const TranslatedExpression count = translateJetExpression(n);
        if (count.sql.find_first_not_of("0123456789.") != std::string::npos)
            throw UntranslatableQuery("TOP " + n);
        const bool percent = (flags_ & kPercent) != 0;
        if (order.empty() || distinct) {
            if (!percent)
                return " LIMIT " + count.sql;
            return " LIMIT CAST(((SELECT count(*) FROM (SELECT 1" + body + ")) * " + count.sql + " + 99) / 100 AS INTEGER)";
        }
        const std::string window = "rank() OVER (" + order.substr(1) + ") AS vorimel_rank"
            + (percent ? ", count(*) OVER () AS vorimel_count" : "");
        const std::string within = percent ? "(vorimel_rank - 1) * 100 < vorimel_count * " + count.sql
                                           : "vorimel_rank <= " + count.sql;
        return " LIMIT (SELECT count(*) FROM (SELECT " + window + body + ") WHERE " + within + ")";
    }

    const SavedQuery &q_;
    int flags_ = 0;
    std::string top_;
    std::vector<Source> sources_;
    std::set<std::string> contributing_;
    std::vector<std::string> loopConditions_;
    bool aggregated_ = false;
    bool unqualified_ = false;
    bool everySourceContributes_ = false;
};

} // namespace

std::string toSqliteSelect(const SavedQuery &query)
{
    if (!query.damage.empty())
        throw UntranslatableQuery("its definition cannot be read: " + query.damage);
    std::size_t length = 0;
    for (const SavedQueryRow &row : query.rows)
        length += row.name1.size() + row.name2.size() + row.expression.size();
    if (length > kLongestJetSql)
        throw UntranslatableQuery("its text is longer than Jet keeps (" + std::to_string(length) + " bytes)");
    const Kind kind = kindOf(query);
    refuseParametersAndRemoteTables(query, kind);
    if (kind == Kind::Union)
        return unionSelect(query);
    return SelectBuilder(query).build();
}

} // namespace platform::db
