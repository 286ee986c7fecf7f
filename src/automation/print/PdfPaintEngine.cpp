#include "automation/print/PdfPaintEngine.h"

#include "automation/print/PdfContent.h"
#include "automation/print/PdfDocument.h"

#include <QGlyphRun>
#include <QImage>
#include <QPixmap>
#include <QRawFont>
#include <QTextLayout>

#include <climits>
#include <cmath>
#include <map>

namespace qorv::automation {

namespace {

// How much a transformation enlarges lengths (the same in every direction for the
// translations and uniform scales pages use).
double LengthScale(const QTransform& m) {
    return std::sqrt(std::abs(m.m11() * m.m22() - m.m12() * m.m21()));
}

void AppendColour(std::string& out, const QColor& colour) {
    pdf::AppendNumber(out, colour.redF());
    pdf::AppendNumber(out, colour.greenF());
    pdf::AppendNumber(out, colour.blueF());
}

void AppendMatrix(std::string& out, const QTransform& m) {
    for (const double value : {m.m11(), m.m12(), m.m21(), m.m22(), m.dx(), m.dy()}) {
        pdf::AppendNumber(out, value);
    }
}

}  // namespace

PdfPaintEngine::PdfPaintEngine(PdfDocument& document)
    : QPaintEngine(QPaintEngine::AllFeatures), document_(document) {}

PdfPaintEngine::~PdfPaintEngine() = default;

bool PdfPaintEngine::begin(QPaintDevice* device) {
    if (content_ == nullptr) {
        return false;
    }
    device_ = device;
    matrix_ = QTransform();
    pen_ = QPen();
    brush_ = QBrush();
    clips_.clear();
    clipEnabled_ = false;
    strokeState_.clear();
    fillColour_.clear();
    *content_ += "q\n";
    setActive(true);
    return true;
}

bool PdfPaintEngine::end() {
    *content_ += "Q\n";
    setActive(false);
    return true;
}

void PdfPaintEngine::updateState(const QPaintEngineState& state) {
    const DirtyFlags flags = state.state();
    if (flags & DirtyTransform) {
        matrix_ = state.transform();
    }
    if (flags & DirtyPen) {
        pen_ = state.pen();
    }
    if (flags & DirtyBrush) {
        brush_ = state.brush();
    }
    bool clipChanged = false;
    if (flags & DirtyClipPath) {
        setClip(state.clipPath(), state.clipOperation());
        clipChanged = true;
    } else if (flags & DirtyClipRegion) {
        QPainterPath path;
        path.addRegion(state.clipRegion());
        setClip(path, state.clipOperation());
        clipChanged = true;
    }
    if (flags & DirtyClipEnabled) {
        clipChanged = clipChanged || clipEnabled_ != state.isClipEnabled();
        clipEnabled_ = state.isClipEnabled();
    }
    if (clipChanged) {
        writeClip();
    }
}

void PdfPaintEngine::setClip(const QPainterPath& path, Qt::ClipOperation operation) {
    if (operation == Qt::NoClip) {
        clips_.clear();
        clipEnabled_ = false;
        return;
    }
    if (operation == Qt::ReplaceClip) {
        clips_.clear();
    }
    clips_.push_back(matrix_.map(path));
    clipEnabled_ = true;
}

// A clip can only narrow within "q": the state goes back to the page's and the clip is set
// anew, and colours and line styles are set again when next used.
void PdfPaintEngine::writeClip() {
    *content_ += "Q q\n";
    strokeState_.clear();
    fillColour_.clear();
    if (!clipEnabled_) {
        return;
    }
    const QTransform kept = matrix_;
    matrix_ = QTransform();
    for (const QPainterPath& clip : clips_) {
        writePath(clip);
        *content_ += clip.fillRule() == Qt::OddEvenFill ? "W* n\n" : "W n\n";
    }
    matrix_ = kept;
}

void PdfPaintEngine::point(const QPointF& p) {
    const QPointF at = matrix_.map(p);
    pdf::AppendNumber(*content_, at.x());
    pdf::AppendNumber(*content_, at.y());
}

void PdfPaintEngine::writePath(const QPainterPath& path) {
    std::string& out = *content_;
    QPointF start;
    QPointF last;
    for (int i = 0; i < path.elementCount(); ++i) {
        const QPainterPath::Element& e = path.elementAt(i);
        switch (e.type) {
            case QPainterPath::MoveToElement:
                if (i > 0 && last == start) {
                    out += "h\n";
                }
                point(e);
                out += "m\n";
                start = e;
                break;
            case QPainterPath::LineToElement:
                point(e);
                out += "l\n";
                break;
            case QPainterPath::CurveToElement:
                point(e);
                if (i + 2 < path.elementCount()) {
                    point(path.elementAt(i + 1));
                    point(path.elementAt(i + 2));
                    i += 2;
                }
                out += "c\n";
                break;
            case QPainterPath::CurveToDataElement:
                break;
        }
        last = path.elementAt(i);
    }
    if (path.elementCount() > 1 && last == start) {
        out += "h\n";
    }
}

void PdfPaintEngine::writeStrokeState() {
    std::string state;
    AppendColour(state, pen_.color());
    state += "RG ";
    const double scale = LengthScale(matrix_);
    const double width = pen_.isCosmetic() ? pen_.widthF() : pen_.widthF() * scale;
    pdf::AppendNumber(state, width);
    state += "w ";
    switch (pen_.capStyle()) {
        case Qt::SquareCap:
            state += "2 J ";
            break;
        case Qt::RoundCap:
            state += "1 J ";
            break;
        default:
            state += "0 J ";
            break;
    }
    switch (pen_.joinStyle()) {
        case Qt::RoundJoin:
            state += "1 j ";
            break;
        case Qt::BevelJoin:
            state += "2 j ";
            break;
        default:
            state += "0 j ";
            pdf::AppendNumber(state, std::max(1.0, pen_.miterLimit()));
            state += "M ";
            break;
    }
    state += '[';
    if (pen_.style() != Qt::SolidLine) {
        // Dashes are measured in pen widths, a hairline's in units.
        const double unit =
            (pen_.widthF() < 0.001 ? 1.0 : pen_.widthF()) * (pen_.isCosmetic() ? 1.0 : scale);
        for (const double dash : pen_.dashPattern()) {
            pdf::AppendNumber(state, dash * unit);
        }
        state += "] ";
        pdf::AppendNumber(state, pen_.dashOffset() * unit);
    } else {
        state += "] 0 ";
    }
    state += "d\n";
    if (state != strokeState_) {
        *content_ += state;
        strokeState_ = std::move(state);
    }
}

void PdfPaintEngine::writeFillColour(const QColor& colour) {
    std::string fill;
    AppendColour(fill, colour);
    fill += "rg\n";
    if (fill != fillColour_) {
        *content_ += fill;
        fillColour_ = std::move(fill);
    }
}

// Colours and line styles cannot change between a path and its painting: the callers set them
// before they write the path.
void PdfPaintEngine::paintWritten(bool fill, bool oddEven) {
    const bool filled = fill && brush_.style() != Qt::NoBrush;
    const bool stroked = pen_.style() != Qt::NoPen;
    if (filled && stroked) {
        *content_ += oddEven ? "B*\n" : "B\n";
    } else if (filled) {
        *content_ += oddEven ? "f*\n" : "f\n";
    } else if (stroked) {
        *content_ += "S\n";
    } else {
        *content_ += "n\n";
    }
}

void PdfPaintEngine::drawPath(const QPainterPath& path) {
    if (brush_.style() != Qt::NoBrush) {
        writeFillColour(brush_.color());
    }
    if (pen_.style() != Qt::NoPen) {
        writeStrokeState();
    }
    writePath(path);
    paintWritten(true, path.fillRule() == Qt::OddEvenFill);
}

void PdfPaintEngine::drawPolygon(const QPointF* points, int count, PolygonDrawMode mode) {
    if (count < 2) {
        return;
    }
    const bool fill = mode != PolylineMode;
    if (fill && brush_.style() != Qt::NoBrush) {
        writeFillColour(brush_.color());
    }
    if (pen_.style() != Qt::NoPen) {
        writeStrokeState();
    }
    for (int i = 0; i < count; ++i) {
        point(points[i]);
        *content_ += i == 0 ? "m\n" : "l\n";
    }
    if (fill) {
        *content_ += "h\n";
    }
    paintWritten(fill, mode == OddEvenMode);
}

void PdfPaintEngine::drawLines(const QLineF* lines, int count) {
    if (pen_.style() == Qt::NoPen || count <= 0) {
        return;
    }
    writeStrokeState();
    for (int i = 0; i < count; ++i) {
        point(lines[i].p1());
        *content_ += "m ";
        point(lines[i].p2());
        *content_ += "l\n";
    }
    *content_ += "S\n";
}

void PdfPaintEngine::drawRects(const QRectF* rects, int count) {
    for (int i = 0; i < count; ++i) {
        QPainterPath path;
        path.addRect(rects[i]);
        drawPath(path);
    }
}

void PdfPaintEngine::drawPixmap(const QRectF& rect, const QPixmap& pixmap, const QRectF& source) {
    drawImage(rect, pixmap.toImage(), source, Qt::AutoColor);
}

void PdfPaintEngine::drawImage(const QRectF& rect, const QImage& image, const QRectF& source,
                               Qt::ImageConversionFlags) {
    const QImage part = source == QRectF(image.rect()) ? image : image.copy(source.toRect());
    if (part.isNull() || rect.isEmpty()) {
        return;
    }
    const int picture = document_.image(part);
    // The picture's unit square, its top row first, onto the rectangle.
    const QTransform place =
        QTransform(rect.width(), 0, 0, -rect.height(), rect.left(), rect.bottom()) * matrix_;
    *content_ += "q ";
    AppendMatrix(*content_, place);
    *content_ += "cm /Im" + std::to_string(picture) + " Do Q\n";
}

void PdfPaintEngine::drawTextItem(const QPointF& origin, const QTextItem& item) {
    const QString text = item.text();
    if (text.isEmpty()) {
        return;
    }
    // The item laid out again as the painter did, in the same font on the same device, for
    // its glyphs and their places.
    QTextLayout layout(text, item.font(), device_);
    layout.beginLayout();
    QTextLine line = layout.createLine();
    layout.endLayout();
    if (!line.isValid()) {
        return;
    }
    const double ascent = line.ascent();
    for (const QGlyphRun& run : layout.glyphRuns()) {
        const QList<quint32> glyphs = run.glyphIndexes();
        QList<QPointF> origins = run.positions();
        for (QPointF& p : origins) {
            p += origin - QPointF(0, ascent);
        }
        drawGlyphs(run.rawFont(), glyphs.constData(), origins.constData(), int(glyphs.size()),
                   text);
    }
}

void PdfPaintEngine::drawGlyphs(const QRawFont& raw, const quint32* glyphs, const QPointF* origins,
                                int count, QStringView text) {
    if (count <= 0) {
        return;
    }
    const int font = document_.font(raw);
    const double size = raw.pixelSize();
    if (font < 0 || size <= 0) {
        // Outlines in the pen's colour, where the font cannot go into the file.
        const QBrush brush = brush_;
        const QPen pen = pen_;
        brush_ = QBrush(pen.color());
        pen_ = QPen(Qt::NoPen);
        QPainterPath outlines;
        outlines.setFillRule(Qt::WindingFill);
        for (int i = 0; i < count; ++i) {
            outlines.addPath(raw.pathForGlyph(glyphs[i]).translated(origins[i]));
        }
        drawPath(outlines);
        brush_ = brush;
        pen_ = pen;
        return;
    }
    // What each glyph reads as, where a character maps to it.
    std::map<quint32, QString> reads;
    if (!text.isEmpty()) {
        QList<quint32> indexes(text.size());
        int found = int(indexes.size());
        if (raw.glyphIndexesForChars(text.data(), int(text.size()), indexes.data(), &found)) {
            for (int i = 0; i < found && i < text.size(); ++i) {
                reads.try_emplace(indexes[i], QString(text[i]));
            }
        }
    }
    std::string& out = *content_;
    const bool emboldened = document_.emboldened(font);
    if (emboldened) {
        // Outlines stroked as well as filled, as Qt thickens a font that has no bold.
        out += "q 2 Tr ";
        AppendColour(out, pen_.color());
        out += "RG ";
        pdf::AppendNumber(out, size * LengthScale(matrix_) / 30);
        out += "w\n";
        fillColour_.clear();
    }
    writeFillColour(pen_.color());
    const QTransform m = matrix_;
    // Text space: the glyphs' size along the baseline, their up turned against the page's y.
    const QTransform textSpace(size * m.m11(), size * m.m12(), -size * m.m21(), -size * m.m22(), 0,
                               0);
    out += "BT /F" + std::to_string(font) + " 1 Tf\n";
    int i = 0;
    while (i < count) {
        const QPointF start = m.map(origins[i]);
        AppendMatrix(out, QTransform(textSpace.m11(), textSpace.m12(), textSpace.m21(),
                                     textSpace.m22(), start.x(), start.y()));
        out += "Tm [<";
        // Glyphs on one baseline go into one string; a glyph off where the one before it ends
        // moves by a kerning step.
        int j = i;
        for (; j < count && (j == i || origins[j].y() == origins[i].y()); ++j) {
            if (j > i) {
                const double expected =
                    origins[j - 1].x() + document_.advance(font, glyphs[j - 1]) * size / 1000;
                const double step = (origins[j].x() - expected) / size * 1000;
                if (std::abs(step) > 0.0005) {
                    out += "> ";
                    pdf::AppendNumber(out, -step);
                    out += '<';
                }
            }
            pdf::AppendGlyph(out, glyphs[j]);
            const auto read = reads.find(glyphs[j]);
            document_.useGlyph(font, glyphs[j],
                               read != reads.end() ? QStringView(read->second) : QStringView());
        }
        out += ">] TJ\n";
        i = j;
    }
    out += "ET\n";
    if (emboldened) {
        out += "Q\n";
        fillColour_.clear();
    }
}

PdfPageDevice::PdfPageDevice(PdfDocument& document)
    : engine_(std::make_unique<PdfPaintEngine>(document)) {}

PdfPageDevice::~PdfPageDevice() = default;

void PdfPageDevice::setPage(std::string* content, const QSizeF& size) {
    engine_->setContent(content);
    size_ = size;
}

QPaintEngine* PdfPageDevice::paintEngine() const {
    return engine_.get();
}

int PdfPageDevice::metric(PaintDeviceMetric metric) const {
    switch (metric) {
        case PdmWidth:
            return qRound(size_.width());
        case PdmHeight:
            return qRound(size_.height());
        case PdmWidthMM:
            return qRound(size_.width() * 25.4 / 72);
        case PdmHeightMM:
            return qRound(size_.height() * 25.4 / 72);
        case PdmNumColors:
            return INT_MAX;
        case PdmDepth:
            return 32;
        case PdmDpiX:
        case PdmDpiY:
        case PdmPhysicalDpiX:
        case PdmPhysicalDpiY:
            return 72;
        case PdmDevicePixelRatio:
            return 1;
        case PdmDevicePixelRatioScaled:
            return int(QPaintDevice::devicePixelRatioFScale());
        default:
            return 0;
    }
}

}  // namespace qorv::automation
