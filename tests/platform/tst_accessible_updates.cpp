// What reaches a screen reader: changes to shown widgets and every showing and
// hiding; changes inside hidden panels stay behind.

#include "platform/AccessibleHiding.h"
#include "platform/AccessibleUpdates.h"

#include <QAccessible>
#include <QCheckBox>
#include <QLabel>
#include <QListWidget>
#include <QScrollArea>
#include <QTableWidget>
#include <QtTest>

using platform::reachesAssistiveTechnology;

class AccessibleUpdatesTest : public QObject {
    Q_OBJECT

private slots:
    void changesOfShownWidgetsOnly()
    {
        QWidget window;
        auto *shown = new QCheckBox(QStringLiteral("Shown"), &window);
        auto *panel = new QWidget(&window);
        auto *inPanel = new QCheckBox(QStringLiteral("In a hidden panel"), panel);
        auto *table = new QTableWidget(2, 2, panel);
        panel->hide();
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        QVERIFY(inPanel->isVisibleTo(panel) && !inPanel->isVisible());

        QAccessible::State disabled;
        disabled.disabled = true;
        QCOMPARE(reachesAssistiveTechnology(QAccessibleStateChangeEvent(shown, disabled)), true);
        QCOMPARE(reachesAssistiveTechnology(QAccessibleStateChangeEvent(inPanel, disabled)), false);
        QCOMPARE(reachesAssistiveTechnology(QAccessibleStateChangeEvent(panel, disabled)), false);
        for (const QAccessible::Event change : {QAccessible::NameChanged, QAccessible::DescriptionChanged,
                                                QAccessible::ValueChanged, QAccessible::LocationChanged}) {
            QCOMPARE(reachesAssistiveTechnology(QAccessibleEvent(inPanel, change)), false);
            QCOMPARE(reachesAssistiveTechnology(QAccessibleEvent(shown, change)), true);
        }
        QCOMPARE(reachesAssistiveTechnology(
                     QAccessibleTableModelChangeEvent(table, QAccessibleTableModelChangeEvent::DataChanged)),
                 false);

        // Showing the panel is news, and from then on so are its changes.
        QCOMPARE(reachesAssistiveTechnology(QAccessibleEvent(panel, QAccessible::ObjectShow)), true);
        QCOMPARE(reachesAssistiveTechnology(QAccessibleEvent(inPanel, QAccessible::ObjectHide)), true);
        QCOMPARE(reachesAssistiveTechnology(QAccessibleEvent(inPanel, QAccessible::Focus)), true);
        panel->show();
        QCOMPARE(reachesAssistiveTechnology(QAccessibleStateChangeEvent(inPanel, disabled)), true);
        QCOMPARE(reachesAssistiveTechnology(
                     QAccessibleTableModelChangeEvent(table, QAccessibleTableModelChangeEvent::DataChanged)),
                 true);
    }

    // A list's viewport is drawn on but is no child a reader can reach; the
    // list itself is, and so is what a plain scroll area holds.
    void partsOfAScrollAreaStayBehind()
    {
        QWidget window;
        auto *list = new QListWidget(&window);
        list->addItems({QStringLiteral("one"), QStringLiteral("two")});
        auto *area = new QScrollArea(&window);
        auto *inside = new QCheckBox(QStringLiteral("Inside"));
        area->setWidget(inside);
        auto *twin = new QListWidget(&window);
        platform::hideFromAssistiveTechnology(twin);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        QAccessible::State disabled;
        disabled.disabled = true;
        QCOMPARE(reachesAssistiveTechnology(QAccessibleStateChangeEvent(list, disabled)), true);
        QCOMPARE(reachesAssistiveTechnology(QAccessibleStateChangeEvent(list->viewport(), disabled)), false);
        QCOMPARE(reachesAssistiveTechnology(QAccessibleEvent(list->viewport(), QAccessible::ObjectShow)), false);
        QCOMPARE(reachesAssistiveTechnology(QAccessibleEvent(list, QAccessible::ObjectShow)), true);
        QCOMPARE(reachesAssistiveTechnology(QAccessibleStateChangeEvent(area->viewport(), disabled)), false);
        QCOMPARE(reachesAssistiveTechnology(QAccessibleStateChangeEvent(inside, disabled)), true);
        // A list that only holds data beside a visible one is no reader's business.
        QCOMPARE(reachesAssistiveTechnology(QAccessibleStateChangeEvent(twin, disabled)), false);
    }

    void objectsThatAreNotWidgetsAlwaysReachIt()
    {
        QObject plain;
        QAccessible::State checked;
        checked.checked = true;
        QCOMPARE(reachesAssistiveTechnology(QAccessibleStateChangeEvent(&plain, checked)), true);
    }
};

QTEST_MAIN(AccessibleUpdatesTest)
#include "tst_accessible_updates.moc"
