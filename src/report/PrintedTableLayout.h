#pragma once

#include "report/ReportRun.h"

#include <QtGlobal>

#include <vector>

namespace qorv {

// A printed page of the report sheet is 60 rows: page p begins at row 60·(p − 1) + 1 with its
// page heading, and its content must end by row 60·p.
constexpr int kPageRows = 60;
constexpr int kBlockRows = 57;
// The page heading's cells in a page's first row: the device number in E, the page in F.
constexpr int kDeviceNumberColumn = 5;
constexpr int kPageNumberColumn = 6;

inline int FirstRowOfPage(int page) {
    return kPageRows * (page - 1) + 1;
}
inline int PageOfRow(int row) {
    return (row - 1) / kPageRows + 1;
}

// The page heading in columns E and F of row `row`: "№" and the device number (with a blank
// after "№" on every page but the first), and "Страница " with the page number.
void WritePageHeading(ReportRun& run, int row, int page, bool firstPage);

// Begins the next printed page of the report sheet: a page break above row
// 60·(PageNumber − 1) + 1, its page heading, and the row cursor just below it.
void StartReportPage(ReportRun& run);

// Where one block of the printed value table goes.
struct TableBlock {
    int position = 0;      // 0 = leftmost block of the page
    int headingRow = 0;    // row of its column headings
    int firstDataRow = 0;  // P: first row of its values
    qsizetype firstSample = 0;
    qsizetype sampleCount = 0;
    // When non-zero, a new page begins after this block: page break above this row, page
    // heading in it.
    int pageBreakRow = 0;
};

struct TableLayout {
    std::vector<TableBlock> blocks;
    int reportRow = 0;   // the row cursor after the table
    int pageNumber = 0;  // the number of the next page after the table
};

// Lays out `samples` values in blocks of up to 57 rows, `positions` blocks side by side on a
// page (2 for the two-channel table, 3 for the one-channel one), starting at `reportRow` with
// `pageNumber` the number of the next page. Each page's first block writes its headings at the
// row cursor and moves it; the others share its rows. When the last position of a page is
// filled and samples remain, the next page begins at row 60·(pageNumber − 1) + 1.
//
// A block never runs into the next page's heading: its last row is at most 60·p on page p, so
// a table that starts lower on its first page than two rows below a page heading gets shorter
// blocks on that page.
TableLayout LayoutPrintedTable(int reportRow, int pageNumber, qsizetype samples, int positions);

}  // namespace qorv
