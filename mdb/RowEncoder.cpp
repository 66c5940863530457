#include "mdb/RowEncoder.h"

#include "mdb/Bytes.h"
#include "mdb/JetFormat.h"
#include "mdb/TextEncoding.h"
#include "mdb/Utf8.h"

namespace mdb {

namespace {

const char *const kUnstorable = "text that starts with U+FEFF cannot also hold characters such as U+0100 "
                                "or U+2000 (zero low byte) in a Jet file";

const char *describeValue(const Value &value)
{
    if (std::holds_alternative<std::int32_t>(value))
        return "a Long Integer";
    if (std::holds_alternative<std::string>(value))
        return "text";
    return "Null";
}

const char *describeType(FieldType type)
{
    switch (type) {
    case FieldType::Byte: return "a Byte column";
    case FieldType::Integer: return "an Integer column";
    case FieldType::Long: return "a Long Integer column";
    case FieldType::Text: return "a Text column";
    case FieldType::Memo: return "a Memo column";
    default: return "a column that only holds Null";
    }
}

bool accepts(FieldType type, const Value &value)
{
    switch (type) {
    case FieldType::Byte:
    case FieldType::Integer:
    case FieldType::Long: return std::holds_alternative<std::int32_t>(value);
    case FieldType::Text:
    case FieldType::Memo: return std::holds_alternative<std::string>(value);
    default: return false;
    }
}

} // namespace

RowEncoder::RowEncoder(const TableLayout &layout)
    : layout_(layout),
      present_(layout.fields.size()),
      numbers_(layout.fields.size()),
      stored_(layout.fields.size())
{
}

const std::vector<std::uint8_t> &RowEncoder::encode(const std::vector<Value> &values, std::uint64_t rowNumber,
                                                    const std::vector<MemoStore *> &memoStores)
{
    const std::size_t size = prepare(values, rowNumber);
    assemble(memoStores);
    if (row_.size() != size)
        throw std::logic_error("row size miscounted");
    releaseLargeBuffers();
    return row_;
}

void RowEncoder::releaseLargeBuffers()
{
    // One huge memo should not keep megabytes reserved for the rest of the table.
    constexpr std::size_t kKeep = 1 << 20;
    for (std::vector<std::uint8_t> &stored : stored_)
        if (stored.capacity() > kKeep)
            std::vector<std::uint8_t>().swap(stored);
    if (utf16_.capacity() > kKeep)
        std::u16string().swap(utf16_);
}

void RowEncoder::fail(const Field &field, std::uint64_t rowNumber, const std::string &problem) const
{
    throw WriterError(describeTable(layout_.name) + ", column \"" + field.name + "\", row " +
                      std::to_string(rowNumber) + ": " + problem);
}

std::size_t RowEncoder::prepare(const std::vector<Value> &values, std::uint64_t rowNumber)
{
    const std::size_t columns = layout_.fields.size();
    if (values.size() != columns)
        throw WriterError(describeTable(layout_.name) + ", row " + std::to_string(rowNumber) + ": " +
                          std::to_string(values.size()) + " values given for " + std::to_string(columns) +
                          " columns");

    std::size_t variableBytes = 0;
    const Field *largest = nullptr;
    for (std::size_t n = 0; n < columns; ++n) {
        const Field &field = layout_.fields[n];
        const Value &value = values[n];
        present_[n] = !std::holds_alternative<std::monostate>(value);
        if (!present_[n])
            continue;
        if (!accepts(field.type, value))
            fail(field, rowNumber, std::string(describeValue(value)) + " given for " + describeType(field.type));
        if (field.isFixed()) {
            numbers_[n] = std::get<std::int32_t>(value);
            if (field.type == FieldType::Integer && (numbers_[n] < -32768 || numbers_[n] > 32767))
                fail(field, rowNumber, std::to_string(numbers_[n]) + " does not fit an Integer");
            if (field.type == FieldType::Byte && (numbers_[n] < 0 || numbers_[n] > 255))
                fail(field, rowNumber, std::to_string(numbers_[n]) + " does not fit a Byte");
            continue;
        }
        prepareText(field, std::get<std::string>(value), rowNumber);
        if (!largest || sizeOf(field) > sizeOf(*largest))
            largest = &field;
        variableBytes += sizeOf(field);
    }

    std::size_t size = 2 + layout_.fixedSize + variableBytes + layout_.nullMaskSize();
    if (layout_.variableCount > 0)
        size += 2 + 2 * std::size_t(layout_.variableCount) + 2;
    if (size > jet::kMaxRecordSize) {
        std::string problem = "the row needs " + std::to_string(size) + " bytes, more than the " +
                              std::to_string(jet::kMaxRecordSize) + " a row can hold";
        if (largest)
            fail(*largest, rowNumber, problem + " (this column alone takes " + std::to_string(sizeOf(*largest)) + ")");
        throw WriterError(describeTable(layout_.name) + ", row " + std::to_string(rowNumber) + ": " + problem);
    }
    return size;
}

void RowEncoder::prepareText(const Field &field, const std::string &text, std::uint64_t rowNumber)
{
    if (Utf8Problem problem = utf8ToUtf16(text, utf16_))
        fail(field, rowNumber, "text " + problem.what + " (at byte " + std::to_string(problem.byteOffset) + ")");
    std::vector<std::uint8_t> &stored = stored_[field.number];
    if (field.type == FieldType::Text) {
        const std::size_t maxCharacters = field.length / 2;
        if (utf16_.size() > maxCharacters)
            fail(field, rowNumber, "text of " + std::to_string(utf16_.size()) + " characters is longer than the column's " +
                                       std::to_string(maxCharacters));
        if (!encodeJetText(utf16_, true, stored))
            fail(field, rowNumber, kUnstorable);
        return;
    }
    if (!encodeJetText(utf16_, utf16_.size() <= kMaxCompressedMemoLength, stored))
        fail(field, rowNumber, kUnstorable);
    if (stored.size() > MemoStore::kMaxLength)
        fail(field, rowNumber, "memo of " + std::to_string(stored.size()) + " bytes is longer than the " +
                                   std::to_string(MemoStore::kMaxLength) + " bytes Jet can store");
}

std::size_t RowEncoder::sizeOf(const Field &field) const
{
    const std::size_t stored = stored_[field.number].size();
    return field.type == FieldType::Memo ? MemoStore::sizeInRow(stored) : stored;
}

void RowEncoder::assemble(const std::vector<MemoStore *> &memoStores)
{
    const std::size_t columns = layout_.fields.size();
    row_.clear();
    appendU16(row_, std::uint16_t(columns));
    const std::size_t fixedStart = row_.size();
    appendZeros(row_, layout_.fixedSize);
    for (std::size_t n = 0; n < columns; ++n) {
        const Field &field = layout_.fields[n];
        if (!present_[n] || !field.isFixed())
            continue;
        std::uint8_t *at = &row_[fixedStart + field.fixedOffset];
        if (field.type == FieldType::Byte)
            *at = std::uint8_t(numbers_[n]);
        else if (field.type == FieldType::Integer)
            storeU16(at, std::uint16_t(numbers_[n]));
        else
            storeU32(at, std::uint32_t(numbers_[n]));
    }

    if (layout_.variableCount > 0) {
        // Fields are numbered in declaration order, variable ones included,
        // so walking the fields visits variable indexes in order.
        starts_.clear();
        for (std::size_t n = 0; n < columns; ++n) {
            const Field &field = layout_.fields[n];
            if (field.isFixed())
                continue;
            starts_.push_back(std::uint16_t(row_.size()));
            if (!present_[n])
                continue;
            if (field.type == FieldType::Memo)
                memoStores[n]->store(stored_[n], row_);
            else
                row_.insert(row_.end(), stored_[n].begin(), stored_[n].end());
        }
        appendU16(row_, std::uint16_t(row_.size()));
        for (auto start = starts_.rbegin(); start != starts_.rend(); ++start)
            appendU16(row_, *start);
        appendU16(row_, layout_.variableCount);
    }

    const std::size_t maskStart = row_.size();
    appendZeros(row_, layout_.nullMaskSize());
    for (std::size_t n = 0; n < columns; ++n)
        if (present_[n])
            row_[maskStart + n / 8] |= std::uint8_t(1u << (n % 8));
}

} // namespace mdb
