#include "lookup/DuplicatesPanel.h"

#include "lookup/FormLayout.h"

#include <QLabel>
#include <QListWidget>

namespace lookup {

DuplicatesPanel::DuplicatesPanel(QWidget *parent)
    : QFrame(parent), lblDuplicates_(form::caption(this, QString(), form::tahoma(11.25), 360, 240, 10095, 855)),
      lstDuplicates_(new QListWidget(this)), lstDuplicatesID_(new QListWidget(this)),
      lstDuplicatesCode_(new QListWidget(this))
{
    setObjectName(QStringLiteral("picDuplicates"));
    setFrameShape(QFrame::StyledPanel);
    setAutoFillBackground(true);
    form::place(this, 120, 1800, 10815, 5055);

    lblDuplicates_->setWordWrap(true);
    form::place(lstDuplicates_, 360, 1320, 10095, 3375);
    lstDuplicatesID_->hide();
    lstDuplicatesCode_->hide();
    hide();
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
