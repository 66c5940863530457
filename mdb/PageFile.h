#pragma once
// The file being written: a temporary file beside the target that receives
// pages by number and is renamed over the target only when complete.

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "mdb/InterruptCleanup.h"
#include "mdb/JetFormat.h"

namespace mdb {

class PageFile {
public:
    // Creates the temporary file; throws WriterError when that is impossible.
    explicit PageFile(std::filesystem::path target);
    ~PageFile();  // removes the temporary file unless commit() succeeded
    PageFile(const PageFile &) = delete;
    PageFile &operator=(const PageFile &) = delete;

    // Hands out the next page number; each reserved page must be written once.
    std::uint32_t reservePage();
    void writePage(std::uint32_t page, const std::uint8_t *bytes);

    // Flushes, syncs and renames the file into place.
    void commit();
    // False once a write failed (the temporary file is then gone) or after commit().
    bool isOpen() const { return fd_ >= 0; }

    const std::filesystem::path &target() const { return target_; }

private:
    void flushBuffer();
    void writeAt(std::uint64_t offset, const std::uint8_t *bytes, std::size_t length);
    [[noreturn]] void failWith(const std::string &action, int error);
    void discard();

    std::filesystem::path target_;
    std::filesystem::path temporary_;
    InterruptCleanupEntry interruptCleanup_; // the temporary file, while it exists
    int fd_ = -1;
    bool committed_ = false;
    std::uint32_t nextPage_ = 0;
    // Consecutive pages are gathered so that the usual sequential write costs
    // one system call per megabyte rather than one per page.
    std::vector<std::uint8_t> buffer_;
    std::uint32_t bufferFirstPage_ = 0;
};

} // namespace mdb
