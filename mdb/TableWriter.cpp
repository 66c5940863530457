#include "mdb/TableWriter.h"

namespace mdb {

TableWriter::TableWriter(PageFile &file, TableLayout layout, std::uint32_t definitionPage)
    : layout_(std::make_unique<TableLayout>(std::move(layout))),
      definitionPage_(definitionPage),
      rows_(file, definitionPage),
      memoStoreOfField_(layout_->fields.size(), nullptr),
      encoder_(std::make_unique<RowEncoder>(*layout_))
{
    for (std::size_t n = 0; n < layout_->fields.size(); ++n) {
        if (!layout_->fields[n].isLongValue())
            continue;
        memoStores_.push_back(std::make_unique<MemoStore>(file));
        memoStoreOfField_[n] = memoStores_.back().get();
    }
}

void TableWriter::append(const std::vector<Value> &values)
{
    if (rowCount_ == UINT32_MAX)
        throw WriterError(describeTable(layout_->name) + " cannot hold more rows");
    const std::vector<std::uint8_t> &row = encoder_->encode(values, std::uint64_t(rowCount_) + 1, memoStoreOfField_);
    rows_.add(row.data(), row.size());
    ++rowCount_;
}

void TableWriter::close()
{
    rows_.close();
    for (const auto &store : memoStores_)
        store->close();
}

std::vector<std::uint32_t> TableWriter::longValuePages(std::size_t field) const
{
    const MemoStore *store = memoStoreOfField_.at(field);
    return store ? store->pages() : std::vector<std::uint32_t>{};
}

} // namespace mdb
