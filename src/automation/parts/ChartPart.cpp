#include "automation/Workbook.h"
#include "automation/XmlWriter.h"
#include "automation/parts/Parts.h"

#include <cmath>

namespace qorv::automation::parts {

namespace {

// Axis ids: primary x and y, secondary x and y.
constexpr int kPrimaryX = 1001;
constexpr int kPrimaryY = 1002;
constexpr int kSecondaryX = 1003;
constexpr int kSecondaryY = 1004;
// 31 December 9999, the last day a spreadsheet date can hold.
constexpr double kLastSerialDay = 2958465;

std::string rgb(std::uint32_t packed) {
    // Packed colours hold red in the low byte; the file wants RRGGBB.
    static const char* digits = "0123456789ABCDEF";
    const unsigned parts[3] = {packed & 0xFF, (packed >> 8) & 0xFF, (packed >> 16) & 0xFF};
    std::string out;
    for (unsigned p : parts) {
        out.push_back(digits[p >> 4]);
        out.push_back(digits[p & 15]);
    }
    return out;
}

// A line width in the file's units (EMU, 12700 to the point).
long long lineWidth(int weight) {
    return std::llround(SeriesLineWidth(weight) * 12700);
}

QString reference(const Worksheet& sheet, const RangeRef& range) {
    QString name = sheet.name();
    name.replace(u'\'', QStringLiteral("''"));
    return u'\'' + name + QStringLiteral("'!") + rangeName(range, true);
}

void solidFill(XmlWriter& w, std::uint32_t color) {
    w.raw("<a:solidFill>");
    w.val("a:srgbClr", rgb(color));
    w.raw("</a:solidFill>");
}

void seriesShape(XmlWriter& w, const Series& s) {
    const bool fill = s.fillPattern.has_value();
    const bool dashed = s.lineStyle != xl::Continuous;
    const bool line = s.lineNone || s.lineColor || s.lineWeight || dashed;
    if (!fill && !line) {
        return;
    }
    w.raw("<c:spPr>");
    if (fill) {
        if (*s.fillPattern == xl::None) {
            w.raw("<a:noFill/>");
        } else if (s.fillColor) {
            solidFill(w, *s.fillColor);
        }
    }
    if (line) {
        w.start("a:ln");
        if (s.lineWeight) {
            w.attr("w", lineWidth(*s.lineWeight));
        }
        w.close();
        if (s.lineNone) {
            w.raw("<a:noFill/>");
        } else if (s.lineColor) {
            solidFill(w, *s.lineColor);
        }
        if (dashed && !s.lineNone) {
            w.val("a:prstDash", s.lineStyle == xl::DashDot ? "dashDot" : "dash");
        }
        w.close("a:ln");
    }
    w.raw("</c:spPr>");
}

void marker(XmlWriter& w, const Series& s) {
    const int style = s.markerStyle();
    w.raw("<c:marker>");
    const char* symbol = "none";
    switch (style) {
        case 1:
            symbol = "square";
            break;
        case 2:
            symbol = "diamond";
            break;
        case 3:
            symbol = "triangle";
            break;
        case 8:
            symbol = "circle";
            break;
        case xl::Automatic:
            symbol = "auto";
            break;
        default:
            break;
    }
    w.val("c:symbol", symbol);
    if (style != xl::None) {
        w.val("c:size", s.markerSize());
        if (s.markerBackground || s.markerForeground) {
            w.raw("<c:spPr>");
            if (s.markerBackground) {
                solidFill(w, *s.markerBackground);
            }
            if (s.markerForeground) {
                w.raw("<a:ln>");
                solidFill(w, *s.markerForeground);
                w.raw("</a:ln>");
            }
            w.raw("</c:spPr>");
        }
    }
    w.raw("</c:marker>");
}

// A series added without values yet has no sheet and no references.
void numberReference(XmlWriter& w, const char* element, const Series& s, const RangeRef& range) {
    if (!s.sheet) {
        return;
    }
    w.start(element).close();
    w.raw("<c:numRef>");
    w.element("c:f", reference(*s.sheet, range));
    w.raw("</c:numRef>");
    w.close(element);
}

void series(XmlWriter& w, const Series& s, int index, bool scatter) {
    w.raw("<c:ser>");
    w.val("c:idx", index);
    w.val("c:order", index);
    if (s.literalName) {
        w.raw("<c:tx>");
        w.element("c:v", *s.literalName);
        w.raw("</c:tx>");
    } else if (s.nameCell && s.sheet) {
        w.raw("<c:tx><c:strRef>");
        w.element("c:f", reference(*s.sheet, RangeRef{*s.nameCell, *s.nameCell}));
        w.raw("</c:strRef></c:tx>");
    }
    seriesShape(w, s);
    if (scatter) {
        marker(w, s);
        numberReference(w, "c:xVal", s, s.xValues);
        numberReference(w, "c:yVal", s, s.yValues);
        w.val("c:smooth", 1);
    } else {
        w.val("c:invertIfNegative", 0);
        numberReference(w, "c:cat", s, s.xValues);
        numberReference(w, "c:val", s, s.yValues);
    }
    w.raw("</c:ser>");
}

void chartGroup(XmlWriter& w, const Chart& chart, int group, int xId, int yId) {
    const bool scatter = chart.chartType() == xl::XYScatterSmoothNoMarkers;
    if (scatter) {
        w.raw("<c:scatterChart>");
        w.val("c:scatterStyle", "smoothMarker");
    } else {
        w.raw("<c:barChart>");
        w.val("c:barDir", "col");
        w.val("c:grouping", "clustered");
    }
    w.val("c:varyColors", 0);
    int index = 0;
    for (const Series& s : chart.series()) {
        if (s.axisGroup() == group) {
            series(w, s, index, scatter);
        }
        ++index;
    }
    if (!scatter) {
        w.val("c:gapWidth", 150);
    }
    w.val("c:axId", xId);
    w.val("c:axId", yId);
    w.raw(scatter ? "</c:scatterChart>" : "</c:barChart>");
}

const char* crossesName(int crosses) {
    switch (crosses) {
        case xl::Minimum:
            return "min";
        case xl::Maximum:
            return "max";
        default:
            return "autoZero";
    }
}

const char* displayUnitName(int unit) {
    static const char* names[] = {"hundreds",         "thousands", "tenThousands",
                                  "hundredThousands", "millions",  "tenMillions",
                                  "hundredMillions",  "billions",  "trillions"};
    return unit <= -2 && unit >= -10 ? names[-unit - 2] : nullptr;
}

struct AxisPlacement {
    int id;
    int crossId;
    const char* position;
    bool deleted;
    bool category;       // a category axis of a column chart
    QString formatCode;  // number format of the labels, linked to the cells
};

// `self` is the axis written; `partner` the perpendicular axis of its group, whose Crosses
// says where this axis meets it.
void axis(XmlWriter& w, const AxisPlacement& p, const Axis& self, const Axis& partner,
          bool scatter) {
    const char* element = p.category ? "c:catAx" : "c:valAx";
    w.start(element).close();
    w.val("c:axId", p.id);
    w.raw("<c:scaling>");
    w.val("c:orientation", self.reversePlotOrder ? "maxMin" : "minMax");
    if (!p.category && self.maximum) {
        w.valNumber("c:max", *self.maximum);
    }
    if (!p.category && self.minimum) {
        w.valNumber("c:min", *self.minimum);
    }
    w.raw("</c:scaling>");
    w.val("c:delete", p.deleted ? 1 : 0);
    w.val("c:axPos", p.position);
    if (self.majorGridlines) {
        w.raw("<c:majorGridlines/>");
    }
    if (self.minorGridlines) {
        w.raw("<c:minorGridlines/>");
    }
    w.start("c:numFmt").attr("formatCode", p.formatCode).attr("sourceLinked", 1).end();
    w.val("c:majorTickMark", "out");
    w.val("c:minorTickMark", "none");
    w.val("c:tickLblPos", "nextTo");
    w.val("c:crossAx", p.crossId);
    if (scatter && !p.category && partner.crosses == xl::Maximum) {
        // At the far end of a scatter chart's value axis: LibreOffice reads "max" as the
        // largest value of that axis' own series, which for the hidden secondary time axis
        // puts the secondary value axis inside the plot. A crossing at the last date a
        // spreadsheet knows is the right edge in every program.
        w.valNumber("c:crossesAt", kLastSerialDay);
    } else {
        w.val("c:crosses", crossesName(partner.crosses));
    }
    if (p.category) {
        // Categories are shown one by one, as texts, also when they are dates: a spreadsheet
        // program deciding on a date axis would put every state change of one day on one spot.
        w.val("c:auto", 0);
        w.val("c:lblAlgn", "ctr");
        w.val("c:lblOffset", 100);
        w.val("c:noMultiLvlLbl", 0);
    } else {
        w.val("c:crossBetween", scatter ? "midCat" : "between");
        if (self.majorUnit) {
            w.valNumber("c:majorUnit", *self.majorUnit);
        }
        if (self.minorUnit) {
            w.valNumber("c:minorUnit", *self.minorUnit);
        }
        if (const char* unit = displayUnitName(self.displayUnit)) {
            w.raw("<c:dispUnits>");
            w.val("c:builtInUnit", unit);
            w.raw("</c:dispUnits>");
        }
    }
    w.close(element);
}

// The number format of the first x value, so that time labels read as the cells do.
QString xFormat(const Chart& chart) {
    if (chart.series().empty()) {
        return QStringLiteral("General");
    }
    const Series& s = chart.series().front();
    const std::uint32_t meta =
        s.sheet->cellStore().meta(s.xValues.first.row, s.xValues.first.column);
    const Styles& styles = s.sheet->styles();
    return styles.numberFormat(styles.format(CellStore::formatOf(meta)).numberFormat);
}

// The title as the chart shows it: a one-series chart's default title is the series' name,
// written out so that every program shows the same text; a chart without title says so, so
// that no program adds its own.
void title(XmlWriter& w, const Chart& chart) {
    const bool shown = chart.hasTitle();
    const QString text = chart.titleText();
    if (shown && !text.isEmpty()) {
        w.raw("<c:title><c:tx><c:rich><a:bodyPr/><a:lstStyle/><a:p><a:pPr>");
        w.start("a:defRPr").attr("sz", 1400).attr("b", 1).end();
        w.raw("</a:pPr><a:r>");
        w.start("a:rPr").attr("lang", "ru-RU").attr("sz", 1400).attr("b", 1).end();
        w.element("a:t", text);
        w.raw("</a:r></a:p></c:rich></c:tx><c:overlay val=\"0\"/></c:title>");
    } else if (shown) {
        w.raw("<c:title><c:overlay val=\"0\"/></c:title>");
    }
    w.val("c:autoTitleDeleted", shown ? 0 : 1);
}

}  // namespace

std::string chart(const Chart& chart) {
    std::string out;
    XmlWriter w(out);
    const bool scatter = chart.chartType() == xl::XYScatterSmoothNoMarkers;
    w.declaration();
    w.start("c:chartSpace")
        .attr("xmlns:c", "http://schemas.openxmlformats.org/drawingml/2006/chart")
        .attr("xmlns:a", "http://schemas.openxmlformats.org/drawingml/2006/main")
        .attr("xmlns:r", kRelNs)
        .close();
    w.val("c:roundedCorners", 0);
    w.raw("<c:chart>");
    title(w, chart);
    w.raw("<c:plotArea><c:layout/>");
    chartGroup(w, chart, xl::Primary, kPrimaryX, kPrimaryY);
    const bool secondary = chart.hasSecondaryAxes();
    if (secondary) {
        chartGroup(w, chart, xl::Secondary, kSecondaryX, kSecondaryY);
    }
    const QString timeFormat = xFormat(chart);
    const QString general = QStringLiteral("General");
    const Axis& x1 = chart.axis(xl::Category, xl::Primary);
    const Axis& y1 = chart.axis(xl::Value, xl::Primary);
    axis(w, {kPrimaryX, kPrimaryY, "b", false, !scatter, timeFormat}, x1, y1, scatter);
    axis(w, {kPrimaryY, kPrimaryX, "l", false, false, general}, y1, x1, scatter);
    if (secondary) {
        const Axis& x2 = chart.axis(xl::Category, xl::Secondary);
        const Axis& y2 = chart.axis(xl::Value, xl::Secondary);
        axis(w, {kSecondaryX, kSecondaryY, "b", true, !scatter, timeFormat}, x2, y2, scatter);
        axis(w, {kSecondaryY, kSecondaryX, "r", false, false, general}, y2, x2, scatter);
    }
    w.raw("</c:plotArea>");
    if (chart.hasLegend()) {
        w.raw("<c:legend><c:legendPos val=\"r\"/><c:overlay val=\"0\"/></c:legend>");
    }
    w.val("c:plotVisOnly", 1);
    w.val("c:dispBlanksAs", "gap");
    w.raw("</c:chart>");
    w.close("c:chartSpace");
    return out;
}

}  // namespace qorv::automation::parts
