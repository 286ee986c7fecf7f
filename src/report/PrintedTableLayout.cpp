#include "report/PrintedTableLayout.h"

#include <algorithm>

namespace qorv {

TableLayout LayoutPrintedTable(int reportRow, int pageNumber, qsizetype samples, int positions) {
    TableLayout layout{{}, reportRow, pageNumber};
    int position = 0;
    int firstDataRow = 0;
    qsizetype next = 0;
    while (next < samples) {
        TableBlock block;
        block.position = position;
        if (position == 0) {
            block.headingRow = layout.reportRow;
            firstDataRow = layout.reportRow + 1;
        } else {
            block.headingRow = firstDataRow - 1;
        }
        block.firstDataRow = firstDataRow;
        const int lastRowOfPage = kPageRows * PageOfRow(firstDataRow);
        const int capacity = std::max(1, std::min(kBlockRows, lastRowOfPage - firstDataRow + 1));
        block.firstSample = next;
        block.sampleCount = std::min<qsizetype>(capacity, samples - next);
        next += block.sampleCount;
        if (position == 0) {
            layout.reportRow = firstDataRow + static_cast<int>(block.sampleCount);
        }

        ++position;
        if (position == positions && next < samples) {
            block.pageBreakRow = FirstRowOfPage(layout.pageNumber);
            layout.pageNumber += 1;
            layout.reportRow = block.pageBreakRow + 1;
            position = 0;
        }
        layout.blocks.push_back(block);
    }
    return layout;
}

}  // namespace qorv
