#include "automation/print/SheetPainter.h"

#include "automation/Styles.h"
#include "automation/Workbook.h"
#include "automation/Worksheet.h"
#include "automation/print/ChartPainter.h"

#include <QGlyphRun>
#include <QPainter>

#include <algorithm>
#include <array>

namespace qorv::automation {

namespace {

// Space between a cell's edge and its text, as spreadsheet programs leave it (2 pixels).
constexpr double kTextPadding = 1.5;

double BorderWidth(const BorderLine& line) {
    switch (line.weight) {
        case 1:  // hairline
            return 0.25;
        case -4138:  // medium
            return 1.5;
        case 4:  // thick
            return 2.25;
        default:  // thin
            return 0.5;
    }
}

double EdgeWidth(const Styles& styles, const CellStore& cells, int row, int column, Edge edge) {
    const std::uint32_t meta = cells.meta(row, column);
    if (meta == 0) {
        return 0;
    }
    const std::uint32_t border = styles.format(CellStore::formatOf(meta)).border;
    if (border == 0) {
        return 0;
    }
    const BorderLine& line = styles.border(border).edges[std::size_t(edge)];
    return line.lineStyle == -4142 ? 0 : BorderWidth(line);
}

// Collects border segments and draws each width's segments in one call, collinear neighbours
// joined.
class BorderLines {
  public:
    // Adds a segment from a to b along one line (horizontal when `horizontal`).
    void add(double width, bool horizontal, double at, double from, double to) {
        if (width <= 0) {
            return;
        }
        auto& runs = (horizontal ? horizontal_ : vertical_)[width][at];
        if (!runs.empty() && std::abs(runs.back().second - from) < 1e-9) {
            runs.back().second = to;
        } else {
            runs.push_back({from, to});
        }
    }

    void draw(QPainter& painter) const {
        for (const bool horizontal : {true, false}) {
            for (const auto& [width, lines] : horizontal ? horizontal_ : vertical_) {
                QVector<QLineF> segments;
                for (const auto& [at, runs] : lines) {
                    for (const auto& [from, to] : runs) {
                        segments << (horizontal ? QLineF(from, at, to, at)
                                                : QLineF(at, from, at, to));
                    }
                }
                QPen pen(Qt::black, width, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin);
                painter.setPen(pen);
                painter.drawLines(segments);
            }
        }
    }

  private:
    using Runs = std::vector<std::pair<double, double>>;
    std::map<double, std::map<double, Runs>> horizontal_;
    std::map<double, std::map<double, Runs>> vertical_;
};

}  // namespace

QString PrintFamily(const QString& spreadsheetFont) {
    const QString name = spreadsheetFont.trimmed().toLower();
    if (name == QLatin1String("arial narrow")) {
        return QStringLiteral("Liberation Sans Narrow");
    }
    if (name.startsWith(QLatin1String("arial")) || name == QLatin1String("helvetica")) {
        return QStringLiteral("Liberation Sans");
    }
    if (name.startsWith(QLatin1String("times new roman"))) {
        return QStringLiteral("Liberation Serif");
    }
    if (name.startsWith(QLatin1String("courier new"))) {
        return QStringLiteral("Liberation Mono");
    }
    return spreadsheetFont;
}

struct SheetPainter::Typeface {
    QFont font;
    QRawFont raw;
    double ascent = 0;
    double descent = 0;
    // Glyph and advance of each character of the Basic Multilingual Plane, looked up on first
    // use; glyph 0 means the font has none (the text is then drawn with fallback fonts).
    std::vector<quint32> glyphs;
    std::vector<float> advances;
    std::vector<bool> known;

    explicit Typeface(const Font& f) {
        font = QFont(PrintFamily(f.name));
        font.setPointSizeF(f.size);
        font.setBold(f.bold);
        font.setKerning(false);
        font.setHintingPreference(QFont::PreferNoHinting);
        raw = QRawFont::fromFont(font);
        raw.setPixelSize(f.size);
        ascent = raw.ascent();
        descent = raw.descent();
        glyphs.assign(0x10000, 0);
        advances.assign(0x10000, 0);
        known.assign(0x10000, false);
    }

    void look(char16_t c) {
        if (known[c]) {
            return;
        }
        known[c] = true;
        const QChar ch(c);
        quint32 glyph = 0;
        int count = 1;
        if (!QChar::isSurrogate(c) && raw.glyphIndexesForChars(&ch, 1, &glyph, &count)) {
            glyphs[c] = glyph;
            QPointF advance;
            raw.advancesForGlyphIndexes(&glyph, &advance, 1, QRawFont::UseDesignMetrics);
            advances[c] = float(advance.x());
        }
    }

    // Width of a text, and whether every character has a glyph in this font.
    double width(QStringView text, bool& complete) {
        double w = 0;
        complete = true;
        for (QChar c : text) {
            look(c.unicode());
            complete = complete && glyphs[c.unicode()] != 0;
            w += advances[c.unicode()];
        }
        return w;
    }

    // Adds the text from `left` on `baseline` to the page's glyphs of this font, leaving out
    // the characters that end past `limit`. The page's glyphs of one font go out as one glyph
    // run: a few calls per page instead of one per cell keep a long report's PDF quick to make
    // and small.
    void add(QStringView text, double left, double baseline, double limit) {
        double x = left;
        for (QChar c : text) {
            const float advance = advances[c.unicode()];
            if (x + advance > limit + 1e-6) {
                break;
            }
            pageGlyphs << glyphs[c.unicode()];
            pagePositions << QPointF(x, baseline);
            x += advance;
        }
    }

    void flush(QPainter& painter) {
        if (pageGlyphs.isEmpty()) {
            return;
        }
        QGlyphRun run;
        run.setRawFont(raw);
        run.setGlyphIndexes(pageGlyphs);
        run.setPositions(pagePositions);
        painter.drawGlyphRun(QPointF(0, 0), run);
        pageGlyphs.clear();
        pagePositions.clear();
    }

    QList<quint32> pageGlyphs;
    QList<QPointF> pagePositions;
};

SheetPainter::SheetPainter(const Worksheet& sheet, const DisplayLocale& locale)
    : sheet_(sheet), locale_(locale), texts_(sheet, locale) {}

SheetPainter::~SheetPainter() = default;

SheetPainter::Typeface& SheetPainter::typeface(std::uint32_t fontIndex) {
    auto found = typefaces_.find(fontIndex);
    if (found == typefaces_.end()) {
        found = typefaces_
                    .emplace(fontIndex,
                             std::make_unique<Typeface>(sheet_.workbook().styles().font(fontIndex)))
                    .first;
    }
    return *found->second;
}

void SheetPainter::paint(QPainter& painter, const PrintPage& page) {
    rowTop_.assign(std::size_t(page.lastRow - page.firstRow + 2), 0);
    for (int row = page.firstRow; row <= page.lastRow; ++row) {
        const std::size_t i = std::size_t(row - page.firstRow);
        rowTop_[i + 1] = rowTop_[i] + sheet_.rowHeight(row);
    }
    columnLeft_.assign(std::size_t(page.lastColumn - page.firstColumn + 2), 0);
    for (int column = page.firstColumn; column <= page.lastColumn; ++column) {
        const std::size_t i = std::size_t(column - page.firstColumn);
        columnLeft_[i + 1] = columnLeft_[i] + sheet_.columnWidthPoints(column);
    }
    paintCharts(painter, page);
    paintBorders(painter, page);
    paintTexts(painter, page);
}

void SheetPainter::paintTexts(QPainter& painter, const PrintPage& page) {
    const CellStore& cells = sheet_.cellStore();
    const Styles& styles = sheet_.workbook().styles();
    painter.setPen(Qt::black);
    const double pageRight = columnLeft_.back();
    for (int row = page.firstRow; row <= page.lastRow; ++row) {
        const double top = rowTop_[std::size_t(row - page.firstRow)];
        const double height = rowTop_[std::size_t(row - page.firstRow) + 1] - top;
        for (int column = page.firstColumn; column <= page.lastColumn; ++column) {
            const std::uint32_t meta = cells.meta(row, column);
            if (CellStore::typeOf(meta) == CellType::Empty) {
                continue;
            }
            const QString text = texts_.at(row, column);
            if (text.isEmpty()) {
                continue;
            }
            const CellFormat& format = styles.format(CellStore::formatOf(meta));
            Typeface& face = typeface(format.font);
            bool complete = true;
            const double width = face.width(text, complete);
            const std::size_t c = std::size_t(column - page.firstColumn);
            double left = columnLeft_[c];
            double right = columnLeft_[c + 1];
            const bool number = CellStore::typeOf(meta) == CellType::Number;
            HAlign align = format.horizontal;
            if (align == HAlign::General) {
                align = number ? HAlign::Right : HAlign::Left;
            }
            // Text runs on into empty neighbours on the side it grows to, within the page.
            if (!number && width + 2 * kTextPadding > right - left) {
                auto empty = [&](int col) {
                    return CellStore::typeOf(cells.meta(row, col)) == CellType::Empty;
                };
                if (align != HAlign::Right) {
                    for (int next = column + 1; next <= page.lastColumn && empty(next) &&
                                                right - left < width + 2 * kTextPadding;
                         ++next) {
                        right = columnLeft_[std::size_t(next - page.firstColumn) + 1];
                    }
                }
                if (align != HAlign::Left) {
                    for (int previous = column - 1;
                         previous >= page.firstColumn && empty(previous) &&
                         right - left < width + 2 * kTextPadding;
                         --previous) {
                        left = columnLeft_[std::size_t(previous - page.firstColumn)];
                    }
                }
            }
            double x = left + kTextPadding;
            if (align == HAlign::Right) {
                x = columnLeft_[c + 1] - kTextPadding - width;
            } else if (align == HAlign::Center || align == HAlign::CenterAcross) {
                const double middle = (columnLeft_[c] + columnLeft_[c + 1]) / 2;
                x = std::max(left, middle - width / 2);
            }
            double baseline = top + height - face.descent - 1;  // bottom
            if (format.vertical == VAlign::Center) {
                baseline = top + (height + face.ascent - face.descent) / 2;
            } else if (format.vertical == VAlign::Top) {
                baseline = top + face.ascent + 1;
            }
            const double limit = std::min(right, pageRight);
            if (complete) {
                face.add(text, std::max(x, left), baseline, limit);
            } else {
                // Characters the font lacks: let Qt find fallback fonts, within the cell.
                painter.save();
                painter.setClipRect(QRectF(left, top, limit - left, height));
                painter.setFont(face.font);
                painter.drawText(QPointF(std::max(x, left), baseline), text);
                painter.restore();
            }
        }
    }
    for (auto& [index, face] : typefaces_) {
        face->flush(painter);
    }
}

void SheetPainter::paintBorders(QPainter& painter, const PrintPage& page) {
    const CellStore& cells = sheet_.cellStore();
    const Styles& styles = sheet_.workbook().styles();
    BorderLines lines;
    // Each edge between two cells is drawn once, in the wider of the two cells' lines.
    for (int row = page.firstRow; row <= page.lastRow + 1; ++row) {
        const double y = rowTop_[std::size_t(row - page.firstRow)];
        for (int column = page.firstColumn; column <= page.lastColumn; ++column) {
            double width = 0;
            if (row > page.firstRow) {
                width = EdgeWidth(styles, cells, row - 1, column, EdgeBottom);
            }
            if (row <= page.lastRow) {
                width = std::max(width, EdgeWidth(styles, cells, row, column, EdgeTop));
            }
            const std::size_t c = std::size_t(column - page.firstColumn);
            lines.add(width, true, y, columnLeft_[c], columnLeft_[c + 1]);
        }
    }
    for (int column = page.firstColumn; column <= page.lastColumn + 1; ++column) {
        const double x = columnLeft_[std::size_t(column - page.firstColumn)];
        for (int row = page.firstRow; row <= page.lastRow; ++row) {
            double width = 0;
            if (column > page.firstColumn) {
                width = EdgeWidth(styles, cells, row, column - 1, EdgeRight);
            }
            if (column <= page.lastColumn) {
                width = std::max(width, EdgeWidth(styles, cells, row, column, EdgeLeft));
            }
            const std::size_t r = std::size_t(row - page.firstRow);
            lines.add(width, false, x, rowTop_[r], rowTop_[r + 1]);
        }
    }
    lines.draw(painter);
}

void SheetPainter::paintCharts(QPainter& painter, const PrintPage& page) {
    const QRectF pageRect(0, 0, columnLeft_.back(), rowTop_.back());
    for (const auto& shape : sheet_.shapeList()) {
        // Row tops are sums over every row above: look at them only for a chart on this page.
        if (shape->to().row < page.firstRow || shape->from().row > page.lastRow ||
            shape->to().column < page.firstColumn || shape->from().column > page.lastColumn) {
            continue;
        }
        const double pageTop = sheet_.rowTop(page.firstRow);
        const double pageLeft = sheet_.columnLeft(page.firstColumn);
        const QRectF rect(shape->left() - pageLeft, shape->top() - pageTop, shape->width(),
                          shape->height());
        if (!rect.intersects(pageRect)) {
            continue;
        }
        painter.save();
        if (!pageRect.contains(rect)) {
            painter.setClipRect(pageRect);
        }
        ChartPainter(shape->chart(), locale_).paint(painter, rect);
        painter.restore();
    }
}

}  // namespace qorv::automation
