#include "automation/Workbook.h"
#include "automation/XmlWriter.h"
#include "automation/parts/Parts.h"

#include <cmath>

namespace qorv::automation::parts {

namespace {

constexpr double kEmuPerPoint = 12700;

long long emu(double points) {
    return std::llround(points * kEmuPerPoint);
}

// One corner: cell indexes count from 0 in the file; offsets are clamped to the cell.
void corner(XmlWriter& w, const char* name, const Worksheet& sheet, const Anchor& a) {
    w.start(name).close();
    w.start("xdr:col").close();
    XmlWriter::appendInteger(w.buffer(), a.column - 1);
    w.close("xdr:col");
    w.start("xdr:colOff").close();
    XmlWriter::appendInteger(w.buffer(),
                             emu(std::min(a.columnOffset, sheet.columnWidthPoints(a.column))));
    w.close("xdr:colOff");
    w.start("xdr:row").close();
    XmlWriter::appendInteger(w.buffer(), a.row - 1);
    w.close("xdr:row");
    w.start("xdr:rowOff").close();
    XmlWriter::appendInteger(w.buffer(), emu(std::min(a.rowOffset, sheet.rowHeight(a.row))));
    w.close("xdr:rowOff");
    w.close(name);
}

}  // namespace

std::string drawing(const Worksheet& sheet) {
    std::string out;
    XmlWriter w(out);
    w.declaration();
    w.start("xdr:wsDr")
        .attr("xmlns:xdr", "http://schemas.openxmlformats.org/drawingml/2006/spreadsheetDrawing")
        .attr("xmlns:a", "http://schemas.openxmlformats.org/drawingml/2006/main")
        .close();
    int id = 1;
    for (const auto& shape : sheet.shapeList()) {
        ++id;
        // A two-cell anchor: the chart moves and sizes with the cells beneath it.
        w.start("xdr:twoCellAnchor").close();
        corner(w, "xdr:from", sheet, shape->from());
        corner(w, "xdr:to", sheet, shape->to());
        w.start("xdr:graphicFrame").attr("macro", "").close();
        w.start("xdr:nvGraphicFramePr").close();
        w.start("xdr:cNvPr").attr("id", id).attr("name", shape->name()).end();
        w.start("xdr:cNvGraphicFramePr").end();
        w.close("xdr:nvGraphicFramePr");
        w.raw("<xdr:xfrm><a:off x=\"0\" y=\"0\"/><a:ext cx=\"0\" cy=\"0\"/></xdr:xfrm>");
        w.raw(
            "<a:graphic><a:graphicData "
            "uri=\"http://schemas.openxmlformats.org/drawingml/2006/chart\">");
        w.start("c:chart")
            .attr("xmlns:c", "http://schemas.openxmlformats.org/drawingml/2006/chart")
            .attr("xmlns:r", kRelNs)
            .attr("r:id", "rId" + std::to_string(id - 1))
            .end();
        w.raw("</a:graphicData></a:graphic>");
        w.close("xdr:graphicFrame");
        w.start("xdr:clientData").end();
        w.close("xdr:twoCellAnchor");
    }
    w.close("xdr:wsDr");
    return out;
}

}  // namespace qorv::automation::parts
