#include "automation/Styles.h"
#include "automation/XmlWriter.h"
#include "automation/parts/Parts.h"

#include <iterator>

namespace qorv::automation::parts {

namespace {

// The file's names of the alignments, by value; none for the defaults (General, Bottom).
constexpr const char* kHorizontalNames[] = {nullptr, "left",    "center",           "right",
                                            "fill",  "justify", "centerContinuous", "distributed"};
constexpr const char* kVerticalNames[] = {nullptr, "top", "center", "justify", "distributed"};
static_assert(std::size(kHorizontalNames) == std::size_t(HAlign::Distributed) + 1);
static_assert(std::size(kVerticalNames) == std::size_t(VAlign::Distributed) + 1);

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

// <name count="n">, item(0) to item(n - 1), </name>.
template <typename Item>
void writeList(XmlWriter& w, const char* name, std::uint32_t count, Item item) {
    w.start(name).attr("count", count).close();
    for (std::uint32_t i = 0; i < count; ++i) {
        item(i);
    }
    w.close(name);
}

void writeFont(XmlWriter& w, const Font& font) {
    w.start("font").close();
    if (font.bold) {
        w.start("b").end();
    }
    w.start("sz").attrNumber("val", font.size).end();
    w.start("name").attr("val", font.name).end();
    w.start("charset").attr("val", 204).end();
    w.close("font");
}

void writeBorder(XmlWriter& w, const Border& border) {
    w.start("border").close();
    writeEdge(w, "left", border.edges[EdgeLeft]);
    writeEdge(w, "right", border.edges[EdgeRight]);
    writeEdge(w, "top", border.edges[EdgeTop]);
    writeEdge(w, "bottom", border.edges[EdgeBottom]);
    w.start("diagonal").end();
    w.close("border");
}

void writeCellFormat(XmlWriter& w, const CellFormat& f) {
    const char* horizontal = kHorizontalNames[std::size_t(f.horizontal)];
    const char* vertical = kVerticalNames[std::size_t(f.vertical)];
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
    if (!horizontal && !vertical) {
        w.end();
        return;
    }
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
}

}  // namespace

std::string styles(const Styles& styles) {
    std::string out;
    XmlWriter w(out);
    w.declaration();
    w.start("styleSheet").attr("xmlns", kMainNs).close();
    // Format 0 is the built-in "General"; the others are the workbook's own.
    if (styles.numberFormatCount() > 1) {
        writeList(w, "numFmts", styles.numberFormatCount() - 1, [&](std::uint32_t i) {
            w.start("numFmt")
                .attr("numFmtId", Styles::numberFormatId(i + 1))
                .attr("formatCode", styles.numberFormat(i + 1))
                .end();
        });
    }
    writeList(w, "fonts", styles.fontCount(),
              [&](std::uint32_t i) { writeFont(w, styles.font(i)); });
    w.raw(
        "<fills count=\"2\"><fill><patternFill patternType=\"none\"/></fill>"
        "<fill><patternFill patternType=\"gray125\"/></fill></fills>");
    writeList(w, "borders", styles.borderCount(),
              [&](std::uint32_t i) { writeBorder(w, styles.border(i)); });
    w.raw(
        "<cellStyleXfs count=\"1\"><xf numFmtId=\"0\" fontId=\"0\" fillId=\"0\" "
        "borderId=\"0\"/></cellStyleXfs>");
    writeList(w, "cellXfs", styles.formatCount(),
              [&](std::uint32_t i) { writeCellFormat(w, styles.format(i)); });
    w.raw(
        "<cellStyles count=\"1\"><cellStyle name=\"Normal\" xfId=\"0\" builtinId=\"0\"/>"
        "</cellStyles>");
    w.close("styleSheet");
    return out;
}

}  // namespace qorv::automation::parts
