#include "automation/print/SheetPainter.h"

#include "automation/Styles.h"
#include "automation/Workbook.h"
#include "automation/Worksheet.h"
#include "automation/print/ChartPainter.h"
#include "files/Precision.h"

#include <QFont>
#include <QGlyphRun>
#include <QPainter>
#include <QRawFont>

#include <algorithm>
#include <condition_variable>
#include <deque>
#include <exception>
#include <mutex>
#include <thread>
#include <tuple>
#include <utility>

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
    // Windows has the fonts themselves; "Arial Cyr" and the like are older names of Arial.
    struct Family {
        const char* name;  // lower case
        bool orLonger;     // also the names that start with it
        const char* windows;
        const char* elsewhere;
    };
    static constexpr Family kFamilies[] = {
        {"arial narrow", false, "Arial Narrow", "Liberation Sans Narrow"},
        {"arial", true, "Arial", "Liberation Sans"},
        {"helvetica", false, "Arial", "Liberation Sans"},
        {"times new roman", true, "Times New Roman", "Liberation Serif"},
        {"courier new", true, "Courier New", "Liberation Mono"},
    };
    const QString name = spreadsheetFont.trimmed().toLower();
    for (const Family& family : kFamilies) {
        const QLatin1String known(family.name);
        if (family.orLonger ? name.startsWith(known) : name == known) {
#ifdef _WIN32
            return QString::fromLatin1(family.windows);
#else
            return QString::fromLatin1(family.elsewhere);
#endif
        }
    }
    return spreadsheetFont;
}

// A font as the pages print it, with the glyph and advance of every character the texts are
// likely to hold (Latin, Latin-1, Greek, Cyrillic, punctuation, letter-like symbols such as
// "№"), looked up once before layout starts so that the layout thread only reads the tables.
// A character outside them, or one the font lacks, makes its text fall back to Qt's own text
// drawing with its font fallbacks.
struct SheetPainter::Typeface {
    QFont font;
    QRawFont raw;
    double ascent = 0;
    double descent = 0;
    std::vector<quint32> glyphs;  // by character; 0: no glyph here
    std::vector<float> advances;

    explicit Typeface(const Font& f) : glyphs(0x10000, 0), advances(0x10000, 0) {
        font = QFont(PrintFamily(f.name));
        font.setPointSizeF(f.size);
        font.setBold(f.bold);
        font.setKerning(false);
        font.setHintingPreference(QFont::PreferNoHinting);
        raw = QRawFont::fromFont(font);
        raw.setPixelSize(f.size);
        ascent = raw.ascent();
        descent = raw.descent();
        static const std::pair<char16_t, char16_t> kRanges[] = {
            {0x20, 0x7E},     {0xA0, 0x17F},    {0x370, 0x3FF},   {0x400, 0x52F},  {0x2010, 0x206F},
            {0x20AC, 0x20BD}, {0x2100, 0x215F}, {0x2190, 0x21FF}, {0x2200, 0x22FF}};
        for (const auto& [first, last] : kRanges) {
            QString chars;
            for (char16_t c = first; c <= last; ++c) {
                chars += QChar(c);
            }
            QList<quint32> indexes(chars.size());
            int count = int(indexes.size());
            if (!raw.glyphIndexesForChars(chars.constData(), int(chars.size()), indexes.data(),
                                          &count)) {
                continue;
            }
            QList<QPointF> steps(indexes.size());
            raw.advancesForGlyphIndexes(indexes.data(), steps.data(), int(indexes.size()),
                                        QRawFont::UseDesignMetrics);
            for (qsizetype i = 0; i < chars.size() && i < count; ++i) {
                glyphs[chars[i].unicode()] = indexes[i];
                advances[chars[i].unicode()] = float(steps[i].x());
            }
        }
    }

    // Width of a text, and whether every character has a glyph in the table.
    double width(QStringView text, bool& complete) const {
        double w = 0;
        complete = true;
        for (QChar c : text) {
            complete = complete && glyphs[c.unicode()] != 0;
            w += advances[c.unicode()];
        }
        return w;
    }
};

// One page laid out: what the painter draws, nothing left to compute.
struct SheetPainter::PagePlan {
    // Tops and lefts of the page's rows and columns from its corner, with the far edges.
    std::vector<double> rowTop;
    std::vector<double> columnLeft;
    // The page's glyphs of each font, drawn as one glyph run per font: a few calls per page
    // instead of one per cell keep a long report's PDF quick to make and small.
    struct Glyphs {
        QList<quint32> indexes;
        QList<QPointF> positions;
    };
    std::map<std::uint32_t, Glyphs> glyphs;
    // Texts with a character the tables lack, drawn by Qt within their cell.
    struct Fallback {
        std::uint32_t font = 0;
        QRectF clip;
        QPointF origin;
        QString text;
    };
    std::vector<Fallback> fallbacks;
    BorderLines borders;
};

SheetPainter::SheetPainter(const Worksheet& sheet, const DisplayLocale& locale)
    : sheet_(sheet), locale_(locale), texts_(std::make_unique<CellTexts>(sheet, locale)) {
    const Styles& styles = sheet.workbook().styles();
    for (std::uint32_t i = 0; i < styles.fontCount(); ++i) {
        typefaces_.emplace(i, std::make_unique<Typeface>(styles.font(i)));
    }
}

SheetPainter::~SheetPainter() = default;

SheetPainter::PagePlan SheetPainter::plan(const PrintPage& page) const {
    PagePlan plan;
    measureGrid(page, plan);
    placeTexts(page, plan);
    placeBorders(page, plan);
    return plan;
}

void SheetPainter::measureGrid(const PrintPage& page, PagePlan& plan) const {
    plan.rowTop.assign(std::size_t(page.lastRow - page.firstRow + 2), 0);
    for (int row = page.firstRow; row <= page.lastRow; ++row) {
        const std::size_t i = std::size_t(row - page.firstRow);
        plan.rowTop[i + 1] = plan.rowTop[i] + sheet_.rowHeight(row);
    }
    plan.columnLeft.assign(std::size_t(page.lastColumn - page.firstColumn + 2), 0);
    for (int column = page.firstColumn; column <= page.lastColumn; ++column) {
        const std::size_t i = std::size_t(column - page.firstColumn);
        plan.columnLeft[i + 1] = plan.columnLeft[i] + sheet_.columnWidthPoints(column);
    }
}

void SheetPainter::placeTexts(const PrintPage& page, PagePlan& plan) const {
    const CellStore& cells = sheet_.cellStore();
    for (int row = page.firstRow; row <= page.lastRow; ++row) {
        for (int column = page.firstColumn; column <= page.lastColumn; ++column) {
            if (CellStore::typeOf(cells.meta(row, column)) != CellType::Empty) {
                placeText(page, row, column, plan);
            }
        }
    }
}

namespace {

// The left and right of the space a text of `width` (padding included) has: its cell, run on
// into the empty neighbours on the side the text grows to, within the page.
std::pair<double, double> TextSpan(const CellStore& cells, const PrintPage& page,
                                   const std::vector<double>& columnLeft, int row, int column,
                                   HAlign align, double width) {
    const std::size_t c = std::size_t(column - page.firstColumn);
    double left = columnLeft[c];
    double right = columnLeft[c + 1];
    auto empty = [&](int col) {
        return CellStore::typeOf(cells.meta(row, col)) == CellType::Empty;
    };
    if (align != HAlign::Right) {
        for (int next = column + 1; next <= page.lastColumn && empty(next) && right - left < width;
             ++next) {
            right = columnLeft[std::size_t(next - page.firstColumn) + 1];
        }
    }
    if (align != HAlign::Left) {
        for (int previous = column - 1;
             previous >= page.firstColumn && empty(previous) && right - left < width; --previous) {
            left = columnLeft[std::size_t(previous - page.firstColumn)];
        }
    }
    return {left, right};
}

}  // namespace

void SheetPainter::placeText(const PrintPage& page, int row, int column, PagePlan& plan) const {
    const QString text = texts_->at(row, column);
    if (text.isEmpty()) {
        return;
    }
    const std::uint32_t meta = sheet_.cellStore().meta(row, column);
    const CellFormat& format = sheet_.workbook().styles().format(CellStore::formatOf(meta));
    const Typeface& face = *typefaces_.at(format.font);
    bool complete = true;
    const double width = face.width(text, complete);
    const std::vector<double>& lefts = plan.columnLeft;
    const std::size_t c = std::size_t(column - page.firstColumn);
    double left = lefts[c];
    double right = lefts[c + 1];
    const bool number = CellStore::typeOf(meta) == CellType::Number;
    HAlign align = format.horizontal;
    if (align == HAlign::General) {
        align = number ? HAlign::Right : HAlign::Left;
    }
    if (!number && width + 2 * kTextPadding > right - left) {
        std::tie(left, right) =
            TextSpan(sheet_.cellStore(), page, lefts, row, column, align, width + 2 * kTextPadding);
    }
    double x = left + kTextPadding;
    if (align == HAlign::Right) {
        x = lefts[c + 1] - kTextPadding - width;
    } else if (align == HAlign::Center || align == HAlign::CenterAcross) {
        x = std::max(left, (lefts[c] + lefts[c + 1]) / 2 - width / 2);
    }
    x = std::max(x, left);
    const double top = plan.rowTop[std::size_t(row - page.firstRow)];
    const double height = plan.rowTop[std::size_t(row - page.firstRow) + 1] - top;
    double baseline = top + height - face.descent - 1;  // bottom
    if (format.vertical == VAlign::Center) {
        baseline = top + (height + face.ascent - face.descent) / 2;
    } else if (format.vertical == VAlign::Top) {
        baseline = top + face.ascent + 1;
    }
    const double limit = std::min(right, lefts.back());
    if (!complete) {
        plan.fallbacks.push_back(
            {format.font, QRectF(left, top, limit - left, height), QPointF(x, baseline), text});
        return;
    }
    // The characters that end past the limit are left out.
    PagePlan::Glyphs& out = plan.glyphs[format.font];
    for (QChar ch : text) {
        const float advance = face.advances[ch.unicode()];
        if (x + advance > limit + 1e-6) {
            break;
        }
        out.indexes << face.glyphs[ch.unicode()];
        out.positions << QPointF(x, baseline);
        x += advance;
    }
}

// Each edge between two cells once, in the wider of the two cells' lines.
void SheetPainter::placeBorders(const PrintPage& page, PagePlan& plan) const {
    const CellStore& cells = sheet_.cellStore();
    const Styles& styles = sheet_.workbook().styles();
    const std::vector<double>& left = plan.columnLeft;
    for (int row = page.firstRow; row <= page.lastRow + 1; ++row) {
        const double y = plan.rowTop[std::size_t(row - page.firstRow)];
        for (int column = page.firstColumn; column <= page.lastColumn; ++column) {
            double width = 0;
            if (row > page.firstRow) {
                width = EdgeWidth(styles, cells, row - 1, column, EdgeBottom);
            }
            if (row <= page.lastRow) {
                width = std::max(width, EdgeWidth(styles, cells, row, column, EdgeTop));
            }
            const std::size_t c = std::size_t(column - page.firstColumn);
            plan.borders.add(width, true, y, left[c], left[c + 1]);
        }
    }
    for (int column = page.firstColumn; column <= page.lastColumn + 1; ++column) {
        const double x = left[std::size_t(column - page.firstColumn)];
        for (int row = page.firstRow; row <= page.lastRow; ++row) {
            double width = 0;
            if (column > page.firstColumn) {
                width = EdgeWidth(styles, cells, row, column - 1, EdgeRight);
            }
            if (column <= page.lastColumn) {
                width = std::max(width, EdgeWidth(styles, cells, row, column, EdgeLeft));
            }
            const std::size_t r = std::size_t(row - page.firstRow);
            plan.borders.add(width, false, x, plan.rowTop[r], plan.rowTop[r + 1]);
        }
    }
}

void SheetPainter::draw(QPainter& painter, const PrintPage& page, const PagePlan& plan) const {
    // Charts first, under the cells' texts and lines, as a spreadsheet program layers them.
    const QRectF pageRect(0, 0, plan.columnLeft.back(), plan.rowTop.back());
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
    plan.borders.draw(painter);
    painter.setPen(Qt::black);
    for (const auto& [font, glyphs] : plan.glyphs) {
        if (glyphs.indexes.isEmpty()) {
            continue;
        }
        QGlyphRun run;
        run.setRawFont(typefaces_.at(font)->raw);
        run.setGlyphIndexes(glyphs.indexes);
        run.setPositions(glyphs.positions);
        painter.drawGlyphRun(QPointF(0, 0), run);
    }
    for (const PagePlan::Fallback& text : plan.fallbacks) {
        painter.save();
        painter.setClipRect(text.clip);
        painter.setFont(typefaces_.at(text.font)->font);
        painter.drawText(text.origin, text.text);
        painter.restore();
    }
}

bool SheetPainter::paint(QPainter& painter, const std::vector<PrintPage>& pages,
                         const std::function<bool(std::size_t)>& beginPage) {
    // The layout thread keeps at most a few pages ready; it stops when told or when done.
    constexpr std::size_t kAhead = 4;
    std::mutex mutex;
    std::condition_variable changed;
    std::deque<PagePlan> ready;
    bool stop = false;
    std::exception_ptr failure;
    std::thread layout([&] {
        files::UseFullLongDoublePrecision();
        try {
            for (const PrintPage& page : pages) {
                PagePlan next = plan(page);
                std::unique_lock lock(mutex);
                changed.wait(lock, [&] { return stop || ready.size() < kAhead; });
                if (stop) {
                    return;
                }
                ready.push_back(std::move(next));
                changed.notify_all();
            }
        } catch (...) {
            std::lock_guard lock(mutex);
            failure = std::current_exception();
            changed.notify_all();
        }
    });
    bool drawn = true;
    for (std::size_t i = 0; i < pages.size() && drawn; ++i) {
        PagePlan current;
        {
            std::unique_lock lock(mutex);
            changed.wait(lock, [&] { return !ready.empty() || failure; });
            if (ready.empty()) {
                break;
            }
            current = std::move(ready.front());
            ready.pop_front();
            changed.notify_all();
        }
        drawn = beginPage(i);
        if (drawn) {
            draw(painter, pages[i], current);
        }
    }
    {
        std::lock_guard lock(mutex);
        stop = true;
        changed.notify_all();
    }
    layout.join();
    if (failure) {
        std::rethrow_exception(failure);
    }
    return drawn;
}

}  // namespace qorv::automation
