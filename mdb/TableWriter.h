#pragma once
// One table being written: its layout, its data pages and its memo columns'
// long-value pages.

#include <cstdint>
#include <memory>
#include <vector>

#include "mdb/JetWriter.h"
#include "mdb/MemoStore.h"
#include "mdb/PageFile.h"
#include "mdb/RowEncoder.h"
#include "mdb/RowPages.h"
#include "mdb/TableLayout.h"

namespace mdb {

class TableWriter {
public:
    // definitionPage is the table's (already reserved) first TDEF page; data
    // pages name it as their owner.
    TableWriter(PageFile &file, TableLayout layout, std::uint32_t definitionPage);

    void append(const std::vector<Value> &values);
    // Writes the pages still being filled.
    void close();

    const TableLayout &layout() const { return *layout_; }
    std::uint32_t definitionPage() const { return definitionPage_; }
    std::uint32_t rowCount() const { return rowCount_; }
    const std::vector<std::uint32_t> &dataPages() const { return rows_.pages(); }
    // The LVAL pages of field n (empty for fields that are not Memo/OLE).
    std::vector<std::uint32_t> longValuePages(std::size_t field) const;

private:
    // Held by pointer so that the encoder's reference stays valid when the
    // writer moves.
    std::unique_ptr<TableLayout> layout_;
    std::uint32_t definitionPage_;
    RowPages rows_;
    std::vector<std::unique_ptr<MemoStore>> memoStores_;
    std::vector<MemoStore *> memoStoreOfField_;
    std::unique_ptr<RowEncoder> encoder_;
    std::uint32_t rowCount_ = 0;
};

} // namespace mdb
