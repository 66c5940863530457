#include "lookup/WaitLook.h"

#include <QApplication>
#include <QWidget>

#include <utility>

namespace lookup {

namespace {

// The colours of a disabled widget in every state, so that it is drawn as
// one without being one.
QPalette disabledColours(QPalette palette)
{
    for (int role = 0; role < QPalette::NColorRoles; ++role) {
        const auto r = QPalette::ColorRole(role);
        if (r == QPalette::NoRole)
            continue;
        const QBrush disabled = palette.brush(QPalette::Disabled, r);
        palette.setBrush(QPalette::Active, r, disabled);
        palette.setBrush(QPalette::Inactive, r, disabled);
    }
    return palette;
}

} // namespace

WaitLook::WaitLook(QWidget *list, QWidget *details, QWidget *caption)
    : list_(list), details_(details), caption_(caption)
{
    timer_.setSingleShot(true);
    timer_.setInterval(Delay);
    connect(&timer_, &QTimer::timeout, this, &WaitLook::show);
    if (caption_)
        caption_->hide();
}

void WaitLook::arm()
{
    timer_.start();
}

void WaitLook::show()
{
    if (shown_)
        return;
    shown_ = true;
    if (list_) {
        listHadOwnPalette_ = list_->testAttribute(Qt::WA_SetPalette);
        listPalette_ = list_->palette();
        list_->setPalette(disabledColours(list_->palette()));
    }
    if (caption_)
        caption_->show();
    // Hiding the control that has the focus would send it elsewhere.
    const QWidget *focus = QApplication::focusWidget();
    if (details_ && focus != details_ && !details_->isAncestorOf(focus))
        details_->hide();
}

void WaitLook::end()
{
    timer_.stop();
    if (!std::exchange(shown_, false))
        return;
    if (list_)
        list_->setPalette(listHadOwnPalette_ ? listPalette_ : QPalette());
    if (caption_)
        caption_->hide();
}

} // namespace lookup
