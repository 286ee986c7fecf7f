#include "automation/TextInput.h"
#include "automation/Workbook.h"
#include "automation/print/CellText.h"
#include "automation/print/PrintLayout.h"

#include <gtest/gtest.h>

using namespace qorv::automation;

namespace {

double serial(int year, int month, int day, int hour, int minute, int second) {
    double value = 0;
    dateTimeSerial(year, month, day, hour, minute, second, value);
    return value;
}

// What a cell shows under its number format, on a comma system with '.' dates and on a point
// system with '/' dates.
TEST(NumberFormatter, ShowsNumbersAndDatesAsSpreadsheetProgramsDo) {
    struct Case {
        const char* code;
        double value;
        const char* comma;
        const char* point;
    };
    const double when = serial(2015, 12, 8, 14, 3, 9);
    const Case cases[] = {
        {"General", 20.5, "20,5", "20.5"},
        {"General", 0.1 + 0.2, "0,3", "0.3"},
        {"General", -7, "-7", "-7"},
        {"General", 1234567890123.0, "1,23457E+12", "1.23457E+12"},
        {"0.0", 20.26, "20,3", "20.3"},
        {"0.0", -0.04, "0,0", "0.0"},
        {"0.00", 2.675, "2,68", "2.68"},  // rounded from 15 digits, half up, as spreadsheets do
        {"0.0", 9.96, "10,0", "10.0"},
        {"0.0", 0.05, "0,1", "0.1"},
        {"0.000000000000", 83.14472, "83,144720000000", "83.144720000000"},
        {"0", 1152, "1152", "1152"},
        {"00", 7, "07", "07"},
        {"0.0000000E+0", 123456789, "1,2345679E+8", "1.2345679E+8"},
        {"0.0000000E+0", 0.000123, "1,2300000E-4", "1.2300000E-4"},
        {"0.0000000E+0", 9.999999999, "1,0000000E+1", "1.0000000E+1"},
        {"dd\\.mm\\.yyyy hh:mm:ss", when, "08.12.2015 14:03:09", "08.12.2015 14:03:09"},
        {"dd\\/mm\\/yyyy hh:mm:ss", when, "08/12/2015 14:03:09", "08/12/2015 14:03:09"},
        {"dd/mm/yy h:mm;@", when, "08.12.15 14:03", "08/12/15 14:03"},
        {"d/m/yyyy", serial(2016, 1, 2, 0, 0, 0), "2.1.2016", "2/1/2016"},
        {"hh:mm:ss", serial(2015, 12, 8, 23, 59, 59) + 0.4 / 86400, "23:59:59", "23:59:59"},
        {"0.0;-0.0;\"ноль\"", 0, "ноль", "ноль"},
        {"0.0;(0.0)", -2.5, "(2,5)", "(2.5)"},
    };
    for (const Case& c : cases) {
        const NumberFormatter formatter(QString::fromUtf8(c.code));
        EXPECT_EQ(formatter.format(c.value, {u',', u'.'}), QString::fromUtf8(c.comma)) << c.code;
        EXPECT_EQ(formatter.format(c.value, {u'.', u'/'}), QString::fromUtf8(c.point)) << c.code;
    }
}

// 60 rows of 12.5 points fit an A4 page with 55-point margins at 97 % and not at 100 %;
// manual breaks start pages; columns too wide for the paper go on pages to the right, printed
// after the pages below.
TEST(PaginateSheet, CutsAtBreaksAndWherePagesAreFull) {
    Workbook book;
    Worksheet& sheet = book.worksheet(1);
    sheet.range("A1:B130").setValue2(QStringLiteral("x"));
    sheet.setRowHeights(1, 130, 12.5);
    PageSetup& page = sheet.pageSetup();
    page.setPaperSize(9);
    page.setTopMargin(55);
    page.setBottomMargin(55);
    auto rows = [&] {
        std::vector<std::pair<int, int>> bands;
        for (const PrintPage& p : PaginateSheet(sheet)) {
            bands.push_back({p.firstRow, p.lastRow});
        }
        return bands;
    };
    page.setZoom(97);
    EXPECT_EQ(rows(), (std::vector<std::pair<int, int>>{{1, 60}, {61, 120}, {121, 130}}));
    page.setZoom(100);
    EXPECT_EQ(rows(), (std::vector<std::pair<int, int>>{{1, 58}, {59, 116}, {117, 130}}));
    page.setZoom(97);
    sheet.hPageBreaks().add(sheet.range("A31"));
    EXPECT_EQ(rows(), (std::vector<std::pair<int, int>>{{1, 30}, {31, 90}, {91, 130}}));
    page.setPrintArea(QStringLiteral("$A$1:$B$40"));
    EXPECT_EQ(rows(), (std::vector<std::pair<int, int>>{{1, 30}, {31, 40}}));

    sheet.setColumnWidths(1, 2, 60);  // two columns of 425 points: one per page
    const std::vector<PrintPage> pages = PaginateSheet(sheet);
    ASSERT_EQ(pages.size(), 4u);
    EXPECT_EQ(pages[1].firstColumn, 1);
    EXPECT_EQ(pages[1].firstRow, 31);
    EXPECT_EQ(pages[2].firstColumn, 2);
    EXPECT_EQ(pages[2].firstRow, 1);
}

}  // namespace
