#include "platform/db/engine/ResultRows.h"

#include <QByteArray>
#include <QString>

#include <limits>

namespace platform::db {

void ResultRows::clear()
{
    // Swapping with empty vectors gives the memory back, not only the size.
    std::vector<Cell>().swap(cells_);
    std::vector<char>().swap(bytes_);
    columns_ = 0;
    rows_ = 0;
}

void ResultRows::appendInteger(qint64 value)
{
    Cell cell{{0}, 0, Cell::Integer};
    cell.integer = value;
    cells_.push_back(cell);
}

void ResultRows::appendReal(double value)
{
    Cell cell{{0}, 0, Cell::Real};
    cell.real = value;
    cells_.push_back(cell);
}

void ResultRows::appendBytes(Cell::Kind kind, const char *data, qsizetype size)
{
    // SQLite's own length limit keeps every value far below 2 GB.
    Cell cell{{0}, qint32(size), kind};
    cell.offset = qint64(bytes_.size());
    if (size > 0)
        bytes_.insert(bytes_.end(), data, data + size);
    cells_.push_back(cell);
}

QVariant ResultRows::value(qsizetype row, int column) const
{
    const Cell &cell = cells_[std::size_t(row) * std::size_t(columns_) + std::size_t(column)];
    switch (cell.kind) {
    case Cell::Integer:
        if (cell.integer >= std::numeric_limits<int>::min() && cell.integer <= std::numeric_limits<int>::max())
            return QVariant(int(cell.integer));
        return QVariant(qlonglong(cell.integer));
    case Cell::Real:
        return QVariant(cell.real);
    case Cell::Text:
        return QVariant(cell.size ? QString::fromUtf8(bytes_.data() + cell.offset, cell.size)
                                  : QString::fromUtf8("", 0));
    case Cell::Blob:
        return QVariant(cell.size ? QByteArray(bytes_.data() + cell.offset, cell.size) : QByteArray("", 0));
    case Cell::Null:
        break;
    }
    return QVariant();
}

qint64 ResultRows::heldBytes() const
{
    return qint64(cells_.size()) * qint64(sizeof(Cell)) + qint64(bytes_.size());
}

} // namespace platform::db
