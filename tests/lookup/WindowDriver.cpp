#include "WindowDriver.h"

#include "lookup/AdvancedPanel.h"
#include "lookup/DetailsGrid.h"
#include "lookup/DuplicatesPanel.h"
#include "platform/grid/Grid.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QtTest>

lookup::UserPrompts RecordedPrompts::seam()
{
    lookup::UserPrompts seam;
    seam.confirm = [this](QWidget *, const QString &title, const QString &prompt) {
        questions.append({title, prompt});
        return answer;
    };
    seam.tell = [this](QWidget *, QMessageBox::Icon icon, const QString &title, const QString &text) {
        messages.append({icon, title, text});
    };
    return seam;
}

namespace {
const QEvent::Type Tick = QEvent::Type(QEvent::User + 17);
}

DuringReading::DuringReading(int pass, std::function<void()> action)
    : passesLeft_(pass), action_(std::move(action))
{
    QCoreApplication::postEvent(this, new QEvent(Tick));
}

void DuringReading::customEvent(QEvent *event)
{
    if (event->type() != Tick || ran_)
        return;
    if (--passesLeft_ > 0) {
        QCoreApplication::postEvent(this, new QEvent(Tick));
        return;
    }
    ran_ = true;
    action_();
}

WindowDriver::WindowDriver() : prompts_(std::make_shared<RecordedPrompts>()), window_(new lookup::frmProcedures)
{
    window_->setPrompts(prompts_->seam());
    window_->resize(window_->minimumSize());
    window_->show();
    if (!QTest::qWaitForWindowExposed(window_))
        qWarning("the search window was not exposed");
}

WindowDriver::~WindowDriver()
{
    delete window_.data();
}

void WindowDriver::activate()
{
    window_->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(window_));
}

void WindowDriver::press(QWidget *target, Qt::Key key, Qt::KeyboardModifiers modifiers)
{
    QTest::keyClick(target, key, modifiers);
    settle();
}

void WindowDriver::click(QAbstractButton *button)
{
    // click() rather than a synthetic mouse click: a test may close the window
    // while the handler runs, and the button guards itself against that.
    button->click();
}

void WindowDriver::search(const QString &text)
{
    window_->txtSearch()->setText(text);
    click(window_->cmdSearch());
}

void WindowDriver::typeAndRelease(const QString &text, Qt::Key key, Qt::KeyboardModifiers modifiers)
{
    window_->txtSearch()->setText(text);
    // A whole keystroke: only an Enter that went down in the search box counts.
    QTest::keyPress(window_->txtSearch(), key, modifiers);
    QTest::keyRelease(window_->txtSearch(), key, modifiers);
}

void WindowDriver::clickResult(int row)
{
    lookup::ResultList *list = window_->lstSearch();
    const QRect item = list->visualRect(list->model()->index(row, 0));
    QTest::mouseClick(list->viewport(), Qt::LeftButton, Qt::NoModifier, item.center());
    settle();
}

void WindowDriver::settle()
{
    QCoreApplication::sendPostedEvents(nullptr, QEvent::MetaCall);
}

void WindowDriver::doubleClickDuplicate(int row)
{
    QListWidget *list = window_->picDuplicates()->lstDuplicates();
    const QPoint at = list->visualItemRect(list->item(row)).center();
    QTest::mouseClick(list->viewport(), Qt::LeftButton, Qt::NoModifier, at);
    QTest::mouseDClick(list->viewport(), Qt::LeftButton, Qt::NoModifier, at);
    settle();
}

void WindowDriver::openAdvanced()
{
    click(window_->Command1());
}

void WindowDriver::tick(int row, const QString &text)
{
    window_->picAdvanced()->chkParam(row)->setChecked(true);
    window_->picAdvanced()->txtParam(row)->setText(text);
}

void WindowDriver::find()
{
    click(window_->picAdvanced()->cmdAdvancedSearch());
}

QStringList WindowDriver::items(const QListWidget *list)
{
    QStringList texts;
    for (int i = 0; i < list->count(); ++i)
        texts << list->item(i)->text();
    return texts;
}

QStringList WindowDriver::items(const lookup::ResultList *list)
{
    QStringList texts;
    for (int i = 0; i < list->count(); ++i)
        texts << list->text(i);
    return texts;
}

QStringList WindowDriver::results() const
{
    return items(window_->lstSearch());
}

QStringList WindowDriver::resultIds() const
{
    return items(window_->lstSearchID());
}

QStringList WindowDriver::duplicates() const
{
    return items(window_->picDuplicates()->lstDuplicates());
}

QString WindowDriver::gridValue(int row) const
{
    return window_->vbalGrid()->cellText(row, lookup::ValueColumn);
}

QStringList WindowDriver::gridValues() const
{
    QStringList values;
    for (int n = 1; n <= lookup::DetailsRowCount; ++n)
        values << gridValue(n);
    return values;
}
