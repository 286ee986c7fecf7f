#include "automation/Workbook.h"
#include "automation/XmlWriter.h"
#include "automation/parts/Parts.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstring>

namespace qorv::automation::parts {

namespace {
// Rows written per slice: about 100 KB of XML for the report's sheets.
constexpr int kRowsPerSlice = 1024;
// Cells per segment compressed on its own: about a megabyte of XML.
constexpr int kCellsPerSegment = 32768;
}  // namespace

double fileColumnWidth(double characters) {
    double pixels = 0;
    if (characters >= 1) {
        pixels = std::round(characters * 7 + 5);
    } else if (characters > 0) {
        pixels = std::trunc(characters * 12 + 0.5);
    }
    return std::trunc(pixels / 7 * 256) / 256;
}

WorksheetWriter::WorksheetWriter(const Worksheet& sheet, const SharedStrings& strings,
                                 bool selected, bool hasDrawing)
    : sheet_(sheet), strings_(strings), selected_(selected), hasDrawing_(hasDrawing) {
    lastRow_ = std::max(sheet.cellStore().lastRow(), sheet.customHeightRows());
}

std::int64_t WorksheetWriter::sizeBound() const {
    // A cell takes at most about 90 bytes (reference, format, 24-digit value, markup), a row
    // about 70 more; the rest of the part is small beside the cells.
    const std::int64_t columns = sheet_.cellStore().columnCount();
    const std::int64_t bound = std::int64_t(lastRow_) * (columns * 90 + 70) +
                               std::int64_t(sheet_.rowBreaks().size()) * 64 + 65536;
    return bound < (std::int64_t(1) << 32) - 1 ? bound : -1;
}

bool WorksheetWriter::fill(std::string& out) {
    if (finished_) {
        return false;
    }
    if (nextRow_ == 0) {
        header(out);
        nextRow_ = 1;
        return true;
    }
    if (nextRow_ <= lastRow_) {
        const int last = std::min(lastRow_, nextRow_ + kRowsPerSlice - 1);
        rows(out, nextRow_, last);
        nextRow_ = last + 1;
        return true;
    }
    footer(out);
    finished_ = true;
    return true;
}

std::vector<std::function<void(std::string&)>> WorksheetWriter::segments() const {
    const int rowsPerSegment =
        std::max(1, kCellsPerSegment / std::max(1, sheet_.cellStore().columnCount()));
    std::vector<std::function<void(std::string&)>> list;
    int first = 1;
    do {
        const int last = std::min(lastRow_, first + rowsPerSegment - 1);
        const bool head = first == 1;
        const bool tail = last == lastRow_;
        list.emplace_back([this, first, last, head, tail](std::string& out) {
            if (head) {
                header(out);
            }
            if (first <= last) {
                rows(out, first, last);
            }
            if (tail) {
                footer(out);
            }
        });
        first = last + 1;
    } while (first <= lastRow_);
    return list;
}

void WorksheetWriter::header(std::string& out) const {
    XmlWriter w(out);
    w.declaration();
    w.start("worksheet").attr("xmlns", kMainNs).attr("xmlns:r", kRelNs).close();

    const CellStore& cells = sheet_.cellStore();
    int lastColumn = 0;
    for (int c = 1; c <= cells.columnCount(); ++c) {
        if (cells.rowCount(c) > 0) {
            lastColumn = c;
        }
    }
    std::string dimension = "A1";
    if (lastRow_ > 0 && lastColumn > 0) {
        dimension.push_back(':');
        appendCellName(dimension, lastRow_, lastColumn);
    }
    w.start("dimension").attr("ref", dimension).end();
    w.start("sheetViews").close();
    w.start("sheetView");
    if (selected_) {
        w.attr("tabSelected", 1);
    }
    w.attr("workbookViewId", 0).end();
    w.close("sheetViews");
    w.start("sheetFormatPr").attrNumber("defaultRowHeight", Worksheet::kDefaultRowHeight).end();

    if (sheet_.customWidthColumns() > 0) {
        w.start("cols").close();
        int c = 1;
        while (c <= sheet_.customWidthColumns()) {
            if (!sheet_.hasCustomWidth(c)) {
                ++c;
                continue;
            }
            int last = c;
            while (last + 1 <= sheet_.customWidthColumns() && sheet_.hasCustomWidth(last + 1) &&
                   sheet_.columnWidth(last + 1) == sheet_.columnWidth(c)) {
                ++last;
            }
            const double width = sheet_.columnWidth(c);
            w.start("col")
                .attr("min", c)
                .attr("max", last)
                .attrNumber("width", fileColumnWidth(width));
            if (width == 0) {
                w.attr("hidden", 1);
            }
            w.attr("customWidth", 1).end();
            c = last + 1;
        }
        w.close("cols");
    }
    w.raw("<sheetData>");
}

namespace {

// Copies a literal's characters, without its terminating zero.
template <std::size_t N>
char* put(char* at, const char (&text)[N]) {
    std::memcpy(at, text, N - 1);
    return at + N - 1;
}

char* putInteger(char* at, long long value) {
    return std::to_chars(at, at + 24, value).ptr;
}

// The most a cell's markup takes: reference, format, type, a 24-character value and the tags.
constexpr std::size_t kMaxCellBytes = 96;
// The most a row's own markup takes, its height included.
constexpr std::size_t kMaxRowBytes = 96;

}  // namespace

void WorksheetWriter::rows(std::string& out, int firstRow, int lastRow) const {
    const CellStore& cells = sheet_.cellStore();
    const int columns = cells.columnCount();
    // Per column, looked up once per call: its data, its length and its letters.
    struct Column {
        const CellMeta* meta;
        const double* values;
        int length;
        char letters[4];
        int letterCount;
    };
    std::vector<Column> list(std::size_t(columns) + 1);
    for (int c = 1; c <= columns; ++c) {
        Column& column = list[std::size_t(c)];
        column.meta = cells.metaData(c);
        column.values = cells.valueData(c);
        column.length = cells.rowCount(c);
        std::string name;
        appendCellName(name, 1, c);
        name.pop_back();  // the row, 1
        column.letterCount = int(name.size());
        std::memcpy(column.letters, name.data(), name.size());
    }
    // Each row is written into this buffer and appended whole.
    std::vector<char> buffer(kMaxRowBytes + std::size_t(columns) * kMaxCellBytes);
    for (int row = firstRow; row <= lastRow; ++row) {
        bool any = false;
        for (int c = 1; c <= columns && !any; ++c) {
            const Column& column = list[std::size_t(c)];
            any = row <= column.length && column.meta[row - 1] != 0;
        }
        const bool custom = sheet_.hasCustomHeight(row);
        if (!any && !custom) {
            continue;
        }
        char digits[12];
        const std::size_t digitCount =
            std::size_t(std::to_chars(digits, digits + sizeof digits, row).ptr - digits);
        char* at = buffer.data();
        at = put(at, "<row r=\"");
        std::memcpy(at, digits, digitCount);
        at += digitCount;
        *at++ = '"';
        if (custom) {
            at = put(at, " ht=\"");
            at = XmlWriter::writeNumber(at, sheet_.rowHeight(row));
            at = put(at, "\" customHeight=\"1\"");
        }
        if (!any) {
            at = put(at, "/>");
            out.append(buffer.data(), at);
            continue;
        }
        *at++ = '>';
        for (int c = 1; c <= columns; ++c) {
            const Column& column = list[std::size_t(c)];
            if (row > column.length) {
                continue;
            }
            const std::uint32_t m = column.meta[row - 1];
            if (m == 0) {
                continue;
            }
            at = put(at, "<c r=\"");
            std::memcpy(at, column.letters, 4);
            at += column.letterCount;
            std::memcpy(at, digits, digitCount);
            at += digitCount;
            *at++ = '"';
            const std::uint32_t format = CellStore::formatOf(m);
            if (format != 0) {
                at = put(at, " s=\"");
                at = putInteger(at, format);
                *at++ = '"';
            }
            switch (CellStore::typeOf(m)) {
                case CellType::Number:
                    at = put(at, "><v>");
                    at = XmlWriter::writeNumber(at, column.values[row - 1]);
                    at = put(at, "</v></c>");
                    break;
                case CellType::Text:
                    at = put(at, " t=\"s\"><v>");
                    at = putInteger(at, strings_.position[std::size_t(column.values[row - 1])]);
                    at = put(at, "</v></c>");
                    break;
                default:
                    at = put(at, "/>");
            }
        }
        at = put(at, "</row>");
        out.append(buffer.data(), at);
    }
}

void WorksheetWriter::footer(std::string& out) const {
    XmlWriter w(out);
    w.raw("</sheetData>");
    const PageSetup& page = sheet_.pageSetup();
    w.start("pageMargins")
        .attrNumber("left", page.leftMargin / 72)
        .attrNumber("right", page.rightMargin / 72)
        .attrNumber("top", page.topMargin / 72)
        .attrNumber("bottom", page.bottomMargin / 72)
        .attrNumber("header", page.headerMargin / 72)
        .attrNumber("footer", page.footerMargin / 72)
        .end();
    if (page.paperSize != 0 || page.zoom != 100 || page.orientation != 1) {
        w.start("pageSetup");
        if (page.paperSize != 0) {
            w.attr("paperSize", page.paperSize);
        }
        if (page.zoom != 100) {
            w.attr("scale", page.zoom);
        }
        w.attr("orientation", page.orientation == 2 ? "landscape" : "portrait").end();
    }
    const auto& breaks = sheet_.rowBreaks();
    if (!breaks.empty()) {
        const int saved = std::min(int(breaks.size()), Worksheet::kMaxSavedRowBreaks);
        w.start("rowBreaks").attr("count", saved).attr("manualBreakCount", saved).close();
        int written = 0;
        for (auto row = breaks.begin(); written < saved; ++row, ++written) {
            // A break id is the last row above the break, counted from 1.
            w.start("brk").attr("id", *row - 1).attr("max", kMaxColumns - 1).attr("man", 1).end();
        }
        w.close("rowBreaks");
    }
    if (hasDrawing_) {
        w.start("drawing").attr("r:id", "rId1").end();
    }
    w.close("worksheet");
}

}  // namespace qorv::automation::parts
