#include "platform/db/jet/JetTableStream.h"

namespace platform::db {
namespace {

// Large enough that the threads seldom wait on each other, small enough that
// the batches in flight stay far below a megabyte or two.
constexpr std::size_t kRowsPerBatch = 512;
constexpr std::size_t kBatchesInFlight = 4;

} // namespace

JetTableStream::JetTableStream(JetFile &file) : file_(file)
{
    for (std::size_t i = 0; i < kBatchesInFlight; ++i) {
        batches_.push_back(std::make_unique<JetRowBatch>());
        empty_.push_back(batches_.back().get());
    }
    reader_ = std::thread([this] { read(); });
}

JetTableStream::~JetTableStream()
{
    {
        const std::lock_guard lock(mutex_);
        stopping_ = true;
    }
    changed_.notify_all();
    reader_.join();
}

const JetRowBatch *JetTableStream::next()
{
    std::unique_lock lock(mutex_);
    if (inUse_) {
        empty_.push_back(inUse_);
        inUse_ = nullptr;
        changed_.notify_all();
    }
    changed_.wait(lock, [this] { return !full_.empty() || finished_; });
    if (full_.empty()) {
        if (failure_)
            std::rethrow_exception(failure_);
        return nullptr;
    }
    inUse_ = full_.front();
    full_.pop_front();
    return inUse_;
}

// nullptr once the stream is being stopped.
JetRowBatch *JetTableStream::emptyBatch()
{
    std::unique_lock lock(mutex_);
    changed_.wait(lock, [this] { return !empty_.empty() || stopping_; });
    if (stopping_)
        return nullptr;
    JetRowBatch *batch = empty_.front();
    empty_.pop_front();
    batch->tableBegins = false;
    batch->count = 0;
    return batch;
}

void JetTableStream::hand(JetRowBatch *batch)
{
    {
        const std::lock_guard lock(mutex_);
        full_.push_back(batch);
    }
    changed_.notify_all();
}

void JetTableStream::read()
{
    try {
        for (std::size_t index = 0; index < file_.userTableCount(); ++index) {
            JetTable table(file_, index);
            JetRowBatch *batch = emptyBatch();
            if (!batch)
                return;
            batch->tableBegins = true;
            batch->tableName = table.name();
            batch->columns = table.columns();
            while (table.nextRow()) {
                if (batch->count == batch->rows.size())
                    batch->rows.emplace_back();
                // Assignment reuses the buffers the row had in an earlier batch.
                batch->rows[batch->count++] = table.values();
                if (batch->count == kRowsPerBatch) {
                    hand(batch);
                    if (!(batch = emptyBatch()))
                        return;
                }
            }
            hand(batch);
        }
    } catch (...) {
        const std::lock_guard lock(mutex_);
        failure_ = std::current_exception();
    }
    {
        const std::lock_guard lock(mutex_);
        finished_ = true;
    }
    changed_.notify_all();
}

} // namespace platform::db
