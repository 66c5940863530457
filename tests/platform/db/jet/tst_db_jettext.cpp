// Stored Jet text at the edges the fixture file cannot reach: compressed runs
// across mode switches, malformed UTF-16, and the compression marker alone.

#include "platform/db/jet/JetText.h"

#include <QtTest>

#include <string>
#include <string_view>

using namespace platform::db;

class DbJetTextTest : public QObject {
    Q_OBJECT

private slots:
    void decodesStoredText_data();
    void decodesStoredText();
};

void DbJetTextTest::decodesStoredText_data()
{
    QTest::addColumn<QByteArray>("stored");
    QTest::addColumn<QString>("text");
    QTest::newRow("plain") << QByteArray("c\0a\0f\0\xE9\0", 8) << QStringLiteral("caf\u00E9");
    QTest::newRow("compressed") << QByteArray("\xFF\xFE" "caf\xE9", 6) << QStringLiteral("caf\u00E9");
    QTest::newRow("compressed, mixed modes") << QByteArray("\xFF\xFE" "a\0\x14\x20\0b", 8) << QStringLiteral("a\u2014b");
    QTest::newRow("compressed, long runs across modes")
        << QByteArray("\xFF\xFE" "abcdefghij\xE9klmnopqrstu" "\0\x14\x20\0" "vwxyz0123456789\x7F", 44)
        << QStringLiteral("abcdefghij\u00E9klmnopqrstu\u2014vwxyz0123456789\u007F");
    QTest::newRow("surrogate pair") << QByteArray("\x3D\xD8\x00\xDE", 4) << QStringLiteral("\U0001F600");
    QTest::newRow("lone high surrogate") << QByteArray("\x3D\xD8x\0", 4) << QStringLiteral("\uFFFDx");
    QTest::newRow("lone low surrogate") << QByteArray("\x00\xDEx\0", 4) << QStringLiteral("\uFFFDx");
    QTest::newRow("odd trailing byte") << QByteArray("x\0y", 3) << QStringLiteral("x\uFFFD");
    QTest::newRow("empty") << QByteArray() << QString();
    QTest::newRow("only the marker") << QByteArray("\xFF\xFE", 2) << QString();
}

void DbJetTextTest::decodesStoredText()
{
    QFETCH(QByteArray, stored);
    QFETCH(QString, text);
    std::string out = "kept ";
    appendJetTextAsUtf8(std::string_view(stored.constData(), std::size_t(stored.size())), out);
    QCOMPARE(QString::fromStdString(out), "kept " + text);
}

QTEST_GUILESS_MAIN(DbJetTextTest)
#include "tst_db_jettext.moc"
