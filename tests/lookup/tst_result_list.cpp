// The result list: rows measured by words must match the style's own
// measure, a list filled while hidden must lay out like one filled in view, its view
// hears of rows kept back exactly once, and the list-box operations the window
// relies on.

#include "lookup/ResultList.h"
#include "lookup/TextRowDelegate.h"

#include <QAbstractItemModelTester>
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
        ResultList list;
        list.setFont(listFont());
        for (const QString &row : sampleRows)
            list.addItem(row);
        QStyledItemDelegate style;
        TextRowDelegate words;
        QStyleOptionViewItem option;
        option.initFrom(&list);
        option.font = list.font();
        option.fontMetrics = QFontMetrics(option.font);
        // Twice over: the second pass measures every row with what the first
        // learnt; then another font, measured afresh.
        for (int pass = 0; pass < 3; ++pass) {
            if (pass == 2) {
                option.font.setPointSizeF(14);
                option.fontMetrics = QFontMetrics(option.font);
            }
            for (int row = 0; row < list.count(); ++row) {
                const QModelIndex index = list.model()->index(row, 0);
                QCOMPARE(words.sizeHint(option, index), style.sizeHint(option, index));
            }
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

    void hiddenListKeepsRowsBackUntilTheFillingEnds()
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
        QAbstractItemModelTester tester(hidden->model(), QAbstractItemModelTester::FailureReportingMode::QtTest);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        fillWithEvents(*hidden, sampleRows.mid(0, 4));
        hidden->setCurrentRow(2);
        hidden->hide();

        QSignalSpy inserted(hidden->model(), &QAbstractItemModel::rowsInserted);
        QStringList rows;
        for (int i = 0; i < 300; ++i)
            rows << sampleRows.at(i % 3) + QStringLiteral(" %1").arg(i);
        hidden->clear();
        hidden->beginFilling();
        for (int i = 0; i < rows.size(); ++i) {
            hidden->addItem(rows[i]);
            QCOMPARE(hidden->count(), i + 1);
            QCOMPARE(hidden->text(i), rows[i]);
            QCoreApplication::processEvents();
        }
        QCOMPARE(inserted.count(), 0);
        hidden->endFilling();
        QCOMPARE(inserted.count(), 1);
        QCOMPARE(inserted.first().at(1).toInt(), 0);
        QCOMPARE(inserted.first().at(2).toInt(), 299);
        QCOMPARE(hidden->model()->rowCount(), 300);
        hidden->endFilling(); // nothing more to tell
        QCOMPARE(inserted.count(), 1);

        hidden->show();
        reference->addItems(rows);
        QCoreApplication::processEvents();
        for (int row : {0, 1, 150, 299})
            QCOMPARE(hidden->visualRect(hidden->model()->index(row, 0)),
                     reference->visualItemRect(reference->item(row)));
        QCOMPARE(hidden->verticalScrollBar()->maximum(), reference->verticalScrollBar()->maximum());
        QCOMPARE(hidden->horizontalScrollBar()->maximum(), reference->horizontalScrollBar()->maximum());
    }

    void rowsKeptBackReachTheViewWhenItNeedsThem()
    {
        QWidget window;
        auto *list = new ResultList(&window);
        QAbstractItemModelTester tester(list->model(), QAbstractItemModelTester::FailureReportingMode::QtTest);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        QSignalSpy inserted(list->model(), &QAbstractItemModel::rowsInserted);

        // A list in view is told of every row as it comes.
        list->beginFilling();
        list->addItem(QStringLiteral("one"));
        list->addItem(QStringLiteral("two"));
        QCOMPARE(inserted.count(), 2);
        list->endFilling();
        QCOMPARE(inserted.count(), 2);

        // Shown during the filling, it takes what it holds and then each row.
        list->hide();
        list->beginFilling();
        list->addItem(QStringLiteral("three"));
        list->addItem(QStringLiteral("four"));
        QCOMPARE(inserted.count(), 2);
        list->show();
        QCOMPARE(inserted.count(), 3);
        QCOMPARE(list->model()->rowCount(), 4);
        list->addItem(QStringLiteral("five"));
        QCOMPARE(inserted.count(), 4);
        list->endFilling();
        QCOMPARE(inserted.count(), 4);

        // Choosing a row that the view has not heard of yet.
        list->hide();
        list->beginFilling();
        list->addItem(QStringLiteral("six"));
        list->setCurrentRow(5);
        QCOMPARE(list->currentRow(), 5);
        QCOMPARE(list->model()->rowCount(), 6);
        list->addItem(QStringLiteral("seven"));
        list->endFilling();
        QCOMPARE(list->model()->rowCount(), 7);
        QCOMPARE(list->count(), 7);
        QCOMPARE(list->model()->data(list->model()->index(6, 0)).toString(), QStringLiteral("seven"));

        // A list cleared while it keeps rows back starts empty for its view too.
        list->beginFilling();
        list->addItem(QStringLiteral("eight"));
        list->clear();
        QCOMPARE(list->count(), 0);
        list->addItem(QStringLiteral("nine"));
        list->endFilling();
        QCOMPARE(list->model()->rowCount(), 1);
        QCOMPARE(list->text(0), QStringLiteral("nine"));
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

        // Every script, and characters beyond the first plane, come back as added.
        for (const QString &text : sampleRows + QStringList{QStringLiteral("clef \U0001D11E, emoji \U0001F600")})
            list.addItem(text);
        for (qsizetype i = 0; i <= sampleRows.size(); ++i)
            QCOMPARE(list.model()->data(list.model()->index(int(i) + 1, 0)).toString(),
                     i < sampleRows.size() ? sampleRows[i] : QStringLiteral("clef \U0001D11E, emoji \U0001F600"));
    }
};

QTEST_MAIN(ResultListTest)
#include "tst_result_list.moc"
