#pragma once
// The rows of one statement, held compactly: one small cell per value and the
// bytes of every text and blob in a single buffer. A value becomes a QVariant
// only when it is read, so holding a large result costs little more than its
// text, and the columns nobody reads are never converted.

#include "platform/db/engine/LayerGuard.h"

#include <QVariant>

#include <cstdint>
#include <vector>

namespace platform::db {

class ResultRows {
public:
    void clear();

    void setColumnCount(int columns) { columns_ = columns; }
    qsizetype rowCount() const { return rows_; }

    // A row is appended cell by cell, in column order, then closed.
    void appendNull() { cells_.push_back(Cell{{0}, 0, Cell::Null}); }
    void appendInteger(qint64 value);
    void appendReal(double value);
    void appendText(const char *data, qsizetype size) { appendBytes(Cell::Text, data, size); }
    void appendBlob(const char *data, qsizetype size) { appendBytes(Cell::Blob, data, size); }
    void endRow() { ++rows_; }

    // The value at row and column; both must be in range.
    QVariant value(qsizetype row, int column) const;

    // Memory the rows hold, for the bound on runaway results.
    qint64 heldBytes() const;

private:
    struct Cell {
        union {
            qint64 integer;
            double real;
            qint64 offset; // into bytes_, for text and blobs
        };
        qint32 size;
        enum Kind : qint32 { Null, Integer, Real, Text, Blob } kind;
    };

    void appendBytes(Cell::Kind kind, const char *data, qsizetype size);

    int columns_ = 0;
    qsizetype rows_ = 0;
    std::vector<Cell> cells_;
    std::vector<char> bytes_;
};

} // namespace platform::db
