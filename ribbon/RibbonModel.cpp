#include "ribbon/RibbonModel.h"

#include "platform/AppError.h"
#include "ribbon/ErrorSource.h"

namespace ribbon {

namespace {

// A full table refuses the entry before anything of it is stored, so the count
// never passes the capacity the layout relies on.
void requireRoom(int count, int capacity, const char *what)
{
    if (count >= capacity)
        throw platform::AppError(RibbonModel::ErrSubscriptOutOfRange, errorSource(),
                                 QStringLiteral("Subscript out of range: the ribbon holds at most %1 %2.")
                                     .arg(capacity)
                                     .arg(QLatin1String(what)));
}

} // namespace

QString singleLine(const QString &text)
{
    QString line = text;
    line.replace(QLatin1String("\r\n"), QLatin1String(" "));
    return line;
}

void RibbonModel::AddTab(const QString &zID, const QString &zCaption)
{
    requireRoom(tabCount_, MaxTabs, "tabs");
    TabEntry &entry = tabs_[std::size_t(tabCount_)];
    entry.id = zID;
    entry.caption = singleLine(zCaption);
    ++tabCount_;
    if (currentTab_.isEmpty())
        currentTab_ = zID;
}

void RibbonModel::AddCat(const QString &zID, const QString &zTab, const QString &zCaption, bool zDlgButton)
{
    requireRoom(catCount_, MaxCategories, "categories");
    CategoryEntry &entry = categories_[std::size_t(catCount_)];
    entry.id = zID;
    entry.tab = zTab;
    entry.caption = singleLine(zCaption);
    entry.dlgButton = zDlgButton;
    ++catCount_;
}

void RibbonModel::AddButton(const QString &zID, const QString &zSubCat, const QString &zCaption, qint16 zPicture,
                            bool zMore, const QString &zToolTip)
{
    requireRoom(butCount_, MaxButtons, "buttons");
    if (!imageList_)
        throw platform::AppError(RibbonModel::ErrObjectNotSet, errorSource(),
                                 QStringLiteral("Object variable not set: the ribbon has no image list for its buttons."));
    // Resolved before anything is stored, so a missing picture leaves no half entry.
    QPixmap picture = imageList_->picture(zPicture);

    ButtonEntry &entry = buttons_[std::size_t(butCount_)];
    entry.id = zID;
    entry.category = zSubCat;
    entry.caption = zCaption;
    entry.toolTip = singleLine(zToolTip.isEmpty() ? zCaption : zToolTip);
    entry.picture = picture;
    entry.more = zMore;
    ++butCount_;
}

} // namespace ribbon
