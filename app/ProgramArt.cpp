#include "ProgramArt.h"

#include <QStringList>

namespace app {

QIcon programIcon()
{
    QIcon icon;
    for (const int size : {16, 24, 32, 48})
        icon.addFile(QStringLiteral(":/app/icon-%1.png").arg(size), QSize(size, size));
    return icon;
}

QPixmap aboutLogo()
{
    return QPixmap(QStringLiteral(":/app/logo.png"));
}

platform::ImageList buttonPictures()
{
    QStringList paths;
    for (int position = 1; position <= 7; ++position)
        paths << QStringLiteral(":/app/button%1.png").arg(position);
    return platform::ImageList::fromFiles(paths);
}

} // namespace app
