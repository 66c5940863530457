// What reaches a screen reader: changes to shown widgets and every showing and
// hiding; changes inside hidden panels stay behind; a control disabled and
// enabled again, or hidden and shown again, within a moment is no news, and
// of the focus only where it ends up.

#include "platform/AccessibleHiding.h"
#include "platform/AccessibleUpdates.h"
#include "platform/HeldStateChanges.h"

#include <QAccessible>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QScrollArea>
#include <QScrollBar>
#include <QTableWidget>
#include <QtTest>

using platform::HeldStateChanges;
using platform::reachesAssistiveTechnology;

namespace {

QAccessible::State disabledState()
{
    QAccessible::State disabled;
    disabled.disabled = true;
    return disabled;
}

// An event as a line: "show label", "hide box", "enabling box", "other box".
QString describe(QAccessibleEvent &event)
{
    const QString name = event.object()->objectName();
    if (event.type() == QAccessible::ObjectShow)
        return QStringLiteral("show ") + name;
    if (event.type() == QAccessible::ObjectHide)
        return QStringLiteral("hide ") + name;
    if (event.type() == QAccessible::StateChanged
        && static_cast<QAccessibleStateChangeEvent &>(event).changedStates() == disabledState())
        return QStringLiteral("enabling ") + name;
    if (event.type() == QAccessible::Focus)
        return QStringLiteral("focus ") + name;
    return QStringLiteral("other ") + name;
}

struct SentEvents {
    QStringList lines;
    HeldStateChanges::Forward recorder()
    {
        return [this](QAccessibleEvent &event) { lines << describe(event); };
    }
};

// What the program's own update handler lets through to the reader.
QStringList toReader;
void recordForReader(QAccessibleEvent &event)
{
    toReader << describe(event);
}

} // namespace

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

        const QAccessible::State disabled = disabledState();
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
        // A control hidden with its panel is told by the panel's hiding.
        QCOMPARE(reachesAssistiveTechnology(QAccessibleEvent(panel, QAccessible::ObjectShow)), true);
        QCOMPARE(reachesAssistiveTechnology(QAccessibleEvent(inPanel, QAccessible::ObjectHide)), false);
        QCOMPARE(reachesAssistiveTechnology(QAccessibleEvent(inPanel, QAccessible::Focus)), true);
        panel->show();
        QCOMPARE(reachesAssistiveTechnology(QAccessibleEvent(inPanel, QAccessible::ObjectHide)), true);
        QCOMPARE(reachesAssistiveTechnology(QAccessibleStateChangeEvent(inPanel, disabled)), true);
        QCOMPARE(reachesAssistiveTechnology(
                     QAccessibleTableModelChangeEvent(table, QAccessibleTableModelChangeEvent::DataChanged)),
                 true);
    }

    // A list made current elsewhere (a choice narrowed to one line) is no
    // focus, the one beside the text box that narrows it is: the reader
    // stays with the keyboard.
    void aListsFocusOnlyWithTheKeyboardNearby()
    {
        QWidget window;
        auto *typingHere = new QWidget(&window);
        auto *typing = new QLineEdit(typingHere);
        auto *narrowed = new QListWidget(typingHere);
        auto *elsewhere = new QListWidget(new QWidget(&window));
        window.show();
        typing->setFocus();
        QVERIFY(QTest::qWaitForWindowActive(&window));
        for (QListWidget *list : {narrowed, elsewhere}) {
            QAccessibleEvent item(list, QAccessible::Focus);
            item.setChild(0);
            QCOMPARE(reachesAssistiveTechnology(item), list == narrowed);
        }
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
        const QAccessible::State disabled = disabledState();
        QCOMPARE(reachesAssistiveTechnology(QAccessibleStateChangeEvent(list, disabled)), true);
        QCOMPARE(reachesAssistiveTechnology(QAccessibleStateChangeEvent(list->viewport(), disabled)), false);
        QCOMPARE(reachesAssistiveTechnology(QAccessibleEvent(list->viewport(), QAccessible::ObjectShow)), false);
        QCOMPARE(reachesAssistiveTechnology(QAccessibleEvent(list, QAccessible::ObjectShow)), true);
        QCOMPARE(reachesAssistiveTechnology(QAccessibleStateChangeEvent(area->viewport(), disabled)), false);
        QCOMPARE(reachesAssistiveTechnology(QAccessibleStateChangeEvent(inside, disabled)), true);
        // Nor are the list's scroll bars, which sit in a box of their own.
        QCOMPARE(reachesAssistiveTechnology(QAccessibleStateChangeEvent(list->verticalScrollBar(), disabled)),
                 false);
        // A list that only holds data beside a visible one is no reader's business.
        QCOMPARE(reachesAssistiveTechnology(QAccessibleStateChangeEvent(twin, disabled)), false);
    }

    void flickersAreHeldBackLastingChangesSentOnce()
    {
        QWidget window;
        auto *box = new QCheckBox(QStringLiteral("Box"), &window);
        box->setObjectName(QStringLiteral("box"));
        auto *label = new QLabel(QStringLiteral("Please wait"), &window);
        label->setObjectName(QStringLiteral("label"));
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        SentEvents sent;
        HeldStateChanges held(sent.recorder(), std::chrono::hours(1));
        const auto setEnabled = [&](QWidget *widget, bool enabled) {
            widget->setEnabled(enabled);
            return held.hold(QAccessibleStateChangeEvent(widget, disabledState()));
        };
        const auto setShown = [&](QWidget *widget, bool shown) {
            widget->setVisible(shown);
            return held.hold(QAccessibleEvent(widget, shown ? QAccessible::ObjectShow : QAccessible::ObjectHide));
        };

        // Disabled for a search and enabled after it; the wait label shown and hidden.
        QVERIFY(setEnabled(box, false));
        QVERIFY(setShown(label, false));
        QVERIFY(setShown(label, true));
        QVERIFY(setEnabled(box, true));
        QVERIFY(held.holdsAnything());
        held.flush();
        QCOMPARE(sent.lines, QStringList());
        QVERIFY(!held.holdsAnything());

        // What lasts is sent once, in the order it first happened.
        QVERIFY(setShown(label, false));
        QVERIFY(setEnabled(box, false));
        QVERIFY(setShown(label, true));
        QVERIFY(setShown(label, false));
        held.flush();
        QCOMPARE(sent.lines, (QStringList{QStringLiteral("hide label"), QStringLiteral("enabling box")}));
        sent.lines.clear();

        // A widget gone meanwhile is nobody's news.
        auto *gone = new QCheckBox(&window);
        QVERIFY(setEnabled(gone, false));
        delete gone;
        held.flush();
        QCOMPARE(sent.lines, QStringList());
    }

    // Only enabling and showing of widgets are held; everything else is the
    // caller's to send, after flushing what is held.
    void otherEventsAreNotHeld()
    {
        QWidget window;
        auto *box = new QCheckBox(QStringLiteral("Box"), &window);
        auto *list = new QListWidget(&window);
        list->addItem(QStringLiteral("one"));
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        SentEvents sent;
        HeldStateChanges held(sent.recorder(), std::chrono::hours(1));
        QAccessible::State checked;
        checked.checked = true;
        QVERIFY(!held.hold(QAccessibleStateChangeEvent(box, checked)));
        QVERIFY(!held.hold(QAccessibleEvent(box, QAccessible::NameChanged)));
        // A focus with nothing held: a Tab, in Qt's order with its item's.
        QVERIFY(!held.hold(QAccessibleEvent(box, QAccessible::Focus)));
        QObject plain;
        QVERIFY(!held.hold(QAccessibleEvent(&plain, QAccessible::ObjectShow)));
        // An item's change is the list's to tell.
        QAccessibleStateChangeEvent itemState(list, disabledState());
        itemState.setChild(0);
        QVERIFY(!held.hold(itemState));
        // So is the focus on an item, what an arrow key changes.
        QAccessibleEvent itemFocus(list, QAccessible::Focus);
        itemFocus.setChild(0);
        QVERIFY(!held.hold(itemFocus));
        QVERIFY(!held.holdsAnything());
    }

    // Switching child windows passes the focus through controls whose window
    // hides and shows again: the reader hears where it ends up, once, after
    // what changed.
    void onlyWhereTheFocusEndsUpIsSent()
    {
        QWidget window;
        auto *text = new QLineEdit(&window);
        text->setObjectName(QStringLiteral("text"));
        auto *button = new QCheckBox(QStringLiteral("Button"), &window);
        button->setObjectName(QStringLiteral("button"));
        auto *panel = new QLabel(QStringLiteral("Panel"), &window);
        panel->setObjectName(QStringLiteral("panel"));
        window.show();
        QVERIFY(QTest::qWaitForWindowActive(&window));
        SentEvents sent;
        HeldStateChanges held(sent.recorder(), std::chrono::hours(1));
        const auto focus = [&](QWidget *widget) {
            widget->setFocus();
            return held.hold(QAccessibleEvent(widget, QAccessible::Focus));
        };
        const auto setShown = [&](QWidget *widget, bool shown) {
            widget->setVisible(shown);
            return held.hold(QAccessibleEvent(widget, shown ? QAccessible::ObjectShow : QAccessible::ObjectHide));
        };

        QVERIFY(setShown(panel, false));
        QVERIFY(focus(text));
        QVERIFY(setShown(text, false));
        QVERIFY(focus(button));
        QVERIFY(setShown(text, true));
        QVERIFY(focus(text));
        held.flush();
        QCOMPARE(sent.lines, (QStringList{QStringLiteral("hide panel"), QStringLiteral("focus text")}));
        QVERIFY(!held.holdsAnything());
    }

    // The whole path as the program runs it: a search's flicker of the window
    // (disabled, the list hidden while filled, the wait label shown) never
    // reaches the reader; what lasts does, before the next other event. Qt
    // hands updates to the handler only while a reader is attached, so the
    // test hands them as Qt would: one for each widget whose state changed.
    void aSearchsFlickerStaysALastingChangeGoesOut()
    {
        platform::sendAccessibilityUpdatesOfShownWidgetsOnly(recordForReader);
        const QAccessible::UpdateHandler handler = QAccessible::installUpdateHandler(nullptr);
        QAccessible::installUpdateHandler(handler);
        QVERIFY(handler);
        const auto setEnabled = [handler](QWidget *widget, bool enabled) {
            widget->setEnabled(enabled);
            QList<QWidget *> changed = widget->findChildren<QWidget *>();
            changed.prepend(widget);
            for (QWidget *each : changed) {
                QAccessibleStateChangeEvent event(each, disabledState());
                handler(&event);
            }
        };
        const auto setShown = [handler](QWidget *widget, bool shown) {
            widget->setVisible(shown);
            QAccessibleEvent event(widget, shown ? QAccessible::ObjectShow : QAccessible::ObjectHide);
            handler(&event);
        };
        QWidget window;
        auto *list = new QListWidget(&window);
        list->setObjectName(QStringLiteral("list"));
        list->addItems(QStringList(50, QStringLiteral("row"))); // with a scroll bar
        auto *box = new QCheckBox(QStringLiteral("Box"), &window);
        box->setObjectName(QStringLiteral("box"));
        auto *wait = new QLabel(QStringLiteral("Please wait"), &window);
        wait->setObjectName(QStringLiteral("wait"));
        wait->hide();
        window.show();
        QVERIFY(QTest::qWaitForWindowActive(&window));
        QAccessibleEvent focusOnBox(box, QAccessible::Focus);
        QAccessibleEvent nameOfBox(box, QAccessible::NameChanged);

        setShown(list, false);
        setEnabled(&window, false);
        setShown(wait, true);
        setShown(list, true);
        setShown(wait, false);
        setEnabled(&window, true);
        box->setFocus(); // given back, as after a search
        handler(&focusOnBox);
        handler(&nameOfBox);
        QCOMPARE(toReader, (QStringList{QStringLiteral("focus box"), QStringLiteral("other box")}));
        toReader.clear();

        setEnabled(&window, false);
        QTRY_VERIFY(!toReader.isEmpty());
        toReader.sort();
        // The window and its shown controls; not the list's viewport or scroll bars.
        QCOMPARE(toReader, (QStringList{QStringLiteral("enabling "), QStringLiteral("enabling box"),
                                        QStringLiteral("enabling list")}));
        toReader.clear();
        setEnabled(&window, true);
        handler(&nameOfBox);
        QCOMPARE(toReader.size(), 4);
        QCOMPARE(toReader.last(), QStringLiteral("other box"));
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
