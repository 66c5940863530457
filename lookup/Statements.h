#pragma once
// The four statements the search window runs, as pure text builders. Search
// texts go into the quoted patterns as typed (not trimmed, wildcards % and _
// kept) except that a single quote is doubled, so a text such as crohn's finds
// what it says instead of breaking the statement.

#include <QString>
#include <QStringList>
#include <vector>

namespace lookup {

// Where the typed text must lie in the column's value.
enum class TextPosition {
    StartingWith = 0, // "Starting With..."  : text%
    Includes = 1,     // "... Includes ..."  : %text%
    EndingWith = 2,   // "... Ending With"   : %text
};

// How several ticked conditions combine.
enum class Joining {
    AllKeywords = 0, // " AND "
    AnyKeyword = 1,  // " OR "
};

struct AdvancedCondition {
    QString column; // a column of getalldata, written inside [ ]
    QString text;   // the typed text
};

// A text placed between single quotes in a statement.
QString quoted(const QString &text);

QString keywordStatement(const QString &searchText);
// The words of a search text: what lies between blanks (spaces, tabs).
QStringList searchWords(const QString &searchText);
// Titles that hold every word, wherever and in whatever order: coders type
// "coronary bypass" where the titles say "Bypass Coronary Artery".
QString allWordsStatement(const QStringList &words);
// Callers pass at least one condition; with none the statement has nothing
// after "where " and the engine rejects it.
QString advancedStatement(const std::vector<AdvancedCondition> &conditions, TextPosition position,
                          Joining joining);
QString detailsStatement(int id);
QString detailsStatement(int id, const QString &icd9Code);

// The numeric value of the decimal number at the start of text (leading blanks
// skipped), 0 when the text does not start with one: "0", "", "NoI9" and
// "0.0" are zero, "00.01" is 0.01, " 12abc" is 12.
double leadingNumber(const QString &text);

} // namespace lookup
