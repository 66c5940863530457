#include "platform/db/DatabaseFile.h"

#include "platform/db/Errors.h"

#include <QFile>
#include <QScopeGuard>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace platform::db {
namespace {

// Jet 4 files stop at 2 GB; anything far beyond is not one.
constexpr qint64 kLargestFile = qint64(4) << 30;

[[noreturn]] void unreadable(const QString &path, const QString &why)
{
    raise(ErrUnreadableFile, kConnectionSource,
          QStringLiteral("The database file '%1' cannot be opened for reading: %2.").arg(path, why));
}

QString systemReason(int error)
{
    return QString::fromLocal8Bit(std::strerror(error));
}

// True when path exists; false when it does not; throws for other failures.
bool exists(const QString &path)
{
    struct stat info;
    if (::stat(QFile::encodeName(path).constData(), &info) == 0)
        return true;
    if (errno == ENOENT || errno == ENOTDIR)
        return false;
    unreadable(path, systemReason(errno));
}

} // namespace

QString locateDataSource(const QString &dataSource)
{
    // A '\' may be part of a folder's name here. The last one is the separator
    // the program put before the file name, so that reading comes before
    // taking every '\' as a separator: a program folder named "a\b" must not
    // give way to a pcs.mdb in "a/b".
    QString lastAsSeparator = dataSource;
    if (const qsizetype last = dataSource.lastIndexOf(u'\\'); last >= 0)
        lastAsSeparator[last] = u'/';
    QString everyAsSeparator = dataSource;
    everyAsSeparator.replace(u'\\', u'/');
    for (const QString &candidate : {dataSource, lastAsSeparator, everyAsSeparator})
        if (exists(candidate))
            return candidate;
    raise(ErrFileNotFound, kConnectionSource, QStringLiteral("Could not find file '%1'.").arg(everyAsSeparator));
}

SealedSource readDatabaseFile(const QString &path)
{
    // O_NONBLOCK: a FIFO named as the database must not block the open.
    const int file = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK);
    if (file < 0)
        unreadable(path, systemReason(errno));
    const auto closeFile = qScopeGuard([file] { ::close(file); });
    struct stat info;
    if (::fstat(file, &info) != 0)
        unreadable(path, systemReason(errno));
    if (!S_ISREG(info.st_mode))
        unreadable(path, QStringLiteral("it is not a regular file"));
    const QString tooLarge = QStringLiteral("it is far larger than a Jet database can be");
    if (info.st_size > kLargestFile)
        unreadable(path, tooLarge);
    try {
        // The file may grow while it is read: the limit holds for what is read.
        return SealedSource::ofFile(file, std::uint64_t(kLargestFile));
    } catch (const SourceTooLarge &) {
        unreadable(path, tooLarge);
    } catch (const SourceReadError &e) {
        unreadable(path, systemReason(e.error));
    }
}

} // namespace platform::db
