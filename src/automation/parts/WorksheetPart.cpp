#include "automation/Workbook.h"
#include "automation/XmlWriter.h"
#include "automation/parts/Parts.h"

#include <algorithm>
#include <cmath>

namespace qorv::automation::parts {

namespace {
// Rows written per slice: about 100 KB of XML for the report's sheets.
constexpr int kRowsPerSlice = 1024;
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

void WorksheetWriter::rows(std::string& out, int firstRow, int lastRow) const {
    const CellStore& cells = sheet_.cellStore();
    const int columns = cells.columnCount();
    // Column data pointers and lengths, looked up once per slice.
    std::vector<const CellMeta*> meta(std::size_t(columns) + 1);
    std::vector<const double*> values(std::size_t(columns) + 1);
    std::vector<int> lengths(std::size_t(columns) + 1);
    for (int c = 1; c <= columns; ++c) {
        meta[std::size_t(c)] = cells.metaData(c);
        values[std::size_t(c)] = cells.valueData(c);
        lengths[std::size_t(c)] = cells.rowCount(c);
    }
    for (int row = firstRow; row <= lastRow; ++row) {
        bool any = false;
        for (int c = 1; c <= columns && !any; ++c) {
            any = row <= lengths[std::size_t(c)] && meta[std::size_t(c)][row - 1] != 0;
        }
        const bool custom = sheet_.hasCustomHeight(row);
        if (!any && !custom) {
            continue;
        }
        out.append("<row r=\"");
        XmlWriter::appendInteger(out, row);
        out.push_back('"');
        if (custom) {
            out.append(" ht=\"");
            XmlWriter::appendNumber(out, sheet_.rowHeight(row));
            out.append("\" customHeight=\"1\"");
        }
        if (!any) {
            out.append("/>");
            continue;
        }
        out.push_back('>');
        for (int c = 1; c <= columns; ++c) {
            if (row > lengths[std::size_t(c)]) {
                continue;
            }
            const std::uint32_t m = meta[std::size_t(c)][row - 1];
            if (m == 0) {
                continue;
            }
            out.append("<c r=\"");
            appendCellName(out, row, c);
            out.push_back('"');
            const std::uint32_t format = CellStore::formatOf(m);
            if (format != 0) {
                out.append(" s=\"");
                XmlWriter::appendInteger(out, format);
                out.push_back('"');
            }
            switch (CellStore::typeOf(m)) {
                case CellType::Number:
                    out.append("><v>");
                    XmlWriter::appendNumber(out, values[std::size_t(c)][row - 1]);
                    out.append("</v></c>");
                    break;
                case CellType::Text:
                    out.append(" t=\"s\"><v>");
                    XmlWriter::appendInteger(
                        out, strings_.position[std::size_t(values[std::size_t(c)][row - 1])]);
                    out.append("</v></c>");
                    break;
                default:
                    out.append("/>");
            }
        }
        out.append("</row>");
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
