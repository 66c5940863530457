#include "lookup/DetailsGrid.h"

#include "lookup/FormLayout.h"


namespace lookup {

const std::array<DetailsRow, DetailsRowCount> detailsRows{{
    {"Procedure Name", "Description"},
    {"ICD 10 - PCS Code", "code"},
    {"ICD 9 - PCS Code", "pcs9"},
    {"ICD 9 - PCS Description", "pcs9desc"},
    {"Code Char 1", "character 1"},
    {"Code Char 2", "character 2"},
    {"Code Char 3", "character 3"},
    {"Code Char 4", "character 4"},
    {"Code Char 5", "character 5"},
    {"Code Char 6", "character 6"},
    {"Code Char 7", "character 7"},
}};

platform::ImageList rowIcons()
{
    QStringList paths;
    for (int n = 1; n <= DetailsRowCount; ++n)
        paths << QStringLiteral(":/grid/row%1.png").arg(n, 2, 10, QLatin1Char('0'));
    return platform::ImageList::fromFiles(paths);
}

void applyStoredLook(platform::Grid &grid)
{
    using platform::colourFromBgr;
    grid.setRowMode(true);
    grid.setGridLines(true);
    grid.setForeColor(colourFromBgr(0x800000));
    grid.setHighlightForeColor(colourFromBgr(0x800000));
    grid.setNoFocusHighlightForeColor(colourFromBgr(0x800000));
    grid.setHighlightBackColor(colourFromBgr(0xC0E0FF));
    grid.setNoFocusHighlightBackColor(colourFromBgr(0xC0E0FF));
    grid.setAlternateRowBackColor(colourFromBgr(0xFFF2F2));
    grid.setFont(form::timesRoman(8.25));
    grid.setHeaderHeight(30);
    grid.setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    grid.setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    grid.setHotTrack(true);
}

QString allDetailsText(const platform::Grid &grid)
{
    QStringList lines;
    for (int n = 1; n <= DetailsRowCount; ++n)
        lines << grid.cellText(n, CaptionColumn) + QLatin1Char('\t') + grid.cellText(n, ValueColumn);
    return lines.join(QLatin1Char('\n'));
}

void prepareDetailsGrid(platform::Grid &grid, const platform::ImageList &icons)
{
    grid.setImageList(&icons);
    grid.setRedraw(false);
    grid.addColumn(QStringLiteral("icon"), QString(), 0, -1, 36);
    grid.addColumn(QStringLiteral("Description"), QStringLiteral("Description"), 0, -1, 100);
    grid.addColumn(QStringLiteral("Value"), QStringLiteral("Value"), 0, -1, ValueColumnWidth);
    grid.setDefaultRowHeight(34);
    grid.setRows(DetailsRowCount);
    for (int n = 1; n <= DetailsRowCount; ++n) {
        grid.setCellDetails(n, IconColumn, QString(), IconCellFormat, n);
        const QString caption = QString::fromLatin1(detailsRows[n - 1].caption);
        grid.setCellDetails(n, CaptionColumn, caption, TextCellFormat);
        grid.setCellDetails(n, ValueColumn, QString(), TextCellFormat);
    }
    grid.setRedraw(true);
}

} // namespace lookup
