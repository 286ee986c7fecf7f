#include "report/PrintedTableLayout.h"

#include <gtest/gtest.h>

namespace qorv {
namespace {

struct Expected {
    int position, headingRow, firstDataRow;
    qsizetype firstSample, count;
    int pageBreakRow;
};

void expectBlocks(const TableLayout& layout, const std::vector<Expected>& expected) {
    ASSERT_EQ(layout.blocks.size(), expected.size());
    for (size_t i = 0; i < expected.size(); ++i) {
        const TableBlock& b = layout.blocks[i];
        const Expected& e = expected[i];
        EXPECT_EQ(b.position, e.position) << "block " << i;
        EXPECT_EQ(b.headingRow, e.headingRow) << "block " << i;
        EXPECT_EQ(b.firstDataRow, e.firstDataRow) << "block " << i;
        EXPECT_EQ(b.firstSample, e.firstSample) << "block " << i;
        EXPECT_EQ(b.sampleCount, e.count) << "block " << i;
        EXPECT_EQ(b.pageBreakRow, e.pageBreakRow) << "block " << i;
    }
}

// Tables after a full heading block with a chart begin at row 122, page 4 next.
TEST(LayoutPrintedTable, OneChannelFiftySevenFitsOneBlock) {
    const TableLayout l = LayoutPrintedTable(122, 4, 57, 3);
    expectBlocks(l, {{0, 122, 123, 0, 57, 0}});
    EXPECT_EQ(l.reportRow, 180);
    EXPECT_EQ(l.pageNumber, 4);
}

TEST(LayoutPrintedTable, OneChannelFiftyEightOpensASecondBlockBeside) {
    expectBlocks(LayoutPrintedTable(122, 4, 58, 3),
                 {{0, 122, 123, 0, 57, 0}, {1, 122, 123, 57, 1, 0}});
}

TEST(LayoutPrintedTable, OneChannel172BreaksThePage) {
    const TableLayout l = LayoutPrintedTable(122, 4, 172, 3);
    expectBlocks(l, {{0, 122, 123, 0, 57, 0},
                     {1, 122, 123, 57, 57, 0},
                     {2, 122, 123, 114, 57, 181},
                     {0, 182, 183, 171, 1, 0}});
    EXPECT_EQ(l.reportRow, 184);
    EXPECT_EQ(l.pageNumber, 5);
}

TEST(LayoutPrintedTable, OneChannel171FillsThePageWithoutBreak) {
    const TableLayout l = LayoutPrintedTable(122, 4, 171, 3);
    EXPECT_EQ(l.blocks.back().pageBreakRow, 0);
    EXPECT_EQ(l.pageNumber, 4);
}

TEST(LayoutPrintedTable, TwoChannels114And115) {
    expectBlocks(LayoutPrintedTable(122, 4, 114, 2),
                 {{0, 122, 123, 0, 57, 0}, {1, 122, 123, 57, 57, 0}});
    expectBlocks(LayoutPrintedTable(122, 4, 115, 2),
                 {{0, 122, 123, 0, 57, 0}, {1, 122, 123, 57, 57, 181}, {0, 182, 183, 114, 1, 0}});
}

TEST(LayoutPrintedTable, LaterPagesAreFixedByThePageNumber) {
    const TableLayout l = LayoutPrintedTable(122, 4, 3 * 114 + 1, 2);
    ASSERT_EQ(l.blocks.size(), 7u);
    EXPECT_EQ(l.blocks[3].pageBreakRow, 241);
    EXPECT_EQ(l.blocks[4].headingRow, 242);
    EXPECT_EQ(l.blocks[5].pageBreakRow, 301);
    EXPECT_EQ(l.blocks[6].firstDataRow, 303);
    for (const TableBlock& b : l.blocks) {
        EXPECT_LE(b.firstDataRow + b.sampleCount - 1, 60 * PageOfRow(b.firstDataRow));
    }
}

TEST(LayoutPrintedTable, TablesStartingLowOnAPageGetShorterFirstBlocks) {
    // Heading block without status or chart: tables begin at row 66 on page 2.
    const TableLayout a = LayoutPrintedTable(66, 3, 200, 3);
    expectBlocks(a, {{0, 66, 67, 0, 54, 0},
                     {1, 66, 67, 54, 54, 0},
                     {2, 66, 67, 108, 54, 121},
                     {0, 122, 123, 162, 38, 0}});
    // No heading block, no chart: tables begin at row 5 on page 1.
    const TableLayout b = LayoutPrintedTable(5, 2, 120, 2);
    expectBlocks(b, {{0, 5, 6, 0, 55, 0}, {1, 5, 6, 55, 55, 61}, {0, 62, 63, 110, 10, 0}});
}

TEST(LayoutPrintedTable, TablesTwoRowsBelowAHeadingKeepFullBlocks) {
    // Heading block without chart: tables begin at row 63, two rows below the heading of 61.
    expectBlocks(LayoutPrintedTable(63, 3, 58, 3), {{0, 63, 64, 0, 57, 0}, {1, 63, 64, 57, 1, 0}});
    // No heading block, with chart: row 62.
    expectBlocks(LayoutPrintedTable(62, 3, 57, 3), {{0, 62, 63, 0, 57, 0}});
}

TEST(LayoutPrintedTable, NoSamplesNoBlocks) {
    const TableLayout l = LayoutPrintedTable(122, 4, 0, 2);
    EXPECT_TRUE(l.blocks.empty());
    EXPECT_EQ(l.reportRow, 122);
    EXPECT_EQ(l.pageNumber, 4);
}

}  // namespace
}  // namespace qorv
