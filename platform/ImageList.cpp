#include "ImageList.h"

#include "AppError.h"

namespace platform {

ImageList ImageList::fromFiles(const QStringList &paths)
{
    ImageList list;
    for (const QString &path : paths) {
        QPixmap picture(path);
        if (picture.isNull())
            throw AppError(ErrNoSuchImage, QStringLiteral("vbalImageList"),
                           QStringLiteral("The picture %1 could not be loaded.").arg(path));
        list.add(picture);
    }
    return list;
}

const QPixmap &ImageList::picture(int position) const
{
    if (position < 1 || position > count())
        throw AppError(ErrNoSuchImage, QStringLiteral("vbalImageList"),
                       QStringLiteral("Element not found: the image list holds %1 pictures, not position %2.")
                           .arg(count()).arg(position));
    return pictures_[position - 1];
}

} // namespace platform
