#include "automation/Styles.h"
#include "automation/XmlWriter.h"
#include "automation/parts/Parts.h"

namespace qorv::automation::parts {

namespace {

const char* horizontalName(HAlign a) {
    switch (a) {
        case HAlign::Left:
            return "left";
        case HAlign::Center:
            return "center";
        case HAlign::Right:
            return "right";
        case HAlign::Fill:
            return "fill";
        case HAlign::Justify:
            return "justify";
        case HAlign::CenterAcross:
            return "centerContinuous";
        case HAlign::Distributed:
            return "distributed";
        default:
            return nullptr;
    }
}

const char* verticalName(VAlign a) {
    switch (a) {
        case VAlign::Top:
            return "top";
        case VAlign::Center:
            return "center";
        case VAlign::Justify:
            return "justify";
        case VAlign::Distributed:
            return "distributed";
        default:
            return nullptr;
    }
}

void writeEdge(XmlWriter& w, const char* name, const BorderLine& line) {
    const char* style = borderStyleName(line);
    if (*style == '\0') {
        w.start(name).end();
        return;
    }
    w.start(name).attr("style", style).close();
    w.start("color").attr("indexed", 64).end();
    w.close(name);
}

}  // namespace

std::string styles(const Styles& styles) {
    std::string out;
    XmlWriter w(out);
    w.declaration();
    w.start("styleSheet").attr("xmlns", kMainNs).close();

    if (styles.numberFormatCount() > 1) {
        w.start("numFmts").attr("count", styles.numberFormatCount() - 1).close();
        for (std::uint32_t i = 1; i < styles.numberFormatCount(); ++i) {
            w.start("numFmt")
                .attr("numFmtId", Styles::numberFormatId(i))
                .attr("formatCode", styles.numberFormat(i))
                .end();
        }
        w.close("numFmts");
    }

    w.start("fonts").attr("count", styles.fontCount()).close();
    for (std::uint32_t i = 0; i < styles.fontCount(); ++i) {
        const Font& font = styles.font(i);
        w.start("font").close();
        if (font.bold) {
            w.start("b").end();
        }
        w.start("sz").attrNumber("val", font.size).end();
        w.start("name").attr("val", font.name).end();
        w.start("charset").attr("val", 204).end();
        w.close("font");
    }
    w.close("fonts");

    w.raw(
        "<fills count=\"2\"><fill><patternFill patternType=\"none\"/></fill>"
        "<fill><patternFill patternType=\"gray125\"/></fill></fills>");

    w.start("borders").attr("count", styles.borderCount()).close();
    for (std::uint32_t i = 0; i < styles.borderCount(); ++i) {
        const Border& border = styles.border(i);
        w.start("border").close();
        writeEdge(w, "left", border.edges[EdgeLeft]);
        writeEdge(w, "right", border.edges[EdgeRight]);
        writeEdge(w, "top", border.edges[EdgeTop]);
        writeEdge(w, "bottom", border.edges[EdgeBottom]);
        w.start("diagonal").end();
        w.close("border");
    }
    w.close("borders");

    w.raw(
        "<cellStyleXfs count=\"1\"><xf numFmtId=\"0\" fontId=\"0\" fillId=\"0\" "
        "borderId=\"0\"/></cellStyleXfs>");

    w.start("cellXfs").attr("count", styles.formatCount()).close();
    for (std::uint32_t i = 0; i < styles.formatCount(); ++i) {
        const CellFormat& f = styles.format(i);
        const char* horizontal = horizontalName(f.horizontal);
        const char* vertical = verticalName(f.vertical);
        w.start("xf")
            .attr("numFmtId", Styles::numberFormatId(f.numberFormat))
            .attr("fontId", f.font)
            .attr("fillId", 0)
            .attr("borderId", f.border)
            .attr("xfId", 0);
        if (f.numberFormat != 0) {
            w.attr("applyNumberFormat", 1);
        }
        if (f.font != 0) {
            w.attr("applyFont", 1);
        }
        if (f.border != 0) {
            w.attr("applyBorder", 1);
        }
        if (horizontal || vertical) {
            w.attr("applyAlignment", 1).close();
            w.start("alignment");
            if (horizontal) {
                w.attr("horizontal", horizontal);
            }
            if (vertical) {
                w.attr("vertical", vertical);
            }
            w.end();
            w.close("xf");
        } else {
            w.end();
        }
    }
    w.close("cellXfs");

    w.raw(
        "<cellStyles count=\"1\"><cellStyle name=\"Normal\" xfId=\"0\" builtinId=\"0\"/>"
        "</cellStyles>");
    w.close("styleSheet");
    return out;
}

}  // namespace qorv::automation::parts
