// The file's bytes reach the loader's memory file whole and unchangeable,
// without the program holding a copy: from the file's position to its end,
// within the size limit, with a file system's refusal or a read error named.

#include "platform/db/jet/MemoryFileSeal.h"
#include "platform/db/jet/SealedSource.h"

#include <QTemporaryDir>
#include <QtTest>

#include <cerrno>
#include <fcntl.h>
#include <random>
#include <sys/mman.h>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>

using namespace platform::db;

namespace {

std::string contentOf(int fd)
{
    struct stat info {};
    if (::fstat(fd, &info) != 0 || info.st_size == 0)
        return {};
    void *mapped = ::mmap(nullptr, std::size_t(info.st_size), PROT_READ, MAP_SHARED, fd, 0);
    if (mapped == MAP_FAILED)
        return {};
    std::string bytes(static_cast<const char *>(mapped), std::size_t(info.st_size));
    ::munmap(mapped, std::size_t(info.st_size));
    return bytes;
}

} // namespace

class DbSealedSourceTest : public QObject {
    Q_OBJECT

private slots:
    void aFileIsCopiedWholeFromWhereItStands()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("pcs.mdb"));
        std::string bytes(3 * 1024 * 1024 + 123, '\0'); // several chunks and a part
        std::mt19937 random(7);
        for (char &c : bytes)
            c = char(random());
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(bytes.data(), qint64(bytes.size()));
        file.close();

        const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_CLOEXEC);
        QVERIFY(fd >= 0);
        QCOMPARE(::lseek(fd, 100, SEEK_SET), off_t(100));
        const SealedSource source = SealedSource::ofFile(fd, bytes.size());
        ::close(fd);
        QVERIFY(contentOf(source.fd()) == bytes.substr(100));
        // Sealed: neither writes nor a new length reach the loader's view.
        QCOMPARE(::pwrite(source.fd(), "x", 1, 0), ssize_t(-1));
        QCOMPARE(errno, EPERM);
        QCOMPARE(::ftruncate(source.fd(), 1), -1);
    }

    void moreThanTheLimitIsRefused()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("big.mdb"));
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        QVERIFY(file.resize(5 * 1024 * 1024));
        file.close();
        const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_CLOEXEC);
        QVERIFY(fd >= 0);
        QVERIFY_THROWS_EXCEPTION(SourceTooLarge, SealedSource::ofFile(fd, 2 * 1024 * 1024));
        ::close(fd);
    }

    // A folder opened as the database: the kernel will not hand its pages
    // over, reading it is refused, and that refusal is what the caller sees.
    void aReadErrorCarriesItsReason()
    {
        QTemporaryDir dir;
        const int fd = ::open(QFile::encodeName(dir.path()).constData(), O_RDONLY | O_CLOEXEC);
        QVERIFY(fd >= 0);
        try {
            SealedSource::ofFile(fd, 1024);
            QFAIL("a folder was read as a file");
        } catch (const SourceReadError &e) {
            QCOMPARE(e.error, EISDIR);
        }
        ::close(fd);
    }

    // The kernel refuses the seal while the file is still mapped for writing:
    // a mapping on its way out (the reader ending) is waited for, one that
    // stays is refused in the end with the kernel's reason.
    void aSealIsRetriedWhileAWriterLetsGo()
    {
        const int fd = ::memfd_create("test", MFD_CLOEXEC | MFD_ALLOW_SEALING);
        QVERIFY(fd >= 0);
        QCOMPARE(::ftruncate(fd, 4096), 0);
        void *mapped = ::mmap(nullptr, 4096, PROT_READ | PROT_WRITE, MAP_SHARED, fd, 0);
        QVERIFY(mapped != MAP_FAILED);
        static_cast<char *>(mapped)[0] = 'J';
        std::thread writerEnds([mapped] {
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
            ::munmap(mapped, 4096);
        });
        const int error = sealAgainstChange(fd);
        writerEnds.join();
        QCOMPARE(error, 0);
        QCOMPARE(::pwrite(fd, "x", 1, 0), ssize_t(-1));
        QCOMPARE(contentOf(fd).front(), 'J');
        ::close(fd);

        const int held = ::memfd_create("test", MFD_CLOEXEC | MFD_ALLOW_SEALING);
        QVERIFY(held >= 0);
        QCOMPARE(::ftruncate(held, 4096), 0);
        void *stays = ::mmap(nullptr, 4096, PROT_READ | PROT_WRITE, MAP_SHARED, held, 0);
        QVERIFY(stays != MAP_FAILED);
        QCOMPARE(sealAgainstChange(held), EBUSY);
        ::munmap(stays, 4096);
        ::close(held);
    }
};

QTEST_GUILESS_MAIN(DbSealedSourceTest)
#include "tst_db_sealed_source.moc"
