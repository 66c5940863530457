#pragma once
// Reads the user tables of a Jet file on a thread of its own and hands their
// rows over in batches: decoding the file and filling the copy then keep two
// processors busy instead of one, and the copy is ready sooner.
//
// The reading thread is the only one to touch the JetFile while the stream
// exists. An exception it meets (JetDamage, say) reaches the caller of next()
// once the rows read before it have been handed over, so failures come in the
// order a plain loop would meet them.

#include "platform/db/jet/LayerGuard.h"
#include "platform/db/jet/JetReader.h"

#include <condition_variable>
#include <cstddef>
#include <deque>
#include <exception>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace platform::db {

struct JetRowBatch {
    // The first batch of a table (perhaps its only one, perhaps empty) carries
    // the table's name and columns.
    bool tableBegins = false;
    std::string tableName;
    std::vector<JetColumn> columns;
    // rows[0, count): rows keep their buffers from batch to batch.
    std::vector<std::vector<JetValue>> rows;
    std::size_t count = 0;
};

class JetTableStream {
public:
    explicit JetTableStream(JetFile &file);
    // Stops the reading thread, wherever it is, and waits for it.
    ~JetTableStream();
    JetTableStream(const JetTableStream &) = delete;
    JetTableStream &operator=(const JetTableStream &) = delete;

    // The next batch, valid until the following call; nullptr after the last
    // table. Rethrows what the reading thread met.
    const JetRowBatch *next();

private:
    void read();
    JetRowBatch *emptyBatch();
    void hand(JetRowBatch *batch);

    JetFile &file_;
    std::vector<std::unique_ptr<JetRowBatch>> batches_;
    std::mutex mutex_;
    std::condition_variable changed_;
    std::deque<JetRowBatch *> empty_, full_;
    JetRowBatch *inUse_ = nullptr;
    bool stopping_ = false;
    bool finished_ = false;
    std::exception_ptr failure_;
    std::thread reader_;
};

} // namespace platform::db
