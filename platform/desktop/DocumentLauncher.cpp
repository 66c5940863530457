#include "DocumentLauncher.h"

#include <QDesktopServices>

namespace platform::desktop {

namespace {

UrlOpener &currentOpener()
{
    static UrlOpener opener;
    return opener;
}

} // namespace

void setUrlOpener(UrlOpener opener)
{
    currentOpener() = std::move(opener);
}

int ShellExecuteA(const QString &operation, const QString &file)
{
    if (!operation.isEmpty() && operation.compare(QLatin1String("open"), Qt::CaseInsensitive) != 0)
        return SE_ERR_NOASSOC;
    const QUrl url = QUrl::fromUserInput(file);
    if (!url.isValid() || file.trimmed().isEmpty())
        return SE_ERR_NOASSOC;
    const UrlOpener &opener = currentOpener();
    const bool started = opener ? opener(url) : QDesktopServices::openUrl(url);
    return started ? ShellExecuteSucceeded : SE_ERR_NOASSOC;
}

} // namespace platform::desktop
