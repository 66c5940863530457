// The ribbon as a screen reader finds it: a tab list with its tab, one group
// per category named by its caption, push buttons whose press action clicks.

#include "RibbonTestSupport.h"
#include "platform/AccessibleHiding.h"

#include <QAccessible>
#include <QSignalSpy>
#include <QtTest>

namespace {

QAccessibleInterface *childNamed(QAccessibleInterface *parent, const QString &name)
{
    for (int i = 0; i < parent->childCount(); ++i) {
        QAccessibleInterface *child = parent->child(i);
        if (child && child->text(QAccessible::Name) == name)
            return child;
    }
    return nullptr;
}

} // namespace

class RibbonAccessibilityTest : public QObject {
    Q_OBJECT

private slots:
    void tabsCategoriesAndButtonsHaveRolesAndNames()
    {
        TelvarRibbon ribbon;
        // The windows' interface for plain containers, asked before the
        // ribbon's own, must leave the ribbon to it.
        QWidget container;
        platform::hideFromAssistiveTechnology(new QWidget(&container));
        ribbontest::fillLikeFrame(ribbon);
        ribbon.Refresh();
        ribbon.resize(744, ribbon.height());
        ribbon.show();
        QVERIFY(QTest::qWaitForWindowExposed(&ribbon));

        QAccessibleInterface *bar = QAccessible::queryAccessibleInterface(&ribbon);
        QVERIFY(bar);
        QCOMPARE(bar->role(), QAccessible::ToolBar);
        // Not the dozens of pictures and labels it is drawn from.
        QCOMPARE(bar->childCount(), 4);

        QAccessibleInterface *tabs = bar->child(0);
        QCOMPARE(tabs->role(), QAccessible::PageTabList);
        QCOMPARE(tabs->childCount(), 1);
        QAccessibleInterface *tab = tabs->child(0);
        QCOMPARE(tab->role(), QAccessible::PageTab);
        QCOMPARE(tab->text(QAccessible::Name), QStringLiteral("Procedures"));
        QVERIFY(tab->state().selected);
        QCOMPARE(tab->parent(), tabs);

        const QStringList categories{QStringLiteral("Procedures"), QStringLiteral("About"), QStringLiteral("Exit")};
        const QStringList buttons{QStringLiteral("Show Procedures"), QStringLiteral("About"), QStringLiteral("Exit")};
        for (int i = 0; i < 3; ++i) {
            QAccessibleInterface *group = bar->child(i + 1);
            QCOMPARE(group->role(), QAccessible::Grouping);
            QCOMPARE(group->text(QAccessible::Name), categories[i]);
            QCOMPARE(group->childCount(), 1);
            QCOMPARE(bar->indexOfChild(group), i + 1);
            QAccessibleInterface *button = group->child(0);
            QCOMPARE(button->role(), QAccessible::Button);
            QCOMPARE(button->text(QAccessible::Name), buttons[i]);
            QVERIFY(!button->state().invisible);
            QVERIFY(group->rect().contains(button->rect().center()));
            QVERIFY(ribbon.rect().translated(ribbon.mapToGlobal(QPoint())).contains(button->rect()));
            QCOMPARE(bar->childAt(button->rect().center().x(), button->rect().center().y()), group);
            QVERIFY(button->actionInterface());
            QCOMPARE(button->actionInterface()->actionNames(), QStringList{QAccessibleActionInterface::pressAction()});
        }
    }

    void pressActionClicksLikeTheMouse()
    {
        TelvarRibbon ribbon;
        ribbontest::fillLikeFrame(ribbon);
        ribbon.Refresh();
        ribbon.show();
        QSignalSpy clicks(&ribbon, &TelvarRibbon::ButtonClick);
        QAccessibleInterface *bar = QAccessible::queryAccessibleInterface(&ribbon);
        QAccessibleInterface *about = childNamed(childNamed(bar, QStringLiteral("About")), QStringLiteral("About"));
        QVERIFY(about);
        about->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
        // Run from the event loop, as a click is, not inside the caller.
        QCOMPARE(clicks.size(), 0);
        QVERIFY(clicks.wait(1000));
        QCOMPARE(clicks.size(), 1);
        QCOMPARE(clicks.at(0).at(0).toString(), QStringLiteral("2"));
        QCOMPARE(clicks.at(0).at(1).toString(), QStringLiteral("About"));

        QSignalSpy tabClicks(&ribbon, &TelvarRibbon::TabClick);
        childNamed(bar, QStringLiteral("Tabs"))->child(0)->actionInterface()->doAction(
            QAccessibleActionInterface::pressAction());
        QVERIFY(tabClicks.wait(1000));
        QCOMPARE(tabClicks.at(0).at(0).toString(), QStringLiteral("1"));
    }

    void aRibbonDestroyedBeforeAQueuedPressIsNoCrash()
    {
        auto *ribbon = new TelvarRibbon;
        ribbontest::fillLikeFrame(*ribbon);
        ribbon->Refresh();
        QAccessibleInterface *bar = QAccessible::queryAccessibleInterface(ribbon);
        QAccessibleInterface *exit = childNamed(childNamed(bar, QStringLiteral("Exit")), QStringLiteral("Exit"));
        exit->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
        delete ribbon;
        QCoreApplication::processEvents();
    }
};

QTEST_MAIN(RibbonAccessibilityTest)
#include "tst_ribbon_accessibility.moc"
