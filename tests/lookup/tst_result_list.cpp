// The result list: rows measured by words must match the style's own measure,
// a list filled while hidden must lay out like one filled in view, and the
// list-box operations the window relies on.

#include "lookup/ResultList.h"
#include "lookup/TextRowDelegate.h"

#include <QListWidget>
#include <QScrollBar>
#include <QSignalSpy>
#include <QtTest>

using lookup::ResultList;
using lookup::TextRowDelegate;

namespace {

const QStringList sampleRows = {
    QStringLiteral("Bypass Coronary Artery, One Artery from Coronary Artery with Autologous Venous Tissue, Open Approach"),
    QStringLiteral("Drainage of Heart with Drainage Device, Percutaneous Endoscopic Approach"),
    QStringLiteral("AV Wavy Yoke (T) Tympanic \"quoted\" 'single' 100% [bracket] a-b/c"),
    QStringLiteral("  leading and trailing spaces  "),
    QStringLiteral("double  spaces   between words"),
    QStringLiteral("Résection du cœur, ß and Å"),
    QStringLiteral("Ω greek and 漢字 and عربى"),
    QStringLiteral("line\nbreak and\ttab"),
    QStringLiteral("x"),
    // Last letters whose glyphs reach past their advance in common fonts.
    QStringLiteral("Check the back of the neck"),
    QStringLiteral("half"),
    QStringLiteral("jump y"),
    QStringLiteral("Lift of a Taj"),
    QStringLiteral("ends with a space "),
    QString(),
    QStringLiteral("Bypass Coronary Artery, One Artery from Coronary Artery with Autologous Venous Tissue, Open Approach"),
};

QFont listFont()
{
    QFont font(QStringLiteral("Tahoma"));
    font.setPointSizeF(8.25);
    font.setBold(true);
    return font;
}

void fillWithEvents(ResultList &list, const QStringList &rows)
{
    for (const QString &row : rows) {
        list.addItem(row);
        QCoreApplication::processEvents();
    }
}

} // namespace

class ResultListTest : public QObject {
    Q_OBJECT
private slots:
    void rowsMeasureAsTheStyleDoes()
    {
        QListWidget list;
        list.setFont(listFont());
        list.addItems(sampleRows);
        QStyledItemDelegate style;
        TextRowDelegate words;
        QStyleOptionViewItem option;
        option.initFrom(&list);
        option.font = list.font();
        option.fontMetrics = QFontMetrics(option.font);
        // Twice over: the second pass measures every row with what the first learnt.
        for (int pass = 0; pass < 2; ++pass) {
            for (int row = 0; row < list.count(); ++row) {
                const QModelIndex index = list.model()->index(row, 0);
                QCOMPARE(words.sizeHint(option, index), style.sizeHint(option, index));
            }
        }
        // Another font is measured afresh.
        option.font.setPointSizeF(14);
        option.fontMetrics = QFontMetrics(option.font);
        for (int row = list.count() - 1; row >= 0; --row) {
            const QModelIndex index = list.model()->index(row, 0);
            QCOMPARE(words.sizeHint(option, index), style.sizeHint(option, index));
        }
    }

    void filledWhileHiddenLaysOutLikeAFilledListInView()
    {
        QWidget window;
        window.resize(400, 300);
        auto *hidden = new ResultList(&window);
        auto *reference = new QListWidget(&window);
        for (QAbstractItemView *view : {static_cast<QAbstractItemView *>(hidden), static_cast<QAbstractItemView *>(reference)}) {
            view->setFont(listFont());
            view->setGeometry(0, 0, 300, 120);
        }
        hidden->setItemDelegate(new TextRowDelegate(hidden));
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));

        QStringList rows;
        for (int i = 0; i < 300; ++i)
            rows << sampleRows.at(i % 3) + QStringLiteral(" %1").arg(i);
        // A first filling is laid out, then replaced while hidden.
        fillWithEvents(*hidden, rows.mid(0, 10));
        hidden->hide();
        hidden->clear();
        QCoreApplication::processEvents();
        fillWithEvents(*hidden, rows);
        hidden->show();
        reference->addItems(rows);
        QCoreApplication::processEvents();

        QCOMPARE(hidden->count(), rows.size());
        for (int row : {0, 1, 150, 299})
            QCOMPARE(hidden->visualRect(hidden->model()->index(row, 0)),
                     reference->visualItemRect(reference->item(row)));
        QCOMPARE(hidden->verticalScrollBar()->maximum(), reference->verticalScrollBar()->maximum());
        QCOMPARE(hidden->horizontalScrollBar()->maximum(), reference->horizontalScrollBar()->maximum());
        QVERIFY(hidden->horizontalScrollBar()->maximum() > 0);

        // Rows added in view are placed at once.
        hidden->addItem(sampleRows.at(0));
        reference->addItem(sampleRows.at(0));
        QCoreApplication::processEvents();
        QCOMPARE(hidden->visualRect(hidden->model()->index(300, 0)), reference->visualItemRect(reference->item(300)));
    }

    void listBoxOperations()
    {
        ResultList list;
        QSignalSpy selection(&list, &ResultList::itemSelectionChanged);
        QCOMPARE(list.currentRow(), -1);
        QVERIFY(!list.hasSelection());
        list.addItem(QStringLiteral("one"));
        list.addItem(QStringLiteral("two"));
        QCOMPARE(list.count(), 2);
        QCOMPARE(list.text(1), QStringLiteral("two"));
        QCOMPARE(list.text(2), QString());
        QCOMPARE(list.text(-1), QString());

        list.setCurrentRow(1);
        QCOMPARE(list.currentRow(), 1);
        QVERIFY(list.hasSelection());
        QCOMPARE(selection.count(), 1);
        list.setCurrentRow(0);
        QCOMPARE(list.selectionModel()->selectedRows().size(), 1);
        QCOMPARE(list.selectionModel()->selectedRows().first().row(), 0);

        list.clear();
        QCOMPARE(list.count(), 0);
        QCOMPARE(list.currentRow(), -1);
        QVERIFY(!list.hasSelection());
        list.setCurrentRow(5);
        QCOMPARE(list.currentRow(), -1);
        // Rows hold text only; nothing can be edited, checked or dragged.
        list.addItem(QStringLiteral("three"));
        const QModelIndex row = list.model()->index(0, 0);
        QCOMPARE(list.model()->flags(row), Qt::ItemIsSelectable | Qt::ItemIsEnabled);
        QVERIFY(!list.model()->data(row, Qt::CheckStateRole).isValid());
        QVERIFY(!list.model()->data(list.model()->index(1, 0)).isValid());
    }
};

QTEST_MAIN(ResultListTest)
#include "tst_result_list.moc"
