#include "automation/Range.h"

#include "automation/AutomationError.h"
#include "automation/NumberFormat.h"
#include "automation/TextInput.h"
#include "automation/Workbook.h"
#include "automation/Worksheet.h"

#include <charconv>
#include <cmath>
#include <limits>
#include <unordered_map>

namespace qorv::automation {

TextArray TextArray::column(const QStringList& texts) {
    TextArray array;
    array.rows_ = texts.size();
    array.columns_ = 1;
    array.texts_ = texts;
    return array;
}

TextArray TextArray::fromRows(const QList<QStringList>& rows) {
    qsizetype columns = 0;
    for (const QStringList& row : rows) {
        columns = std::max(columns, row.size());
    }
    TextArray array(rows.size(), columns);
    for (qsizetype r = 0; r < rows.size(); ++r) {
        for (qsizetype c = 0; c < rows[r].size(); ++c) {
            array.at(r, c) = rows[r][c];
        }
    }
    return array;
}

namespace {

// The formats derived while a block is written, each made once by key (what the new format
// depends on), so that a million-row column costs one lookup per cell; the key of the cell
// before is looked at first, as neighbours mostly share it.
template <typename Key>
class DerivedFormats {
  public:
    template <typename Derive>
    std::uint32_t get(Key key, Derive derive) {
        if (key != lastKey_) {
            const auto found = derived_.find(key);
            if (found != derived_.end()) {
                last_ = found->second;
            } else {
                last_ = derive();
                derived_.emplace(key, last_);
            }
            lastKey_ = key;
        }
        return last_;
    }

  private:
    std::unordered_map<Key, std::uint32_t> derived_;
    Key lastKey_ = std::numeric_limits<Key>::max();
    std::uint32_t last_ = 0;
};

// Gives every cell of the block the format `change` makes of its current one.
template <typename Change>
void restyle(Worksheet& sheet, const RangeRef& ref, Change change) {
    Styles& styles = sheet.styles();
    CellStore& cells = sheet.cellStore();
    DerivedFormats<std::uint32_t> derived;
    for (int column = ref.first.column; column <= ref.last.column; ++column) {
        cells.reserve(column, ref.last.row);
        for (int row = ref.first.row; row <= ref.last.row; ++row) {
            const std::uint32_t meta = cells.meta(row, column);
            const std::uint32_t old = CellStore::formatOf(meta);
            const std::uint32_t lastNew = derived.get(old, [&] {
                CellFormat format = styles.format(old);
                change(format);
                return styles.formatIndex(format);
            });
            if (lastNew != old) {
                cells.setMeta(row, column, CellStore::pack(CellStore::typeOf(meta), lastNew));
            }
        }
    }
}

enum class InputRule { Value, Value2 };

// A cell's text kept by the workbook's text table.
const QString& keptText(const QString& text) {
    return text;
}
QString keptText(QStringView text) {
    return text.toString();
}

// Stores converted texts; `textAt(row, column)` gives the text for a cell of the block.
template <typename TextAt>
void writeTexts(Worksheet& sheet, const RangeRef& ref, InputRule rule, TextAt textAt) {
    Workbook& book = sheet.workbook();
    Styles& styles = book.styles();
    TextTable& texts = book.texts();
    CellStore& cells = sheet.cellStore();
    DerivedFormats<std::uint64_t> derived;
    for (int column = ref.first.column; column <= ref.last.column; ++column) {
        cells.reserve(column, ref.last.row);
        for (int row = ref.first.row; row <= ref.last.row; ++row) {
            const auto& text = textAt(row - ref.first.row, column - ref.first.column);
            const TextInput input =
                rule == InputRule::Value ? readValueText(text) : readValue2Text(text);
            const std::uint32_t format = CellStore::formatOf(cells.meta(row, column));
            switch (input.kind) {
                case TextInput::Kind::Empty:
                    cells.set(row, column, CellStore::pack(CellType::Empty, format), 0);
                    break;
                case TextInput::Kind::Text:
                    cells.set(row, column, CellStore::pack(CellType::Text, format),
                              double(texts.add(keptText(text))));
                    break;
                case TextInput::Kind::Number: {
                    const std::uint64_t key = (std::uint64_t(format) << 32) | input.layout;
                    const std::uint32_t numberFormat = derived.get(key, [&] {
                        CellFormat cellFormat = styles.format(format);
                        cellFormat.numberFormat =
                            styles.numberFormatIndex(layoutFormatCode(input.layout));
                        return styles.formatIndex(cellFormat);
                    });
                    cells.set(row, column, CellStore::pack(CellType::Number, numberFormat),
                              input.number);
                    break;
                }
            }
        }
    }
}

void writeArray(Worksheet& sheet, const RangeRef& ref, InputRule rule, const TextArray& texts) {
    if (texts.rows() == 0 || texts.columns() == 0) {
        return;
    }
    RangeRef covered = ref;
    covered.last.row = int(std::min<qsizetype>(ref.last.row, ref.first.row + texts.rows() - 1));
    covered.last.column =
        int(std::min<qsizetype>(ref.last.column, ref.first.column + texts.columns() - 1));
    writeTexts(sheet, covered, rule,
               [&](int r, int c) -> const QString& { return texts.at(r, c); });
}

void writeColumn(Worksheet& sheet, const RangeRef& ref, qsizetype rows,
                 const std::function<QStringView(qsizetype)>& textAt) {
    if (rows == 0) {
        return;
    }
    RangeRef covered = ref;
    covered.last.row = int(std::min<qsizetype>(ref.last.row, ref.first.row + rows - 1));
    covered.last.column = ref.first.column;
    writeTexts(sheet, covered, InputRule::Value, [&](int r, int) { return textAt(r); });
}

void writeOne(Worksheet& sheet, const RangeRef& ref, InputRule rule, const QString& text) {
    writeTexts(sheet, ref, rule, [&](int, int) -> const QString& { return text; });
}

HAlign horizontalFrom(int value) {
    switch (value) {
        case 1:
            return HAlign::General;
        case 2:
        case -4131:
            return HAlign::Left;
        case 3:
        case -4108:
            return HAlign::Center;
        case 4:
        case -4152:
            return HAlign::Right;
        case 5:
            return HAlign::Fill;
        case 6:
        case -4130:
            return HAlign::Justify;
        case 7:
            return HAlign::CenterAcross;
        case -4117:
            return HAlign::Distributed;
        default:
            throw errors::badValue(QStringLiteral("HorizontalAlignment"), QString::number(value));
    }
}

VAlign verticalFrom(int value) {
    switch (value) {
        case -4160:
            return VAlign::Top;
        case 3:
        case -4108:
            return VAlign::Center;
        case -4107:
            return VAlign::Bottom;
        case -4130:
            return VAlign::Justify;
        case -4117:
            return VAlign::Distributed;
        default:
            throw errors::badValue(QStringLiteral("VerticalAlignment"), QString::number(value));
    }
}

const CellFormat& firstFormat(const Range& range) {
    const Worksheet& sheet = range.worksheet();
    const std::uint32_t meta =
        sheet.cellStore().meta(range.ref().first.row, range.ref().first.column);
    return sheet.styles().format(CellStore::formatOf(meta));
}

// Gives every cell of the range the font `change` makes of its current one.
template <typename Change>
void restyleFont(const Range& range, Change change) {
    Styles& styles = range.worksheet().styles();
    restyle(range.worksheet(), range.ref(), [&](CellFormat& f) {
        qorv::automation::Font font = styles.font(f.font);
        change(font);
        f.font = styles.fontIndex(font);
    });
}

void checkBetween(const char* property, double value, double least, double most) {
    if (!(value >= least && value <= most)) {
        throw errors::badValue(QString::fromLatin1(property), value);
    }
}

}  // namespace

QString Range::address() const {
    return rangeName(ref_, true);
}

void Range::setValue2(const QString& text) {
    writeOne(*sheet_, ref_, InputRule::Value2, text);
}
void Range::setValue(const QString& text) {
    writeOne(*sheet_, ref_, InputRule::Value, text);
}
void Range::setValue(const TextArray& texts) {
    writeArray(*sheet_, ref_, InputRule::Value, texts);
}
void Range::setColumnValue(qsizetype rows, const std::function<QStringView(qsizetype)>& textAt) {
    writeColumn(*sheet_, ref_, rows, textAt);
}
void Range::setFormulaR1C1Local(const QString& text) {
    setValue(text);
}
void Range::setFormulaR1C1Local(const TextArray& texts) {
    setValue(texts);
}

QVariant Range::value2() const {
    const CellStore& cells = sheet_->cellStore();
    const std::uint32_t meta = cells.meta(ref_.first.row, ref_.first.column);
    const double value = cells.value(ref_.first.row, ref_.first.column);
    switch (CellStore::typeOf(meta)) {
        case CellType::Number:
            return QVariant(value);
        case CellType::Text:
            return QVariant(sheet_->workbook().texts().at(std::uint32_t(value)));
        default:
            return QVariant();
    }
}

QString Range::text() const {
    const QVariant value = value2();
    if (value.typeId() == QMetaType::Double) {
        char buffer[32];
        const auto result = std::to_chars(buffer, buffer + sizeof buffer, value.toDouble());
        return QString::fromLatin1(buffer, result.ptr - buffer);
    }
    return value.toString();
}

void Range::setNumberFormatLocal(const QString& localCode) {
    setNumberFormat(formatCodeFromLocal(localCode));
}

void Range::setNumberFormat(const QString& code) {
    if (code.isEmpty()) {
        throw errors::badValue(QStringLiteral("NumberFormat"), code);
    }
    Styles& styles = sheet_->styles();
    const std::uint32_t index = styles.numberFormatIndex(code);
    restyle(*sheet_, ref_, [&](CellFormat& f) { f.numberFormat = index; });
}

QString Range::numberFormat() const {
    return sheet_->styles().numberFormat(firstFormat(*this).numberFormat);
}

void RangeFont::setSize(double size) {
    checkBetween("Font.Size", size, 1, 409);
    restyleFont(range_, [&](qorv::automation::Font& font) { font.size = size; });
}

void RangeFont::setBold(bool bold) {
    restyleFont(range_, [&](qorv::automation::Font& font) { font.bold = bold; });
}

void RangeFont::setName(const QString& name) {
    if (name.trimmed().isEmpty() || name.size() > 31) {
        throw errors::badValue(QStringLiteral("Font.Name"), name);
    }
    restyleFont(range_, [&](qorv::automation::Font& font) { font.name = name; });
}

double RangeFont::size() const {
    return range_.worksheet().styles().font(firstFormat(range_).font).size;
}
bool RangeFont::bold() const {
    return range_.worksheet().styles().font(firstFormat(range_).font).bold;
}
QString RangeFont::name() const {
    return range_.worksheet().styles().font(firstFormat(range_).font).name;
}

void Range::setHorizontalAlignment(int alignment) {
    const HAlign value = horizontalFrom(alignment);
    restyle(*sheet_, ref_, [&](CellFormat& f) { f.horizontal = value; });
}

void Range::setVerticalAlignment(int alignment) {
    const VAlign value = verticalFrom(alignment);
    restyle(*sheet_, ref_, [&](CellFormat& f) { f.vertical = value; });
}

RangeBorders Range::borders(int index) const {
    if (index < xl::EdgeLeft || index > xl::InsideHorizontal) {
        throw errors::badValue(QStringLiteral("Borders"), QString::number(index));
    }
    return RangeBorders(*this, index);
}

namespace {

// The parts of a block one border index touches, with the cell edge it means there.
struct EdgePart {
    RangeRef cells;
    Edge edge;
};

std::vector<EdgePart> edgeParts(const RangeRef& r, int index) {
    std::vector<EdgePart> parts;
    auto rows = [&](int first, int last) {
        return RangeRef{{first, r.first.column}, {last, r.last.column}};
    };
    auto columns = [&](int first, int last) {
        return RangeRef{{r.first.row, first}, {r.last.row, last}};
    };
    switch (index) {
        case 0:
            for (Edge e : {EdgeLeft, EdgeRight, EdgeTop, EdgeBottom}) {
                parts.push_back({r, e});
            }
            break;
        case xl::EdgeLeft:
            parts.push_back({columns(r.first.column, r.first.column), EdgeLeft});
            break;
        case xl::EdgeRight:
            parts.push_back({columns(r.last.column, r.last.column), EdgeRight});
            break;
        case xl::EdgeTop:
            parts.push_back({rows(r.first.row, r.first.row), EdgeTop});
            break;
        case xl::EdgeBottom:
            parts.push_back({rows(r.last.row, r.last.row), EdgeBottom});
            break;
        case xl::InsideVertical:
            if (r.columnCount() > 1) {
                parts.push_back({columns(r.first.column, r.last.column - 1), EdgeRight});
                parts.push_back({columns(r.first.column + 1, r.last.column), EdgeLeft});
            }
            break;
        case xl::InsideHorizontal:
            if (r.rowCount() > 1) {
                parts.push_back({rows(r.first.row, r.last.row - 1), EdgeBottom});
                parts.push_back({rows(r.first.row + 1, r.last.row), EdgeTop});
            }
            break;
        default:
            break;
    }
    return parts;
}

template <typename Change>
void restyleEdges(const Range& range, int index, Change change) {
    Styles& styles = range.worksheet().styles();
    if (index == 0) {
        // Every edge of every cell in one pass, so no half-bordered formats are left over.
        restyle(range.worksheet(), range.ref(), [&](CellFormat& f) {
            Border border = styles.border(f.border);
            for (BorderLine& line : border.edges) {
                change(line);
            }
            f.border = styles.borderIndex(border);
        });
        return;
    }
    for (const EdgePart& part : edgeParts(range.ref(), index)) {
        restyle(range.worksheet(), part.cells, [&](CellFormat& f) {
            Border border = styles.border(f.border);
            change(border.edges[std::size_t(part.edge)]);
            f.border = styles.borderIndex(border);
        });
    }
}

}  // namespace

void RangeBorders::setLineStyle(int lineStyle) {
    static const int kKnown[] = {1, -4142, -4115, -4118, -4119, 4, 5, 13};
    if (std::find(std::begin(kKnown), std::end(kKnown), lineStyle) == std::end(kKnown)) {
        throw errors::badValue(QStringLiteral("Borders.LineStyle"), QString::number(lineStyle));
    }
    restyleEdges(range_, index_, [&](BorderLine& line) {
        line.lineStyle = lineStyle;
        if (lineStyle == xl::None) {
            line.weight = xl::Thin;
        }
    });
}

void RangeBorders::setWeight(int weight) {
    if (weight != xl::Hairline && weight != xl::Thin && weight != xl::Medium &&
        weight != xl::Thick) {
        throw errors::badValue(QStringLiteral("Borders.Weight"), QString::number(weight));
    }
    restyleEdges(range_, index_, [&](BorderLine& line) {
        line.weight = weight;
        if (line.lineStyle == xl::None) {
            line.lineStyle = xl::Continuous;
        }
    });
}

void Range::setColumnWidth(double width) {
    checkBetween("ColumnWidth", width, 0, 255);
    sheet_->setColumnWidths(ref_.first.column, ref_.last.column, width);
}

double Range::columnWidth() const {
    return sheet_->columnWidth(ref_.first.column);
}

void Range::setRowHeight(double height) {
    checkBetween("RowHeight", height, 0, 409);
    sheet_->setRowHeights(ref_.first.row, ref_.last.row, height);
}

double Range::rowHeight() const {
    return sheet_->rowHeight(ref_.first.row);
}
double Range::top() const {
    return sheet_->rowTop(ref_.first.row);
}
double Range::left() const {
    return sheet_->columnLeft(ref_.first.column);
}

}  // namespace qorv::automation
