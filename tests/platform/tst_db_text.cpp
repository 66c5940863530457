// Letter case and stored text at the edges the fixture file cannot reach:
// malformed UTF-8 and UTF-16, escapes, and patterns built to backtrack.

#include "platform/db/CaseInsensitiveText.h"
#include "platform/db/JetText.h"

#include <QElapsedTimer>
#include <QtTest>

using namespace platform::db;

class DbTextTest : public QObject {
    Q_OBJECT

private slots:
    void likePatterns_data();
    void likePatterns();
    void backtrackingStaysLinear();
    void comparison();
    void decodesStoredText_data();
    void decodesStoredText();
};

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

void DbTextTest::decodesStoredText_data()
{
    QTest::addColumn<QByteArray>("stored");
    QTest::addColumn<QString>("text");
    QTest::newRow("plain") << QByteArray("c\0a\0f\0\xE9\0", 8) << QStringLiteral("caf\u00E9");
    QTest::newRow("compressed") << QByteArray("\xFF\xFE" "caf\xE9", 6) << QStringLiteral("caf\u00E9");
    QTest::newRow("compressed, mixed modes") << QByteArray("\xFF\xFE" "a\0\x14\x20\0b", 8) << QStringLiteral("a\u2014b");
    QTest::newRow("surrogate pair") << QByteArray("\x3D\xD8\x00\xDE", 4) << QStringLiteral("\U0001F600");
    QTest::newRow("lone high surrogate") << QByteArray("\x3D\xD8x\0", 4) << QStringLiteral("\uFFFDx");
    QTest::newRow("lone low surrogate") << QByteArray("\x00\xDEx\0", 4) << QStringLiteral("\uFFFDx");
    QTest::newRow("odd trailing byte") << QByteArray("x\0y", 3) << QStringLiteral("x\uFFFD");
    QTest::newRow("empty") << QByteArray() << QString();
    QTest::newRow("only the marker") << QByteArray("\xFF\xFE", 2) << QString();
}

void DbTextTest::decodesStoredText()
{
    QFETCH(QByteArray, stored);
    QFETCH(QString, text);
    std::string out = "kept ";
    appendJetTextAsUtf8(std::string_view(stored.constData(), std::size_t(stored.size())), out);
    QCOMPARE(QString::fromStdString(out), "kept " + text);
}

QTEST_GUILESS_MAIN(DbTextTest)
#include "tst_db_text.moc"
