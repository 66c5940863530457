// Letter case at the edges the fixture file cannot reach: malformed UTF-8,
// escapes, and patterns built to backtrack. The byte-wise shortcuts for ASCII
// are checked against plain definitions on texts that mix ASCII with letters
// whose case partner is ASCII.

#include "platform/db/engine/CaseInsensitiveText.h"

#include <QElapsedTimer>
#include <QRandomGenerator>
#include <QRegularExpression>
#include <QtTest>

using namespace platform::db;

class DbTextTest : public QObject {
    Q_OBJECT

private slots:
    void likePatterns_data();
    void likePatterns();
    void backtrackingStaysLinear();
    void likeAgreesWithPlainDefinition_data();
    void likeAgreesWithPlainDefinition();
    void comparison();
    void comparisonAgreesWithPlainDefinition();
};

namespace {

// Letters whose other case lies across the ASCII border (Kelvin sign and k,
// long s and s), letters that are not ASCII at all, and neighbours that differ
// from a letter only in the 0x20 bit ('@' and '`', '[' and '{').
const QStringList kAlphabet = {"a", "A", "h", "H", "e", "E", "k", "K", "\u212A", "s", "S", "\u017F",
                               "\u00E9", "\u00C9", "@", "`", "[", "{", " ", "-"};

QString randomText(QRandomGenerator &random, const QStringList &alphabet, int longest)
{
    QString text;
    const int length = int(random.bounded(longest + 1));
    for (int i = 0; i < length; ++i)
        text += alphabet[int(random.bounded(alphabet.size()))];
    return text;
}

// '%' and '_' as a regular expression over whole code points, letter case by
// Unicode's rules.
bool likeByRegularExpression(const QString &pattern, const QString &text)
{
    QString expression = QStringLiteral("\\A(?:");
    for (char32_t cp : pattern.toUcs4()) {
        if (cp == '%')
            expression += QStringLiteral(".*");
        else if (cp == '_')
            expression += QLatin1Char('.');
        else
            expression += QRegularExpression::escape(QString::fromUcs4(&cp, 1));
    }
    expression += QStringLiteral(")\\z");
    const QRegularExpression re(expression, QRegularExpression::CaseInsensitiveOption
                                                | QRegularExpression::DotMatchesEverythingOption);
    return re.match(text).hasMatch();
}

// Code point by code point, each folded on its own.
int compareByFoldedCodePoints(const QString &a, const QString &b)
{
    const auto folded = [](const QString &s) {
        QList<char32_t> out;
        for (const uint cp : s.toUcs4())
            out << QChar::toCaseFolded(char32_t(cp));
        return out;
    };
    const QList<char32_t> x = folded(a);
    const QList<char32_t> y = folded(b);
    if (std::lexicographical_compare(x.begin(), x.end(), y.begin(), y.end()))
        return -1;
    return std::lexicographical_compare(y.begin(), y.end(), x.begin(), x.end()) ? 1 : 0;
}

int sign(int value)
{
    return (value > 0) - (value < 0);
}

} // namespace

void DbTextTest::likePatterns_data()
{
    QTest::addColumn<QString>("pattern");
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("escape");
    QTest::addColumn<bool>("matches");
    QTest::newRow("greek case") << QStringLiteral("%\u03A3\u039F\u03A6%") << QStringLiteral("\u03C3\u03BF\u03C6\u03AF\u03B1") << 0 << true;
    QTest::newRow("one character is one code point") << "a_b" << QStringLiteral("a\U0001F600b") << 0 << true;
    QTest::newRow("underscore needs a character") << "ab_" << "ab" << 0 << false;
    QTest::newRow("percent may be empty") << "ab%" << "ab" << 0 << true;
    QTest::newRow("escaped percent") << "100!%" << "100%" << int('!') << true;
    QTest::newRow("escaped percent is literal") << "100!%" << "1000" << int('!') << false;
    QTest::newRow("escaped underscore") << "a!_b" << "axb" << int('!') << false;
    QTest::newRow("invalid byte matches itself") << QString::fromLatin1("%\xFF%") << QString::fromLatin1("x\xFFy") << 0 << true;
    QTest::newRow("last percent backtracks") << "%ab%abc" << "xxabxabxabc" << 0 << true;
}

void DbTextTest::likePatterns()
{
    QFETCH(QString, pattern);
    QFETCH(QString, text);
    QFETCH(int, escape);
    QFETCH(bool, matches);
    // Latin-1 rows stand for raw invalid bytes.
    const bool raw = QTest::currentDataTag() == QByteArray("invalid byte matches itself");
    const QByteArray p = raw ? pattern.toLatin1() : pattern.toUtf8();
    const QByteArray t = raw ? text.toLatin1() : text.toUtf8();
    QCOMPARE(likeMatches(p.toStdString(), t.toStdString(), char32_t(escape)), matches);
}

void DbTextTest::backtrackingStaysLinear()
{
    const std::string text(20000, 'a');
    std::string pattern;
    for (int i = 0; i < 40; ++i)
        pattern += "%a";
    pattern += "%b";
    QElapsedTimer timer;
    timer.start();
    QVERIFY(!likeMatches(pattern, text));
    QVERIFY2(timer.elapsed() < 2000, qPrintable(QString::number(timer.elapsed())));
}

void DbTextTest::likeAgreesWithPlainDefinition_data()
{
    QTest::addColumn<QStringList>("alphabet");
    QTest::addColumn<int>("longest");
    // Long texts reach past the bytes taken at a time.
    QTest::newRow("letters beyond ASCII") << kAlphabet << 40;
    QTest::newRow("ASCII only, past 32 bytes") << QStringList{"a", "A", "h", "H", "e", "t", "T", " ", "@", "`"} << 120;
}

void DbTextTest::likeAgreesWithPlainDefinition()
{
    QFETCH(QStringList, alphabet);
    QFETCH(int, longest);
    QRandomGenerator random(20261207);
    QStringList patternAlphabet = alphabet;
    patternAlphabet << "%" << "%" << "_";
    for (int i = 0; i < 20000; ++i) {
        const QString pattern = randomText(random, patternAlphabet, 6);
        const QString text = randomText(random, alphabet, i % 2 ? longest : 8);
        const bool expected = likeByRegularExpression(pattern, text);
        const bool actual = likeMatches(pattern.toStdString(), text.toStdString());
        if (actual != expected)
            QFAIL(qPrintable(QStringLiteral("'%1' like '%2' gave %3").arg(text, pattern).arg(actual)));
    }
}

void DbTextTest::comparison()
{
    QCOMPARE(compareIgnoringCase("apple", "APPLE"), 0);
    QVERIFY(compareIgnoringCase("apple", "Banana") < 0);
    QVERIFY(compareIgnoringCase("Banana", "apple") > 0);
    QVERIFY(compareIgnoringCase("app", "Apple") < 0);
    QCOMPARE(compareIgnoringCase("\xC3\x89t\xC3\xA9", "\xC3\xA9T\xC3\x89"), 0); // Été, éTÉ
    QVERIFY(compareIgnoringCase("z", "\xC3\xA9") < 0);
    // Truncated UTF-8 compares without reading past the end.
    QVERIFY(compareIgnoringCase("a\xC3", "a\xC3\xA9") != 0);
}

void DbTextTest::comparisonAgreesWithPlainDefinition()
{
    QRandomGenerator random(7);
    const QStringList ascii = {"a", "A", "b", "B", "@", "`", " "};
    for (int i = 0; i < 20000; ++i) {
        // A long shared start, sometimes in another case, then anything.
        const QString start = randomText(random, ascii, 24);
        const QString otherStart = random.bounded(2) ? start : start.toUpper();
        const QString a = start + randomText(random, kAlphabet, 4);
        const QString b = otherStart + randomText(random, kAlphabet, 4);
        const int expected = compareByFoldedCodePoints(a, b);
        const int actual = sign(compareIgnoringCase(a.toStdString(), b.toStdString()));
        if (actual != expected)
            QFAIL(qPrintable(QStringLiteral("'%1' against '%2' gave %3").arg(a, b).arg(actual)));
    }
}

QTEST_GUILESS_MAIN(DbTextTest)
#include "tst_db_text.moc"
