#include "automation/print/SheetPainter.h"

#include "automation/Styles.h"
#include "automation/Workbook.h"
#include "automation/Worksheet.h"
#include "automation/print/ChartPainter.h"
#include "automation/print/PdfContent.h"
#include "automation/print/PdfDocument.h"
#include "automation/print/PdfPaintEngine.h"
#include "files/Precision.h"

#include <QFont>
#include <QGlyphRun>
#include <QPainter>
#include <QRawFont>

#include <algorithm>
#include <atomic>
#include <condition_variable>
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

    // The segments as stroke operators, a width at a time, in black with square caps.
    void write(std::string& out) const {
        for (const bool horizontal : {true, false}) {
            for (const auto& [width, lines] : horizontal ? horizontal_ : vertical_) {
                pdf::AppendNumber(out, width);
                out += "w\n";
                for (const auto& [at, runs] : lines) {
                    for (const auto& [from, to] : runs) {
                        pdf::AppendNumber(out, horizontal ? from : at);
                        pdf::AppendNumber(out, horizontal ? at : from);
                        out += "m ";
                        pdf::AppendNumber(out, horizontal ? to : at);
                        pdf::AppendNumber(out, horizontal ? at : to);
                        out += "l\n";
                    }
                }
                out += "S\n";
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
// "№") and the workbook can show, looked up once before layout starts so that the layout
// threads only read the tables.
// A character outside them, or one the font lacks, makes its text fall back to Qt's own text
// drawing with its font fallbacks.
struct SheetPainter::Typeface {
    std::uint32_t number = 0;  // among the sheet's typefaces
    QFont font;
    QRawFont raw;
    int pdfFont = -1;  // the document's number for it; -1: drawn as outlines
    double ascent = 0;
    double descent = 0;
    std::vector<quint32> glyphs;  // by character; 0: no glyph here
    std::vector<float> advances;

    // `shown`: by character, whether the workbook's texts and number formats can show it.
    Typeface(const Font& f, std::uint32_t n, const std::vector<bool>& shown)
        : number(n), glyphs(0x10000, 0), advances(0x10000, 0) {
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
                if (shown[c]) {
                    chars += QChar(c);
                }
            }
            if (chars.isEmpty()) {
                continue;
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
    // The page's glyphs of each font, a run of them per cell from its text's origin.
    struct Glyphs {
        std::vector<quint32> indexes;
        struct Run {
            double x = 0;
            double baseline = 0;
            std::size_t end = 0;  // the run's glyphs end here in `indexes`
        };
        std::vector<Run> runs;
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
    : sheet_(sheet), locale_(locale) {
    const Styles& styles = sheet.workbook().styles();
    // The characters any cell can show: those of the texts, of the number formats' codes,
    // numbers, separators and month names.
    std::vector<bool> shown(0x10000, false);
    auto showAll = [&](QStringView text) {
        for (const QChar c : text) {
            shown[c.unicode()] = true;
        }
    };
    for (char16_t c = 0x20; c <= 0x7E; ++c) {
        shown[c] = true;
    }
    for (char16_t c = 0x400; c <= 0x45F; ++c) {
        shown[c] = true;
    }
    shown[locale.decimalSeparator.unicode()] = true;
    shown[locale.dateSeparator.unicode()] = true;
    const TextTable& texts = sheet.workbook().texts();
    for (std::uint32_t i = 0; i < texts.size(); ++i) {
        showAll(texts.at(i));
    }
    for (std::uint32_t i = 0; i < styles.numberFormatCount(); ++i) {
        showAll(styles.numberFormat(i));
    }
    std::map<std::tuple<QString, double, bool>, const Typeface*> known;
    for (std::uint32_t i = 0; i < styles.fontCount(); ++i) {
        const Font& font = styles.font(i);
        const Typeface*& face = known[{PrintFamily(font.name), font.size, font.bold}];
        if (face == nullptr) {
            faces_.push_back(std::make_unique<Typeface>(font, std::uint32_t(faces_.size()), shown));
            face = faces_.back().get();
        }
        typefaces_.push_back(face);
    }
}

SheetPainter::~SheetPainter() = default;

SheetPainter::PagePlan SheetPainter::plan(const PrintPage& page, const CellTexts& texts) const {
    PagePlan plan;
    measureGrid(page, plan);
    placeTexts(page, texts, plan);
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

void SheetPainter::placeTexts(const PrintPage& page, const CellTexts& texts, PagePlan& plan) const {
    const CellStore& cells = sheet_.cellStore();
    for (int row = page.firstRow; row <= page.lastRow; ++row) {
        for (int column = page.firstColumn; column <= page.lastColumn; ++column) {
            if (CellStore::typeOf(cells.meta(row, column)) != CellType::Empty) {
                placeText(page, texts, row, column, plan);
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

void SheetPainter::placeText(const PrintPage& page, const CellTexts& texts, int row, int column,
                             PagePlan& plan) const {
    const QString text = texts.at(row, column);
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
    PagePlan::Glyphs& out = plan.glyphs[face.number];
    const std::size_t first = out.indexes.size();
    const double start = x;
    for (QChar ch : text) {
        const float advance = face.advances[ch.unicode()];
        if (x + advance > limit + 1e-6) {
            break;
        }
        out.indexes.push_back(face.glyphs[ch.unicode()]);
        x += advance;
    }
    if (out.indexes.size() > first) {
        out.runs.push_back({start, baseline, out.indexes.size()});
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

namespace {

// A position in thousandths of a point, as the content states it.
long long Thousandths(double value) {
    return std::llround(value * 1000);
}

void AppendThousandths(std::string& out, long long value) {
    pdf::AppendNumber(out, double(value) / 1000);
}

}  // namespace

void SheetPainter::tableContent(const PagePlan& plan, const PaperGeometry& paper,
                                std::vector<std::vector<bool>>& used, std::string& out) const {
    out.reserve(out.size() + 32 * 1024);
    out += "q ";
    pdf::AppendNumber(out, paper.scale);
    out += "0 0 ";
    pdf::AppendNumber(out, paper.scale);
    pdf::AppendNumber(out, paper.printable.left());
    pdf::AppendNumber(out, paper.printable.top());
    out += "cm\n0 0 0 RG 0 0 0 rg 2 J 0 j\n";
    plan.borders.write(out);
    bool inText = false;
    long long lastX = 0;
    long long lastY = 0;
    for (const auto& [number, glyphs] : plan.glyphs) {
        const Typeface& face = *faces_[number];
        if (face.pdfFont < 0 || glyphs.runs.empty()) {
            continue;
        }
        if (used.size() <= number) {
            used.resize(faces_.size());
        }
        std::vector<bool>& marks = used[number];
        if (!inText) {
            out += "BT\n";
        }
        out += "/F" + std::to_string(face.pdfFont) + ' ';
        pdf::AppendNumber(out, face.raw.pixelSize());
        out += "Tf\n";
        std::size_t from = 0;
        for (const PagePlan::Glyphs::Run& run : glyphs.runs) {
            // Each run moves from where the one before began, in whole thousandths so that
            // the steps add up to the places exactly.
            const long long x = Thousandths(run.x);
            const long long y = Thousandths(run.baseline);
            if (!inText) {
                out += "1 0 0 -1 ";
                AppendThousandths(out, x);
                AppendThousandths(out, y);
                out += "Tm(";
                inText = true;
            } else {
                AppendThousandths(out, x - lastX);
                AppendThousandths(out, lastY - y);
                out += "Td(";
            }
            lastX = x;
            lastY = y;
            for (std::size_t i = from; i < run.end; ++i) {
                const quint32 glyph = glyphs.indexes[i];
                pdf::AppendGlyphBytes(out, glyph);
                if (glyph >= marks.size()) {
                    marks.resize(glyph + 1, false);
                }
                marks[glyph] = true;
            }
            out += ")Tj\n";
            from = run.end;
        }
    }
    if (inText) {
        out += "ET\n";
    }
    out += "Q\n";
}

bool SheetPainter::hasCharts(const PrintPage& page, const PagePlan& plan) const {
    const QRectF pageRect(0, 0, plan.columnLeft.back(), plan.rowTop.back());
    for (const auto& shape : sheet_.shapeList()) {
        if (shape->to().row < page.firstRow || shape->from().row > page.lastRow ||
            shape->to().column < page.firstColumn || shape->from().column > page.lastColumn) {
            continue;
        }
        const QRectF rect(shape->left() - sheet_.columnLeft(page.firstColumn),
                          shape->top() - sheet_.rowTop(page.firstRow), shape->width(),
                          shape->height());
        if (rect.intersects(pageRect)) {
            return true;
        }
    }
    return false;
}

// One page as a worker finishes it: compressed when nothing is left to a painter, else the
// table's operators and what the painter is to draw.
struct SheetPainter::PageOutput {
    std::string content;
    bool finished = false;
    PagePlan plan;
};

SheetPainter::PageOutput SheetPainter::output(const PrintPage& page, const CellTexts& texts,
                                              const PaperGeometry& paper,
                                              std::vector<std::vector<bool>>& used,
                                              pdf::Deflater& deflater) const {
    PageOutput result;
    result.plan = plan(page, texts);
    bool painted = !result.plan.fallbacks.empty() || hasCharts(page, result.plan);
    for (const auto& [number, glyphs] : result.plan.glyphs) {
        painted = painted || (faces_[number]->pdfFont < 0 && !glyphs.runs.empty());
    }
    if (painted) {
        tableContent(result.plan, paper, used, result.content);
        return result;
    }
    std::string content = PdfDocument::PageStart(paper.paper);
    tableContent(result.plan, paper, used, content);
    result.content = deflater.deflate(content);
    result.finished = true;
    result.plan = PagePlan();
    return result;
}

void SheetPainter::drawCharts(QPainter& painter, const PrintPage& page,
                              const PagePlan& plan) const {
    // Charts go under the cells' texts and lines, as a spreadsheet program layers them.
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
}

void SheetPainter::drawOverTable(QPainter& painter, const PagePlan& plan) const {
    painter.setPen(Qt::black);
    auto* engine = dynamic_cast<PdfPaintEngine*>(painter.paintEngine());
    for (const auto& [number, glyphs] : plan.glyphs) {
        const Typeface& face = *faces_[number];
        if (face.pdfFont >= 0 || glyphs.runs.empty() || engine == nullptr) {
            continue;
        }
        std::vector<QPointF> origins(glyphs.indexes.size());
        std::vector<QPointF> advances(glyphs.indexes.size());
        face.raw.advancesForGlyphIndexes(glyphs.indexes.data(), advances.data(),
                                         int(advances.size()), QRawFont::UseDesignMetrics);
        std::size_t from = 0;
        for (const PagePlan::Glyphs::Run& run : glyphs.runs) {
            double x = run.x;
            for (std::size_t i = from; i < run.end; ++i) {
                origins[i] = QPointF(x, run.baseline);
                x += advances[i].x();
            }
            from = run.end;
        }
        engine->drawGlyphs(face.raw, glyphs.indexes.data(), origins.data(), int(origins.size()));
    }
    for (const PagePlan::Fallback& text : plan.fallbacks) {
        painter.save();
        painter.setClipRect(text.clip);
        painter.setFont(typefaces_.at(text.font)->font);
        painter.drawText(text.origin, text.text);
        painter.restore();
    }
}

void SheetPainter::write(PdfDocument& pdf, PdfPageDevice& device,
                         const std::vector<PrintPage>& pages, const PaperGeometry& paper) {
    for (auto& face : faces_) {
        face->pdfFont = pdf.font(face->raw);
    }
    // Workers take the pages in turn and finish them at most a few pages ahead of the one
    // being added; they stop when told, or at the first failure.
    const std::size_t workers = std::max(1u, std::thread::hardware_concurrency());
    const std::size_t ahead = 4 * workers;
    std::mutex mutex;
    std::condition_variable changed;
    std::map<std::size_t, PageOutput> ready;
    std::size_t added = 0;
    std::atomic<std::size_t> nextPage{0};
    bool stop = false;
    std::exception_ptr failure;
    std::vector<std::vector<std::vector<bool>>> used(workers);
    std::vector<std::thread> threads;
    pdf::Deflater deflater;  // the pages a painter draws on
    auto work = [&](std::size_t worker) {
        files::UseFullLongDoublePrecision();
        try {
            const CellTexts texts(sheet_, locale_);
            pdf::Deflater compressor;
            for (;;) {
                const std::size_t i = nextPage++;
                if (i >= pages.size()) {
                    return;
                }
                {
                    std::unique_lock lock(mutex);
                    changed.wait(lock, [&] { return stop || i < added + ahead; });
                    if (stop) {
                        return;
                    }
                }
                PageOutput page = output(pages[i], texts, paper, used[worker], compressor);
                std::lock_guard lock(mutex);
                ready.emplace(i, std::move(page));
                changed.notify_all();
            }
        } catch (...) {
            std::lock_guard lock(mutex);
            if (!failure) {
                failure = std::current_exception();
            }
            stop = true;
            changed.notify_all();
        }
    };
    auto finishThreads = [&] {
        {
            std::lock_guard lock(mutex);
            stop = true;
            changed.notify_all();
        }
        for (std::thread& thread : threads) {
            thread.join();
        }
        threads.clear();
    };
    try {
        for (std::size_t w = 0; w < workers; ++w) {
            threads.emplace_back(work, w);
        }
        // Pages stop being made once the file cannot take them (a full disk).
        while (added < pages.size() && !pdf.failed()) {
            PageOutput page;
            {
                std::unique_lock lock(mutex);
                changed.wait(lock, [&] { return ready.count(added) > 0 || failure; });
                if (failure) {
                    break;
                }
                page = std::move(ready.at(added));
                ready.erase(added);
            }
            if (!page.finished) {
                page.content = deflater.deflate(paintedContent(device, pages[added], paper, page));
            }
            pdf.addPage(paper.paper, page.content);
            std::lock_guard lock(mutex);
            ++added;
            changed.notify_all();
        }
    } catch (...) {
        finishThreads();
        throw;
    }
    finishThreads();
    if (failure) {
        std::rethrow_exception(failure);
    }
    recordGlyphs(pdf, used);
}

std::string SheetPainter::paintedContent(PdfPageDevice& device, const PrintPage& page,
                                         const PaperGeometry& paper,
                                         const PageOutput& output) const {
    std::string content = PdfDocument::PageStart(paper.paper);
    device.setPage(&content, paper.paper);
    QPainter painter(&device);
    painter.translate(paper.printable.topLeft());
    painter.scale(paper.scale, paper.scale);
    drawCharts(painter, page, output.plan);
    content += output.content;
    drawOverTable(painter, output.plan);
    painter.end();
    return content;
}

// Each glyph goes into its font, read as the first character that has it.
void SheetPainter::recordGlyphs(PdfDocument& pdf,
                                const std::vector<std::vector<std::vector<bool>>>& used) const {
    for (const auto& face : faces_) {
        if (face->pdfFont < 0) {
            continue;
        }
        std::vector<char16_t> characterOf;
        for (const auto& marks : used) {
            if (marks.size() <= face->number) {
                continue;
            }
            const std::vector<bool>& drawn = marks[face->number];
            if (characterOf.empty()) {
                characterOf.assign(0x10000, 0);
                for (std::size_t c = 0x10000; c-- > 1;) {
                    if (face->glyphs[c] != 0 && face->glyphs[c] < characterOf.size()) {
                        characterOf[face->glyphs[c]] = char16_t(c);
                    }
                }
            }
            for (std::size_t g = 0; g < drawn.size(); ++g) {
                if (drawn[g]) {
                    const char16_t c = g < characterOf.size() ? characterOf[g] : 0;
                    pdf.useGlyph(face->pdfFont, quint32(g),
                                 c != 0 ? QStringView(&c, 1) : QStringView());
                }
            }
        }
    }
}

}  // namespace qorv::automation
