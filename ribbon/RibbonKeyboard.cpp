#include "ribbon/RibbonKeyboard.h"

#include "ribbon/RibbonAccessibility.h"
#include "ribbon/RibbonParts.h"
#include "ribbon/TabStripLayout.h"
#include "ribbon/TelvarRibbon.h"

#include <QApplication>
#include <QKeyEvent>
#include <QPainter>

#include <algorithm>
#include <utility>

namespace ribbon {

namespace {

// A dotted outline around the stop the keyboard is on, in the ribbon's text
// colour, over whatever the ribbon drew there.
class FocusMark : public QWidget {
public:
    explicit FocusMark(QWidget *ribbon) : QWidget(ribbon)
    {
        setObjectName(QStringLiteral("RibbonFocusMark"));
        setAttribute(Qt::WA_TransparentForMouseEvents);
        setAttribute(Qt::WA_NoSystemBackground);
        setFocusPolicy(Qt::NoFocus);
        hide();
    }

protected:
    void paintEvent(QPaintEvent *) override
    {
        QPainter painter(this);
        painter.setPen(QPen(parentWidget()->palette().color(QPalette::WindowText), 1, Qt::DotLine));
        painter.drawRect(rect().adjusted(1, 1, -2, -2));
    }
};

bool isInside(const QWidget *outer, const QObject *object)
{
    const auto *w = qobject_cast<const QWidget *>(object);
    return w && (w == outer || outer->isAncestorOf(w));
}

// The tabs and buttons: what the keyboard stops at.
std::vector<ShownPart> keyStops(const RibbonParts &parts, const RibbonModel &model)
{
    std::vector<ShownPart> stops = shownParts(parts, model);
    std::erase_if(stops, [](const ShownPart &part) { return part.kind == ShownPart::Kind::Category; });
    return stops;
}

} // namespace

std::vector<ShownPart> shownParts(const RibbonParts &parts, const RibbonModel &model)
{
    std::vector<ShownPart> shown;
    for (int i = 0; i < model.TabCount(); ++i)
        shown.push_back({ShownPart::Kind::Tab, i, model.tab(i).caption});
    for (int category = 0; category <= parts.CatMouse.UBound(); ++category) {
        const RibbonLabel *caption = parts.Cat_Caption(category);
        if (!caption || !caption->Visible())
            continue;
        shown.push_back({ShownPart::Kind::Category, category, caption->Caption()});
        for (int b = 1; b <= parts.ButMouse.UBound(); ++b) {
            const RibbonImage *center = parts.Button_center(b);
            const RibbonLabel *buttonCaption = parts.Button_Caption(b);
            if (center && buttonCaption && parts.ButMouse(b) && parts.ButMouse(b)->Visible()
                && center->Tag().toInt() == category)
                shown.push_back({ShownPart::Kind::Button, b, singleLine(buttonCaption->Caption())});
        }
    }
    return shown;
}

RibbonElement *elementOf(const RibbonParts &parts, const ShownPart &part)
{
    switch (part.kind) {
    case ShownPart::Kind::Tab:
        return parts.TabMouse(part.slot);
    case ShownPart::Kind::Category:
        return parts.CatMouse(part.slot);
    case ShownPart::Kind::Button:
        break;
    }
    return parts.ButMouse(part.slot);
}

RibbonKeyboard::RibbonKeyboard(TelvarRibbon *ribbon) : QObject(ribbon), ribbon_(ribbon), mark_(new FocusMark(ribbon))
{
    // One filter for the whole program: keys for the ribbon and F10 in its
    // window alike, each seen once.
    QCoreApplication::instance()->installEventFilter(this);
}

RibbonKeyboard::~RibbonKeyboard()
{
    QCoreApplication::instance()->removeEventFilter(this);
}

std::optional<ShownPart> RibbonKeyboard::current() const
{
    const std::vector<ShownPart> stops = keyStops(ribbon_->parts(), ribbon_->model());
    if (!ribbon_->hasFocus() || stops.empty())
        return std::nullopt;
    return stops[std::size_t(std::clamp(index_, 0, int(stops.size()) - 1))];
}

void RibbonKeyboard::enter()
{
    if (ribbon_->hasFocus())
        return;
    QWidget *focus = QApplication::focusWidget();
    returnTo_ = focus && !isInside(ribbon_, focus) ? focus : nullptr;
    // The selected tab first, as the mouse would find it.
    index_ = std::max(0, selectedTabIndex(ribbon_->model()));
    ribbon_->setFocus(Qt::ShortcutFocusReason);
}

void RibbonKeyboard::leave()
{
    if (!ribbon_->hasFocus())
        return;
    if (returnTo_ && returnTo_->isVisible() && returnTo_->isEnabled()) {
        returnTo_->setFocus(Qt::ShortcutFocusReason);
        return;
    }
    // Where the focus came from is gone: the first control after the ribbon.
    for (QWidget *next = ribbon_->nextInFocusChain(); next && next != ribbon_; next = next->nextInFocusChain()) {
        if (!isInside(ribbon_, next) && next->isVisible() && next->isEnabled() && (next->focusPolicy() & Qt::TabFocus)) {
            next->setFocus(Qt::ShortcutFocusReason);
            return;
        }
    }
    ribbon_->clearFocus();
}

bool RibbonKeyboard::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == ribbon_) {
        switch (event->type()) {
        case QEvent::FocusIn:
            // After Qt has told a reader of the ribbon's own focus, so that
            // the tab or button is what it speaks last.
            QMetaObject::invokeMethod(
                this, [this] {
                    if (ribbon_->hasFocus())
                        moveTo(index_);
                },
                Qt::QueuedConnection);
            break;
        case QEvent::FocusOut:
            mark_->hide();
            break;
        case QEvent::KeyPress: {
            const auto *key = static_cast<QKeyEvent *>(event);
            if (handleRibbonKey(key->key(), key->modifiers()))
                return true;
            break;
        }
        default:
            break;
        }
    }
    return handleWindowKey(watched, event);
}

bool RibbonKeyboard::handleWindowKey(QObject *watched, QEvent *event)
{
    const QEvent::Type type = event->type();
    if (type == QEvent::MouseButtonPress) {
        altAlone_ = false;
        return false;
    }
    if (type != QEvent::KeyPress && type != QEvent::KeyRelease)
        return false;
    // Keys reach the focus widget after its window; only the widget counts.
    const auto *target = qobject_cast<QWidget *>(watched);
    if (!target || target->window() != ribbon_->window() || !ribbon_->isVisible())
        return false;
    const auto *key = static_cast<QKeyEvent *>(event);
    if (type == QEvent::KeyPress) {
        altAlone_ = key->key() == Qt::Key_Alt && !key->isAutoRepeat() ? true : key->key() == Qt::Key_Alt && altAlone_;
        const bool toggles = (key->key() == Qt::Key_F10 || key->key() == Qt::Key_F6)
                             && (key->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier;
        if (!toggles)
            return false;
    } else {
        if (key->key() != Qt::Key_Alt || key->isAutoRepeat() || !std::exchange(altAlone_, false))
            return false;
    }
    if (ribbon_->hasFocus())
        leave();
    else
        enter();
    return true;
}

bool RibbonKeyboard::handleRibbonKey(int key, Qt::KeyboardModifiers modifiers)
{
    const int count = int(keyStops(ribbon_->parts(), ribbon_->model()).size());
    if (count == 0)
        return false;
    switch (key) {
    case Qt::Key_Tab:
        if (modifiers & Qt::ShiftModifier)
            moveTo((index_ + count - 1) % count);
        else
            moveTo((index_ + 1) % count);
        return true;
    case Qt::Key_Backtab:
    case Qt::Key_Left:
    case Qt::Key_Up:
        moveTo((index_ + count - 1) % count);
        return true;
    case Qt::Key_Right:
    case Qt::Key_Down:
        moveTo((index_ + 1) % count);
        return true;
    case Qt::Key_Home:
        moveTo(0);
        return true;
    case Qt::Key_End:
        moveTo(count - 1);
        return true;
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Space:
        press();
        return true;
    case Qt::Key_Escape:
        leave();
        return true;
    default:
        return false;
    }
}

void RibbonKeyboard::moveTo(int index)
{
    const std::vector<ShownPart> stops = keyStops(ribbon_->parts(), ribbon_->model());
    if (stops.empty())
        return;
    index_ = std::clamp(index, 0, int(stops.size()) - 1);
    placeMark();
    announceKeyboardStop(ribbon_);
}

void RibbonKeyboard::placeMark()
{
    const std::optional<ShownPart> stop = current();
    RibbonElement *element = stop ? elementOf(ribbon_->parts(), *stop) : nullptr;
    if (!element) {
        mark_->hide();
        return;
    }
    mark_->setGeometry(QRect(element->mapTo(ribbon_, QPoint(0, 0)), element->size()));
    mark_->show();
    mark_->raise();
}

void RibbonKeyboard::press()
{
    const std::optional<ShownPart> stop = current();
    RibbonElement *element = stop ? elementOf(ribbon_->parts(), *stop) : nullptr;
    if (!element)
        return;
    // Exactly what a click does. The host may close the window or end the
    // program in its handler: nothing of the ribbon is touched after it,
    // except a tab's mark, which its new layout may have moved.
    if (stop->kind == ShownPart::Kind::Tab) {
        const QPointer<RibbonKeyboard> alive(this);
        emit element->Click();
        if (alive)
            placeMark();
        return;
    }
    emit element->Click();
}

} // namespace ribbon
