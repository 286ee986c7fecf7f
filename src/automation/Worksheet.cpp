#include "automation/Worksheet.h"

#include "automation/AutomationError.h"
#include "automation/Workbook.h"
#include "automation/print/PdfExport.h"

#include <cmath>
#include <optional>
#include <vector>

namespace qorv::automation {

namespace {
// Points closer than this to a row or column boundary count as on it: tops are sums of
// row heights and should land exactly on the row they were taken from.
constexpr double kBoundaryTolerance = 1e-6;

// Width of a column in pixels from its width in characters of Arial 10, whose digits are
// 7 pixels wide, with the spreadsheet's 5 pixels of padding, to the nearest whole pixel as the
// spreadsheet snaps a width it is given (13.57 characters are 100 pixels).
double columnPixels(double characters) {
    if (characters <= 0) {
        return 0;
    }
    if (characters < 1) {
        return std::trunc(characters * 12 + 0.5);
    }
    return std::round(characters * 7 + 5);
}

// The height or width set for row or column `index` (from 1), if one was.
std::optional<double> customSize(const std::vector<double>& sizes, int index) {
    if (index <= int(sizes.size()) && sizes[std::size_t(index - 1)] >= 0) {
        return sizes[std::size_t(index - 1)];
    }
    return std::nullopt;
}

// Sets the height or width of rows or columns `first` to `last` (from 1).
void setSizes(std::vector<double>& sizes, int first, int last, double size) {
    if (last > int(sizes.size())) {
        sizes.resize(std::size_t(last), -1.0);
    }
    for (int i = first; i <= last; ++i) {
        sizes[std::size_t(i - 1)] = size;
    }
}

void checkPoints(const char* property, double points) {
    if (!(points >= 0 && points < 1e6)) {
        throw errors::badValue(QString::fromLatin1(property), points);
    }
}
}  // namespace

void Sheet::setName(const QString& name) {
    workbook_.checkNewName(this, name);
    name_ = name;
}

int Sheet::index() const {
    return workbook_.indexOf(*this);
}

void Sheet::activate() {
    workbook_.activate(*this);
}

Worksheet::Worksheet(Workbook& workbook, const QString& name)
    : Sheet(workbook, Kind::Worksheet, name) {}

Styles& Worksheet::styles() const {
    return workbook().styles();
}

void Worksheet::HPageBreaks::add(const Range& before) {
    const int row = before.ref().first.row;
    if (row > 1) {
        sheet_.rowBreaks_.insert(row);
    }
}

Shape& Worksheet::Shapes::item(int index) {
    if (index < 1 || index > count()) {
        throw errors::shapeOutOfRange(index, count(), sheet_.name());
    }
    return *sheet_.shapes_[std::size_t(index - 1)];
}

Shape& Worksheet::embedChart(std::unique_ptr<Chart> chart) {
    const QString name = QStringLiteral("Диаграмма %1").arg(shapes_.size() + 1);
    shapes_.push_back(std::make_unique<Shape>(*this, std::move(chart), name));
    return *shapes_.back();
}

QString Worksheet::exportAsFixedFormat(int type, const QString& fileName) {
    if (type != xl::TypePDF) {
        throw errors::badValue(QStringLiteral("ExportAsFixedFormat Type"), QString::number(type));
    }
    return ExportWorksheetPdf(*this, fileName, workbook().displayLocale());
}

int Worksheet::lastUsedRow() const {
    int last = 0;
    for (int column = 1; column <= cells_.columnCount(); ++column) {
        const CellMeta* meta = cells_.metaData(column);
        for (int row = cells_.rowCount(column); row > last; --row) {
            if (CellStore::typeOf(meta[row - 1]) != CellType::Empty) {
                last = row;
                break;
            }
        }
    }
    for (const auto& shape : shapes_) {
        const Anchor& to = shape->to();
        last = std::max(last, to.rowOffset > kBoundaryTolerance ? to.row : to.row - 1);
    }
    return last;
}

int Worksheet::lastUsedColumn() const {
    int last = 0;
    for (int column = 1; column <= cells_.columnCount(); ++column) {
        const CellMeta* meta = cells_.metaData(column);
        for (int row = 0; row < cells_.rowCount(column); ++row) {
            if (CellStore::typeOf(meta[row]) != CellType::Empty) {
                last = column;
                break;
            }
        }
    }
    for (const auto& shape : shapes_) {
        const Anchor& to = shape->to();
        last = std::max(last, to.columnOffset > kBoundaryTolerance ? to.column : to.column - 1);
    }
    return last;
}

double Worksheet::rowHeight(int row) const {
    return customSize(rowHeights_, row).value_or(kDefaultRowHeight);
}

bool Worksheet::hasCustomHeight(int row) const {
    return customSize(rowHeights_, row).has_value();
}

double Worksheet::rowTop(int row) const {
    double top = 0;
    const int custom = std::min(row - 1, int(rowHeights_.size()));
    for (int r = 1; r <= custom; ++r) {
        top += rowHeight(r);
    }
    top += double(row - 1 - custom) * kDefaultRowHeight;
    return top;
}

double Worksheet::columnWidth(int column) const {
    return customSize(columnWidths_, column).value_or(kDefaultColumnWidth);
}

bool Worksheet::hasCustomWidth(int column) const {
    return customSize(columnWidths_, column).has_value();
}

double Worksheet::columnWidthPoints(int column) const {
    return columnPixels(columnWidth(column)) * 0.75;
}

double Worksheet::columnLeft(int column) const {
    double left = 0;
    for (int c = 1; c < column; ++c) {
        left += columnWidthPoints(c);
    }
    return left;
}

void Worksheet::rowAt(double points, int& row, double& offset) const {
    double top = 0;
    const int custom = int(rowHeights_.size());
    for (int r = 1; r <= custom; ++r) {
        const double height = rowHeight(r);
        if (points < top + height - kBoundaryTolerance) {
            row = r;
            offset = std::max(0.0, points - top);
            return;
        }
        top += height;
    }
    const double rest = std::max(0.0, points - top);
    const double whole = std::floor((rest + kBoundaryTolerance) / kDefaultRowHeight);
    row = int(std::min<double>(custom + 1 + whole, kMaxRows));
    offset = std::max(0.0, rest - whole * kDefaultRowHeight);
    if (offset < kBoundaryTolerance) {
        offset = 0;
    }
}

void Worksheet::columnAt(double points, int& column, double& offset) const {
    double left = 0;
    for (int c = 1; c < kMaxColumns; ++c) {
        const double width = columnWidthPoints(c);
        if (points < left + width - kBoundaryTolerance) {
            column = c;
            offset = std::max(0.0, points - left);
            return;
        }
        left += width;
    }
    column = kMaxColumns;
    offset = 0;
}

void Worksheet::setRowHeights(int firstRow, int lastRow, double height) {
    setSizes(rowHeights_, firstRow, lastRow, height);
}

void Worksheet::setColumnWidths(int firstColumn, int lastColumn, double width) {
    setSizes(columnWidths_, firstColumn, lastColumn, width);
}

void Worksheet::reserveRows(int firstColumn, int lastColumn, int lastRow) {
    for (int column = std::max(firstColumn, 1); column <= std::min(lastColumn, kMaxColumns);
         ++column) {
        cells_.reserveExactly(column, std::min(lastRow, kMaxRows));
    }
}

void PageSetup::setPaperSize(int size) {
    if (size < 1 || size > 118) {
        throw errors::badValue(QStringLiteral("PageSetup.PaperSize"), QString::number(size));
    }
    paperSize = size;
}

void PageSetup::setZoom(int percent) {
    if (percent < 10 || percent > 400) {
        throw errors::badValue(QStringLiteral("PageSetup.Zoom"), QString::number(percent));
    }
    zoom = percent;
}

void PageSetup::setOrientation(int value) {
    if (value != 1 && value != 2) {
        throw errors::badValue(QStringLiteral("PageSetup.Orientation"), QString::number(value));
    }
    orientation = value;
}

void PageSetup::setPrintArea(const QString& reference) {
    printArea = parseRange(reference);
}

#define QORV_MARGIN_SETTER(Setter, field, property) \
    void PageSetup::Setter(double points) {         \
        checkPoints("PageSetup." property, points); \
        field = points;                             \
    }
QORV_MARGIN_SETTER(setLeftMargin, leftMargin, "LeftMargin")
QORV_MARGIN_SETTER(setRightMargin, rightMargin, "RightMargin")
QORV_MARGIN_SETTER(setTopMargin, topMargin, "TopMargin")
QORV_MARGIN_SETTER(setBottomMargin, bottomMargin, "BottomMargin")
QORV_MARGIN_SETTER(setHeaderMargin, headerMargin, "HeaderMargin")
QORV_MARGIN_SETTER(setFooterMargin, footerMargin, "FooterMargin")
#undef QORV_MARGIN_SETTER

Shape::Shape(Worksheet& sheet, std::unique_ptr<Chart> chart, const QString& name)
    : sheet_(&sheet), chart_(std::move(chart)), name_(name) {
    // A placed chart starts at the top-left corner with the spreadsheet's default size.
    setWidth(360);
    setHeight(216);
}

double Shape::top() const {
    return sheet_->rowTop(from_.row) + std::min(from_.rowOffset, sheet_->rowHeight(from_.row));
}

double Shape::left() const {
    return sheet_->columnLeft(from_.column) +
           std::min(from_.columnOffset, sheet_->columnWidthPoints(from_.column));
}

double Shape::height() const {
    const double bottom =
        sheet_->rowTop(to_.row) + std::min(to_.rowOffset, sheet_->rowHeight(to_.row));
    return std::max(0.0, bottom - top());
}

double Shape::width() const {
    const double right = sheet_->columnLeft(to_.column) +
                         std::min(to_.columnOffset, sheet_->columnWidthPoints(to_.column));
    return std::max(0.0, right - left());
}

void Shape::setTop(double points) {
    checkPoints("Shape.Top", points);
    const double keep = height();
    sheet_->rowAt(points, from_.row, from_.rowOffset);
    sheet_->rowAt(points + keep, to_.row, to_.rowOffset);
}

void Shape::setLeft(double points) {
    checkPoints("Shape.Left", points);
    const double keep = width();
    sheet_->columnAt(points, from_.column, from_.columnOffset);
    sheet_->columnAt(points + keep, to_.column, to_.columnOffset);
}

void Shape::setHeight(double points) {
    checkPoints("Shape.Height", points);
    sheet_->rowAt(top() + points, to_.row, to_.rowOffset);
}

void Shape::setWidth(double points) {
    checkPoints("Shape.Width", points);
    sheet_->columnAt(left() + points, to_.column, to_.columnOffset);
}

ChartSheet::ChartSheet(Workbook& workbook, const QString& name)
    : Sheet(workbook, Kind::ChartSheet, name), chart_(std::make_unique<Chart>(workbook)) {}

}  // namespace qorv::automation
