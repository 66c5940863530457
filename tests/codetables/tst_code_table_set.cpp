// The code tables read from pcs.mdb: rows a damaged file could hold are kept
// out, and the choices at each step come in the file's order, each once.

#include "codetables/CodeTableSet.h"

#include <QtTest>

using codetables::Choice;
using codetables::CodeTable;
using codetables::CodeTableSet;

namespace {

QString keys(const QList<Choice> &choices)
{
    QString text;
    for (const Choice &choice : choices)
        text += choice.key;
    return text;
}

CodeTable table(const QString &code)
{
    return {code, "Section " + code.left(1), "Body system " + code.mid(1, 1), "Operation " + code.right(1), {}, {}};
}

} // namespace

class CodeTableSetTest : public QObject {
    Q_OBJECT

private slots:
    void choicesNarrowInFileOrder()
    {
        CodeTableSet tables;
        for (const char *code : {"021", "02H", "0SR", "01P", "6AB", "021"})
            tables.addTable(table(code));
        QCOMPARE(tables.tableCount(), 5);
        QCOMPARE(keys(tables.sections()), QStringLiteral("06"));
        QCOMPARE(keys(tables.bodySystems('0')), QStringLiteral("2S1"));
        QCOMPARE(keys(tables.operations('0', '2')), QStringLiteral("1H"));
        QVERIFY(tables.operations('6', '2').isEmpty());
    }

    void valuesOutsideATableAreRefused()
    {
        CodeTableSet tables;
        tables.addTable(table("021"));
        QVERIFY(tables.addValue("021", 2, 4, "Body Part", '0', "Coronary Artery, One Artery"));
        QVERIFY(tables.addValue("021", 2, 4, "Body Part", '0', "given again"));
        QVERIFY(!tables.addValue("02H", 1, 4, "Body Part", '0', "no such table"));
        for (int rowNo : {0, -1, CodeTableSet::MaxRowsPerTable + 1})
            QVERIFY(!tables.addValue("021", rowNo, 4, "Body Part", '0', "row out of range"));
        for (int pos : {3, 8})
            QVERIFY(!tables.addValue("021", 1, pos, "Body Part", '0', "position out of range"));
        const CodeTable *kept = tables.table("021");
        QCOMPARE(kept->rows.size(), 2);
        QCOMPARE(kept->rows[1].axes[0].values.size(), 1);
        QCOMPARE(kept->rows[1].axes[0].values[0].text, QStringLiteral("Coronary Artery, One Artery"));
    }

    void aCodeIsHeldByTheRowAllowingEachCharacter()
    {
        CodeTableSet tables;
        tables.addTable(table("021"));
        const char *rows[][4] = {{"0", "0", "9A", "3"}, {"1", "0", "9", "3"}};
        for (int row = 0; row < 2; ++row) {
            for (int axis = 0; axis < 4; ++axis) {
                for (const char *value = rows[row][axis]; *value; ++value)
                    tables.addValue("021", row + 1, axis + 4, "Title", QChar(*value), "Label");
            }
        }
        const CodeTable *bypass = tables.table("021");
        QCOMPARE(bypass->rowHolding(u"02100A3"), 0);
        QCOMPARE(bypass->rowHolding(u"0211093"), 1);
        QCOMPARE(bypass->rowHolding(u"02110A3"), -1);
        QCOMPARE(bypass->rowHolding(u"021109"), -1);
    }
};

QTEST_GUILESS_MAIN(CodeTableSetTest)
#include "tst_code_table_set.moc"
