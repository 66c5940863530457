#include "mdb/PageFile.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <random>
#include <unistd.h>

#include "mdb/JetWriter.h"

namespace mdb {

namespace {

constexpr std::size_t kBufferPages = 256;

std::string quoted(const std::filesystem::path &path) { return "\"" + path.string() + "\""; }

std::string randomSuffix()
{
    static std::mt19937_64 generator{std::random_device{}()};
    static const char letters[] = "abcdefghijklmnopqrstuvwxyz0123456789";
    std::uniform_int_distribution<std::size_t> pick(0, sizeof letters - 2);
    std::string suffix;
    for (int n = 0; n < 8; ++n)
        suffix += letters[pick(generator)];
    return suffix;
}

} // namespace

PageFile::PageFile(std::filesystem::path target) : target_(std::move(target))
{
    if (target_.empty() || !target_.has_filename())
        throw WriterError("Cannot write " + quoted(target_) + ": not a file name");
    // Not mkstemp: its file is private to the owner, while the database is an
    // ordinary document that gets the usual umask-based permissions.
    constexpr int kAttempts = 100;
    for (int attempt = 0; attempt < kAttempts && fd_ < 0; ++attempt) {
        std::filesystem::path candidate = target_;
        candidate += ".tmp-" + randomSuffix();
        fd_ = ::open(candidate.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd_ >= 0)
            temporary_ = candidate;
        else if (errno != EEXIST)
            break;
    }
    if (fd_ < 0) {
        const int error = errno;
        throw WriterError("Cannot create a temporary file beside " + quoted(target_) + ": " + std::strerror(error));
    }
    interruptCleanup_.list(temporary_.string());
    buffer_.reserve(kBufferPages * jet::kPageSize);
}

PageFile::~PageFile()
{
    if (!committed_)
        discard();
}

void PageFile::discard()
{
    if (fd_ >= 0) {
        ::close(fd_);
        fd_ = -1;
    }
    if (!temporary_.empty()) {
        ::unlink(temporary_.c_str());
        interruptCleanup_.release();
        temporary_.clear();
    }
}

std::uint32_t PageFile::reservePage()
{
    if (nextPage_ >= jet::kMaxPages)
        throw WriterError("Cannot write " + quoted(target_) + ": the database would exceed the 2 GB a Jet file can hold");
    return nextPage_++;
}

void PageFile::writePage(std::uint32_t page, const std::uint8_t *bytes)
{
    if (fd_ < 0)
        throw WriterError("Cannot write " + quoted(target_) + ": the file is no longer open");
    const std::size_t buffered = buffer_.size() / jet::kPageSize;
    const bool continuesBuffer = page == bufferFirstPage_ + buffered;
    if (!buffer_.empty() && (!continuesBuffer || buffered == kBufferPages))
        flushBuffer();
    if (buffer_.empty())
        bufferFirstPage_ = page;
    buffer_.insert(buffer_.end(), bytes, bytes + jet::kPageSize);
}

void PageFile::flushBuffer()
{
    if (buffer_.empty())
        return;
    writeAt(std::uint64_t(bufferFirstPage_) * jet::kPageSize, buffer_.data(), buffer_.size());
    buffer_.clear();
}

void PageFile::writeAt(std::uint64_t offset, const std::uint8_t *bytes, std::size_t length)
{
    while (length > 0) {
        const ssize_t written = ::pwrite(fd_, bytes, length, off_t(offset));
        if (written < 0) {
            if (errno == EINTR)
                continue;
            failWith("write", errno);
        }
        if (written == 0)
            failWith("write", ENOSPC);
        bytes += written;
        offset += std::uint64_t(written);
        length -= std::size_t(written);
    }
}

void PageFile::failWith(const std::string &action, int error)
{
    const std::string message = "Cannot " + action + " " + quoted(target_) + " (temporary file " +
                                quoted(temporary_) + "): " + std::strerror(error);
    // Nothing more can be written; drop the partial file now.
    discard();
    throw WriterError(message);
}

void PageFile::commit()
{
    if (fd_ < 0)
        throw WriterError("Cannot write " + quoted(target_) + ": the file is no longer open");
    flushBuffer();
    if (::fsync(fd_) != 0)
        failWith("write", errno);
    if (::close(fd_) != 0) {
        fd_ = -1;
        failWith("write", errno);
    }
    fd_ = -1;
    if (::rename(temporary_.c_str(), target_.c_str()) != 0)
        failWith("replace", errno);
    interruptCleanup_.release();
    committed_ = true;
    // Make the rename itself durable.
    const int directory = ::open(target_.has_parent_path() ? target_.parent_path().c_str() : ".", O_RDONLY | O_DIRECTORY);
    if (directory >= 0) {
        ::fsync(directory);
        ::close(directory);
    }
}

} // namespace mdb
