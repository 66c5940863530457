#pragma once
// Sizes and markers of the Jet 4 file format that more than one part of the
// writer relies on.

#include <cstddef>
#include <cstdint>

namespace mdb::jet {

constexpr std::size_t kPageSize = 4096;

constexpr std::uint8_t kPageHeader = 0x00;
constexpr std::uint8_t kPageData = 0x01;
constexpr std::uint8_t kPageTableDefinition = 0x02;
constexpr std::uint8_t kPageUsageBitmap = 0x05;

// The "General" sort order, named in the file header and by every text column.
constexpr std::uint16_t kGeneralSortOrder = 0x0409;

// The catalog's definition must sit on page 2: readers look for it there.
constexpr std::uint32_t kCatalogDefinitionPage = 2;

// Data pages: 14-byte header, then one u16 offset per row.
constexpr std::size_t kDataPageHeaderSize = 14;
constexpr std::size_t kRowOffsetSize = 2;
constexpr std::size_t kMaxRowsPerPage = 255;  // a pg_row keeps the row in one byte
constexpr std::size_t kMaxRowBytesOnPage = kPageSize - kDataPageHeaderSize - kRowOffsetSize;
// Access refuses longer records; keeping to it leaves the files conventional.
constexpr std::size_t kMaxRecordSize = 4060;

// The owner field of long-value pages holds the ASCII bytes "LVAL".
constexpr std::uint32_t kLongValueOwner = 0x4C41564Cu;

// pg_row pointers keep the page in 24 bits; Jet itself stops at 2 GB.
constexpr std::uint32_t kMaxPages = (2u << 30) / kPageSize;

constexpr std::size_t kMaxNameLength = 64;  // UTF-16 units
constexpr std::size_t kMaxColumns = 255;
constexpr int kMaxTextLength = 255;  // characters

inline std::uint32_t pageRow(std::uint32_t page, std::uint32_t row) { return (page << 8) | row; }

} // namespace mdb::jet
