#pragma once
// The floor of saving the report workbook of the save benchmark: what any writer of it must at
// least spend. The same XML our save writes (both worksheets with every row and cell, the
// shared strings, the chart, the drawing and the package's small parts) made by plain loops
// with fast number formatting (std::to_chars for doubles, a hand-rolled integer writer), a
// slice at a time, deflated at level 1 into a ZIP file on disk. Its input, the cell values as
// doubles, is made before it is timed.

#include "FloorZip.h"
#include "SaveFloorParts.h"

#include <zip.h>

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace qorv::bench {

// The workbook's shape: chart-data headings in row 4 of the data sheet, then one row per
// sample; on the report sheet pages of 60 rows from row 61, each with two blocks of 57 samples
// side by side (A:C and D:F).
constexpr int kHeaderRow = 4;
constexpr int kBlockRows = 57;
constexpr int kPageRows = 60;

// Sample i of the workbook: its time as a spreadsheet serial (every 10 s from 8 December 2015)
// and the two channels' values with four decimals.
struct WorkbookSample {
    double serial, first, second;
};
inline WorkbookSample BenchWorkbookSample(int i) {
    return {42346.0 + i * 10 / 86400.0, std::round((20 + 5 * std::sin(i / 500.0)) * 1e4) / 1e4,
            std::round((50 + 20 * std::cos(i / 700.0)) * 1e4) / 1e4};
}

// A value as its text with one decimal reads (as the report's printed table has it).
inline double OneDecimal(double value) {
    char text[32];
    std::snprintf(text, sizeof text, "%.1f", value);
    return std::strtod(text, nullptr);
}

// The cell values of the workbook: the chart data, and the printed table's values with one
// decimal.
struct FloorValues {
    std::vector<double> serials, first, second, firstPrinted, secondPrinted;
};
inline FloorValues MakeFloorValues(int samples) {
    FloorValues v;
    for (int i = 0; i < samples; ++i) {
        const WorkbookSample s = BenchWorkbookSample(i);
        v.serials.push_back(s.serial);
        v.first.push_back(s.first);
        v.second.push_back(s.second);
        v.firstPrinted.push_back(OneDecimal(s.first));
        v.secondPrinted.push_back(OneDecimal(s.second));
    }
    return v;
}

namespace floorxml {

inline constexpr const char* kDeclaration =
    "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\n";
inline constexpr const char* kWorksheetStart =
    "<worksheet xmlns=\"http://schemas.openxmlformats.org/spreadsheetml/2006/main\" "
    "xmlns:r=\"http://schemas.openxmlformats.org/officeDocument/2006/relationships\">"
    "<dimension ref=\"A1:";
inline constexpr const char* kPageMargins =
    "</sheetData><pageMargins left=\"0.7\" right=\"0.7\" top=\"0.75\" bottom=\"0.75\" "
    "header=\"0.3\" footer=\"0.3\"/>";
// The shared strings' places: the page numbers follow "Время" and "№ 1234".
constexpr unsigned kTimeText = 0;
constexpr unsigned kNumberText = 1;
constexpr unsigned kFirstPageText = 2;

inline void AppendInteger(std::string& out, unsigned value) {
    char digits[10];
    char* first = digits + sizeof digits;
    do {
        *--first = char('0' + value % 10);
        value /= 10;
    } while (value != 0);
    out.append(first, digits + sizeof digits);
}

inline void AppendDouble(std::string& out, double value) {
    char digits[32];
    out.append(digits, std::to_chars(digits, digits + sizeof digits, value).ptr);
}

// `<c r="B12" s="5"` (no s for style 0).
inline void OpenCell(std::string& out, char column, unsigned row, unsigned style) {
    out.append("<c r=\"");
    out.push_back(column);
    AppendInteger(out, row);
    out.push_back('"');
    if (style != 0) {
        out.append(" s=\"");
        AppendInteger(out, style);
        out.push_back('"');
    }
}
inline void EmptyCell(std::string& out, char column, unsigned row, unsigned style) {
    OpenCell(out, column, row, style);
    out.append("/>");
}
inline void NumberCell(std::string& out, char column, unsigned row, unsigned style, double value) {
    OpenCell(out, column, row, style);
    out.append("><v>");
    AppendDouble(out, value);
    out.append("</v></c>");
}
inline void TextCell(std::string& out, char column, unsigned row, unsigned style, unsigned text) {
    OpenCell(out, column, row, style);
    out.append(" t=\"s\"><v>");
    AppendInteger(out, text);
    out.append("</v></c>");
}

// The report sheet's extent.
struct ReportLayout {
    explicit ReportLayout(int n)
        : samples(n),
          blocks((n + kBlockRows - 1) / kBlockRows),
          pages((blocks + 1) / 2),
          lastRow(pages * kPageRows + 1 + kPageRows + 110) {}
    int samples, blocks, pages, lastRow;
};

// Cell `c` (0 = A ... 5 = F) of report row `row` from 2 on.
inline void AppendReportCell(std::string& out, const ReportLayout& layout, const FloorValues& v,
                             unsigned row, int c) {
    const char column = char('A' + c);
    const unsigned plain = c < 5 ? 16 : 12;     // the row style; Arial Cyr alone in F
    const int page = int(row - 1) / kPageRows;  // 0: the heading rows above the first page
    const int offset = int(row - 1) % kPageRows;
    const int block = 2 * (page - 1) + c / 3;
    const bool inBlock = page >= 1 && block < layout.blocks;
    const int sample = block * kBlockRows + offset - 2;
    if (offset == 0 && page >= 1 && page <= layout.pages && c >= 4) {
        TextCell(out, column, row, plain, c == 4 ? kNumberText : kFirstPageText + page - 1);
    } else if (offset == 1 && inBlock) {
        TextCell(out, column, row, plain, kTimeText);
    } else if (inBlock && offset >= 2 && offset < 2 + kBlockRows && sample < layout.samples) {
        const auto k = std::size_t(sample);
        switch (c % 3) {
            case 0:
                NumberCell(out, column, row, 17, v.serials[k]);
                break;
            case 1:
                NumberCell(out, column, row, c == 5 ? 14 : 18, v.firstPrinted[k]);
                break;
            default:
                NumberCell(out, column, row, c == 5 ? 14 : 18, v.secondPrinted[k]);
        }
    } else {
        EmptyCell(out, column, row, plain);
    }
}

// Sheet 1, the report: every row up to the last has its height set; page breaks (at most
// 1,026 saved) and the chart's drawing at the end.
inline void WriteReportSheet(FloorZip& zip, const FloorValues& v) {
    const ReportLayout layout(int(v.serials.size()));
    std::string& out = zip.text();
    out.append(kDeclaration).append(kWorksheetStart).append("F");
    AppendInteger(out, unsigned(layout.lastRow));
    out.append(
        "\"/><sheetViews><sheetView tabSelected=\"1\" workbookViewId=\"0\"/></sheetViews>"
        "<sheetFormatPr defaultRowHeight=\"12.75\"/><cols><col min=\"1\" max=\"6\" "
        "width=\"14.28515625\" customWidth=\"1\"/></cols><sheetData>");
    for (unsigned row = 1; row <= unsigned(layout.lastRow); ++row) {
        out.append("<row r=\"");
        AppendInteger(out, row);
        out.append("\" ht=\"12.5\" customHeight=\"1\">");
        for (int c = 0; c < 6; ++c) {
            if (row > 1) {
                AppendReportCell(out, layout, v, row, c);
            } else if (c < 5) {
                EmptyCell(out, char('A' + c), row, 15);
            }
        }
        out.append("</row>");
        zip.sliceDone();
    }
    out.append(kPageMargins).append("<pageSetup paperSize=\"9\" orientation=\"portrait\"/>");
    const unsigned breaks = unsigned(std::min(layout.pages, 1026));
    out.append("<rowBreaks count=\"");
    AppendInteger(out, breaks);
    out.append("\" manualBreakCount=\"");
    AppendInteger(out, breaks);
    out.append("\">");
    for (unsigned k = 1; k <= breaks; ++k) {
        out.append("<brk id=\"");
        AppendInteger(out, k * kPageRows);
        out.append("\" max=\"16383\" man=\"1\"/>");
    }
    out.append("</rowBreaks><drawing r:id=\"rId1\"/></worksheet>");
}

// Sheet 2, the chart data: a title, two headings, then the three columns.
inline void WriteDataSheet(FloorZip& zip, const FloorValues& v, unsigned titleText) {
    const auto n = unsigned(v.serials.size());
    std::string& out = zip.text();
    out.append(kDeclaration).append(kWorksheetStart).append("C");
    AppendInteger(out, kHeaderRow + n);
    out.append(
        "\"/><sheetViews><sheetView workbookViewId=\"0\"/></sheetViews>"
        "<sheetFormatPr defaultRowHeight=\"12.75\"/><cols><col min=\"1\" max=\"6\" "
        "width=\"15.7109375\" customWidth=\"1\"/></cols><sheetData><row r=\"3\">");
    TextCell(out, 'A', 3, 0, titleText);
    out.append("</row><row r=\"4\">");
    TextCell(out, 'A', 4, 1, kTimeText);
    TextCell(out, 'B', 4, 1, titleText + 1);
    out.append("</row>");
    for (unsigned i = 0; i < n; ++i) {
        const unsigned row = kHeaderRow + 1 + i;
        out.append("<row r=\"");
        AppendInteger(out, row);
        out.append("\">");
        NumberCell(out, 'A', row, 3, v.serials[i]);
        NumberCell(out, 'B', row, 5, v.first[i]);
        NumberCell(out, 'C', row, 5, v.second[i]);
        out.append("</row>");
        zip.sliceDone();
    }
    out.append(kPageMargins).append("</worksheet>");
}

// The shared strings: "Время", "№ 1234", "Страница 2" ... of every page, the data sheet's
// title and heading.
inline void WriteSharedStrings(FloorZip& zip, const ReportLayout& layout) {
    std::string& out = zip.text();
    out.append(kDeclaration)
        .append(
            "<sst xmlns=\"http://schemas.openxmlformats.org/spreadsheetml/2006/main\" count=\"");
    AppendInteger(out, unsigned(2 * layout.pages + 3 * layout.blocks + 3));
    out.append("\" uniqueCount=\"");
    AppendInteger(out, unsigned(layout.pages + 4));
    out.append("\"><si><t>Время</t></si><si><t>№ 1234</t></si>");
    for (int page = 2; page <= layout.pages + 1; ++page) {
        out.append("<si><t>Страница ");
        AppendInteger(out, unsigned(page));
        out.append("</t></si>");
    }
    out.append("<si><t>График температуры</t></si><si><t>Темпер.</t></si></sst>");
}

inline void WritePart(FloorZip& zip, const char* name, const std::string& text) {
    zip.begin(name);
    zip.text().append(kDeclaration).append(text);
    zip.end();
}

}  // namespace floorxml

// Writes the workbook of `v` to `path` as the floor does.
inline void WriteSaveFloor(const FloorValues& v, const std::string& path) {
    using namespace floorxml;
    namespace parts = floorparts;
    const ReportLayout layout(int(v.serials.size()));
    FloorZip zip(path);
    WritePart(zip, "[Content_Types].xml", parts::kContentTypes);
    WritePart(zip, "_rels/.rels", parts::kPackageRelationships);
    WritePart(zip, "docProps/core.xml", parts::kCoreProperties);
    WritePart(zip, "xl/workbook.xml", parts::kWorkbook);
    WritePart(zip, "xl/_rels/workbook.xml.rels", parts::kWorkbookRelationships);
    WritePart(zip, "xl/styles.xml", parts::kStyles);
    zip.begin("xl/sharedStrings.xml");
    WriteSharedStrings(zip, layout);
    zip.end();
    zip.begin("xl/worksheets/sheet1.xml");
    WriteReportSheet(zip, v);
    zip.end();
    WritePart(zip, "xl/worksheets/_rels/sheet1.xml.rels", parts::kSheetRelationships);
    WritePart(zip, "xl/drawings/drawing1.xml", parts::kDrawing);
    WritePart(zip, "xl/drawings/_rels/drawing1.xml.rels", parts::kDrawingRelationships);
    std::string chart = parts::kChart;
    const std::string lastRow = std::to_string(kHeaderRow + v.serials.size());
    for (std::size_t at = chart.find('@'); at != std::string::npos; at = chart.find('@', at)) {
        chart.replace(at, 1, lastRow);
    }
    WritePart(zip, "xl/charts/chart1.xml", chart);
    zip.begin("xl/worksheets/sheet2.xml");
    WriteDataSheet(zip, v, kFirstPageText + unsigned(layout.pages));
    zip.end();
    zip.close();
}

// The sum of the uncompressed sizes of a ZIP file's entries, in bytes; -1 when it cannot be read.
inline double ZipContentBytes(const std::string& path) {
    int error = 0;
    zip_t* archive = zip_open(path.c_str(), ZIP_RDONLY | ZIP_CHECKCONS, &error);
    if (!archive) {
        return -1;
    }
    double total = 0;
    const zip_int64_t count = zip_get_num_entries(archive, 0);
    for (zip_int64_t i = 0; i < count; ++i) {
        zip_stat_t entry;
        if (zip_stat_index(archive, zip_uint64_t(i), 0, &entry) == 0) {
            total += double(entry.size);
        }
    }
    zip_close(archive);
    return total;
}

}  // namespace qorv::bench
