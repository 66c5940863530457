#include "ribbon/ResourcePicture.h"

#include "platform/AppError.h"
#include "ribbon/ErrorSource.h"

#include <QDir>
#include <QFile>
#include <QImageReader>
#include <QScopeGuard>
#include <QTemporaryFile>

#include <cerrno>
#include <cstring>

namespace ribbon {

namespace {

const QString TempPrefix = QStringLiteral("LRP");

[[noreturn]] void raiseSystemError(int code)
{
    throw platform::AppError(code | ErrTempOffset, errorSource(QStringLiteral(".cAniCursor")), GetSystemErrorText(code));
}

// The file was just made empty for us, so it is opened without truncating: on
// some file systems truncating and rewriting forces the data out to disk, which
// costs milliseconds per picture.
void writeWhole(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadWrite))
        throw platform::AppError(ErrFileAccess, QString(),
                                 QStringLiteral("Path/File access error: %1").arg(file.errorString()));
    if (file.write(bytes) != bytes.size() || !file.resize(bytes.size()) || !file.flush()) {
        const QString reason = file.errorString();
        file.close();
        throw platform::AppError(ErrFileAccess, QString(), QStringLiteral("Path/File access error: %1").arg(reason));
    }
    file.close();
}

QPixmap readPicture(const QString &path)
{
    QImageReader reader(path);
    reader.setDecideFormatFromContent(true);
    const QImage image = reader.read();
    if (image.isNull())
        throw platform::AppError(ErrInvalidPicture, QString(),
                                 QStringLiteral("Invalid picture: %1").arg(reader.errorString()));
    return QPixmap::fromImage(image);
}

} // namespace

QByteArray LoadResData(int id, const QString &resourceType)
{
    QFile resource(QStringLiteral(":/themes/%1/%2.gif").arg(resourceType).arg(id));
    if (!resource.open(QIODevice::ReadOnly))
        throw platform::AppError(ErrResourceNotFound, QString(),
                                 QStringLiteral("Resource with identifier '%1' of type '%2' not found")
                                     .arg(id)
                                     .arg(resourceType));
    return resource.readAll();
}

QPixmap LoadResourcePicture(int id, const QString &resourceType)
{
    // Every failure leaves with its number and description and the loader's
    // source, and the temporary file is deleted whichever way the load leaves.
    try {
        const QByteArray bytes = resourceType.isEmpty() ? QByteArray() : LoadResData(id, resourceType);
        const QString path = MakeTempFileName(TempPrefix, QString());
        const auto removeFile = qScopeGuard([&path] { DeleteTempFile(path); });
        writeWhole(path, bytes);
        return readPicture(path);
    } catch (const platform::AppError &error) {
        throw platform::AppError(error.number(), errorSource(QStringLiteral(".cLoadResPicture")), error.description());
    }
}

QString GetTempDirectory()
{
    const QString path = QDir::tempPath();
    if (path.isEmpty())
        raiseSystemError(ENOENT);
    return path.endsWith(QLatin1Char('/')) ? path : path + QLatin1Char('/');
}

QString MakeTempFileName(const QString &prefix, const QString &directory)
{
    QString folder = directory.isEmpty() ? GetTempDirectory() : directory;
    if (!folder.endsWith(QLatin1Char('/')))
        folder += QLatin1Char('/');
    QTemporaryFile file(folder + prefix + QStringLiteral("XXXXXX"));
    file.setAutoRemove(false);
    errno = 0;
    if (!file.open())
        raiseSystemError(errno != 0 ? errno : EIO);
    const QString name = file.fileName();
    file.close();
    return name;
}

QString GetSystemErrorText(int code)
{
    return QString::fromLocal8Bit(std::strerror(code));
}

void DeleteTempFile(const QString &path)
{
    if (!path.isEmpty())
        QFile::remove(path);
}

} // namespace ribbon
