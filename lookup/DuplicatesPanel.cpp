#include "lookup/DuplicatesPanel.h"

#include "lookup/FormLayout.h"
#include "platform/AccessibleHiding.h"
#include "platform/AnnouncingLabel.h"

#include <QLabel>
#include <QListWidget>
#include <QResizeEvent>

namespace lookup {

DuplicatesPanel::DuplicatesPanel(QWidget *parent)
    : QFrame(parent), lblDuplicates_(form::caption(new platform::AnnouncingLabel(this), form::tahoma(11.25))),
      lstDuplicates_(new QListWidget(this)), lstDuplicatesID_(new QListWidget(this)),
      lstDuplicatesCode_(new QListWidget(this))
{
    // Marked before anything can ask for the panel's interface.
    for (QListWidget *twin : {lstDuplicatesID_, lstDuplicatesCode_})
        platform::hideFromAssistiveTechnology(twin);
    setObjectName(QStringLiteral("picDuplicates"));
    setAccessibleName(QStringLiteral("Choose an ICD-9 code"));
    setFrameShape(QFrame::StyledPanel);
    setAutoFillBackground(true);
    form::place(this, 120, 1800, 10815, 5055);

    // The instruction is a notification: a reader speaks it whenever the
    // alternatives appear, wherever the focus goes then.
    lblDuplicates_->setWordWrap(true);
    nameAlternativesOf(QString());
    for (QListWidget *twin : {lstDuplicatesID_, lstDuplicatesCode_}) {
        twin->hide();
        twin->setFocusPolicy(Qt::NoFocus);
    }
    relayout();
    hide();
}

void DuplicatesPanel::resizeEvent(QResizeEvent *event)
{
    QFrame::resizeEvent(event);
    relayout();
}

void DuplicatesPanel::relayout()
{
    const QSize extra = form::extraSize(this, 10815, 5055);
    form::place(lblDuplicates_, 360, 240, 10095, 855, form::Growth{0, 0, extra.width()});
    form::place(lstDuplicates_, 360, 1320, 10095, 3375, form::Growth{0, 0, extra.width(), extra.height()});
}

void DuplicatesPanel::nameAlternativesOf(const QString &procedure)
{
    const QString name = QStringLiteral("ICD-9 alternatives");
    lstDuplicates_->setAccessibleName(procedure.isEmpty() ? name : name + QStringLiteral(" for ") + procedure);
}

void DuplicatesPanel::clear()
{
    lstDuplicates_->clear();
    lstDuplicatesID_->clear();
    lstDuplicatesCode_->clear();
}

void DuplicatesPanel::add(const QString &code, const QString &id, const QString &icd9Code,
                          const QString &icd9Description)
{
    lstDuplicates_->addItem(code + QStringLiteral(" - ") + icd9Code + QStringLiteral(" - ") + icd9Description);
    lstDuplicatesID_->addItem(id);
    lstDuplicatesCode_->addItem(icd9Code);
}

} // namespace lookup
