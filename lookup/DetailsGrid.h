#pragma once
// The details grid: eleven labelled rows, each with its icon, its caption and
// the value of one getalldata column.

#include "platform/ImageList.h"
#include "platform/grid/Grid.h"

#include <array>

namespace lookup {

struct DetailsRow {
    const char *caption; // column 2, fixed
    const char *column;  // getalldata column whose value goes into column 3
};

inline constexpr int DetailsRowCount = 11;
extern const std::array<DetailsRow, DetailsRowCount> detailsRows;

inline constexpr int ProcedureNameRow = 1;
// Rows whose values coders copy on their own.
inline constexpr int CodeRow = 2;
inline constexpr int Icd9CodeRow = 3;

inline constexpr int IconColumn = 1;
inline constexpr int CaptionColumn = 2;
inline constexpr int ValueColumn = 3;
// The value column's width at the window's design size; it takes whatever
// width the window gains beyond that.
inline constexpr int ValueColumnWidth = 200;

// Text formats of the cells (Windows DrawText flags).
inline constexpr unsigned IconCellFormat = platform::TextFormat::SingleLine | platform::TextFormat::WordEllipsis;
inline constexpr unsigned TextCellFormat = platform::TextFormat::VCenter | platform::TextFormat::WordBreak;

// The eleven 32 x 32 row icons built into the program, image n for row n.
platform::ImageList rowIcons();

// The grid's stored colours, font, row mode and grid lines.
void applyStoredLook(platform::Grid &grid);

// The eleven rows as "caption<TAB>value" lines, in the grid's order.
QString allDetailsText(const platform::Grid &grid);

// Columns, rows, icons and captions; values empty.
void prepareDetailsGrid(platform::Grid &grid, const platform::ImageList &icons);

} // namespace lookup
