#pragma once

#include "automation/CellStore.h"
#include "automation/Chart.h"
#include "automation/Range.h"

#include <QString>
#include <memory>
#include <optional>
#include <set>
#include <vector>

namespace qorv::automation {

class Workbook;
class Styles;

// A sheet of the workbook: a worksheet of cells, or a chart sheet between Charts.Add and
// Location.
class Sheet {
  public:
    enum class Kind { Worksheet, ChartSheet };
    virtual ~Sheet() = default;

    Kind kind() const { return kind_; }
    QString name() const { return name_; }
    // Names are 1 to 31 characters without : \ / ? * [ ], unique in the workbook (letter
    // case ignored).
    void setName(const QString& name);
    Workbook& workbook() const { return workbook_; }
    // 1-based position in the workbook.
    int index() const;
    void activate();

  protected:
    Sheet(Workbook& workbook, Kind kind, const QString& name)
        : workbook_(workbook), kind_(kind), name_(name) {}

  private:
    friend class Workbook;
    Workbook& workbook_;
    Kind kind_;
    QString name_;
};

// Where a corner of an embedded object sits: a cell and an offset into it, in points.
struct Anchor {
    int column = 1;
    double columnOffset = 0;
    int row = 1;
    double rowOffset = 0;
};

// An embedded chart object. Its corners are kept as cells and offsets, so that it moves
// and sizes with the cells beneath: after row heights change it still covers the same rows.
class Shape {
  public:
    Shape(Worksheet& sheet, std::unique_ptr<Chart> chart, const QString& name);

    double top() const;
    double left() const;
    double width() const;
    double height() const;
    // Moving keeps the size; sizing keeps the top-left corner.
    void setTop(double points);
    void setLeft(double points);
    void setWidth(double points);
    void setHeight(double points);

    QString name() const { return name_; }
    Chart& chart() const { return *chart_; }
    const Anchor& from() const { return from_; }
    const Anchor& to() const { return to_; }

  private:
    Worksheet* sheet_;
    std::unique_ptr<Chart> chart_;
    QString name_;
    Anchor from_;
    Anchor to_;
};

// Print set-up in points; margins start at the spreadsheet's usual defaults.
struct PageSetup {
    int paperSize = 0;  // 0: not set (the reader's default); 9: A4
    double leftMargin = 0.7 * 72;
    double rightMargin = 0.7 * 72;
    double topMargin = 0.75 * 72;
    double bottomMargin = 0.75 * 72;
    double headerMargin = 0.3 * 72;
    double footerMargin = 0.3 * 72;
    int zoom = 100;                     // print scale in percent
    int orientation = 1;                // 1 portrait, 2 landscape (the paper turned)
    std::optional<RangeRef> printArea;  // the cells printed; the used cells when not set

    void setPaperSize(int size);
    // Zoom: the print scale, 10 to 400 percent.
    void setZoom(int percent);
    // Orientation: 1 portrait, 2 landscape.
    void setOrientation(int value);
    // PrintArea: the block of cells that prints, an A1 reference ("$A$1:$F$120").
    void setPrintArea(const QString& reference);
    void setLeftMargin(double points);
    void setRightMargin(double points);
    void setTopMargin(double points);
    void setBottomMargin(double points);
    void setHeaderMargin(double points);
    void setFooterMargin(double points);
};

// A worksheet: cells, column widths, row heights, manual page breaks, page set-up and
// embedded charts.
//
//   Worksheet& sheet = book.worksheet(1);
//   sheet.range("A1").setValue2("Протокол");
//   sheet.hPageBreaks().add(sheet.range("A61"));
//   sheet.pageSetup().setPaperSize(xl::PaperA4);
class Worksheet : public Sheet {
  public:
    // Height of a row without a height of its own, in points, as the saved file declares it
    // (the default font's line, Arial 10).
    static constexpr double kDefaultRowHeight = 12.75;
    // Width of a column without a width of its own, in characters.
    static constexpr double kDefaultColumnWidth = 8.43;

    Worksheet(Workbook& workbook, const QString& name);

    Range range(QStringView reference) { return Range(*this, parseRange(reference)); }
    Range range(const QString& reference) { return range(QStringView(reference)); }
    Range range(const char* reference) { return range(QString::fromLatin1(reference)); }
    Range range(const RangeRef& ref) { return Range(*this, ref); }
    Range cells(int row, int column) {
        return Range(*this, RangeRef{{row, column}, {row, column}});
    }

    class HPageBreaks {
      public:
        explicit HPageBreaks(Worksheet& sheet) : sheet_(sheet) {}
        // A break above the range's first row.
        void add(const Range& before);
        int count() const { return int(sheet_.rowBreaks_.size()); }

      private:
        Worksheet& sheet_;
    };
    HPageBreaks hPageBreaks() { return HPageBreaks(*this); }
    // Rows that begin a new printed page, ascending.
    const std::set<int>& rowBreaks() const { return rowBreaks_; }
    // Spreadsheet programs keep at most this many manual page breaks in a sheet; the saved
    // file carries the first ones.
    static constexpr int kMaxSavedRowBreaks = 1026;

    PageSetup& pageSetup() { return pageSetup_; }
    const PageSetup& pageSetup() const { return pageSetup_; }

    class ChartObjects {
      public:
        explicit ChartObjects(const Worksheet& sheet) : sheet_(sheet) {}
        int count() const { return int(sheet_.shapes_.size()); }

      private:
        const Worksheet& sheet_;
    };
    ChartObjects chartObjects() const { return ChartObjects(*this); }

    class Shapes {
      public:
        explicit Shapes(Worksheet& sheet) : sheet_(sheet) {}
        int count() const { return int(sheet_.shapes_.size()); }
        Shape& item(int index);

      private:
        Worksheet& sheet_;
    };
    Shapes shapes() { return Shapes(*this); }
    const std::vector<std::unique_ptr<Shape>>& shapeList() const { return shapes_; }
    Shape& embedChart(std::unique_ptr<Chart> chart);

    // Export as PDF (type 0): the sheet as printed (see ExportWorksheetPdf), numbers and dates
    // shown with the workbook's display separators. Returns the path written; like SaveAs it
    // never replaces a file: the name is taken exclusively ("_2", "_3", ... when taken) once
    // the file is complete.
    QString exportAsFixedFormat(int type, const QString& fileName);

    // Geometry, in points.
    double rowHeight(int row) const;
    bool hasCustomHeight(int row) const;
    double rowTop(int row) const;
    double columnWidth(int column) const;  // in characters
    bool hasCustomWidth(int column) const;
    double columnWidthPoints(int column) const;
    double columnLeft(int column) const;
    // The row (column) a distance from the top (left) falls in, with the offset into it.
    void rowAt(double points, int& row, double& offset) const;
    void columnAt(double points, int& column, double& offset) const;
    void setRowHeights(int firstRow, int lastRow, double height);
    void setColumnWidths(int firstColumn, int lastColumn, double width);
    int customHeightRows() const { return int(rowHeights_.size()); }
    // The last row that holds a value in any column, or that an embedded chart covers; 0 for
    // an empty sheet.
    int lastUsedRow() const;
    // The last column that holds a value in any row, or that an embedded chart reaches.
    int lastUsedColumn() const;
    int customWidthColumns() const { return int(columnWidths_.size()); }

    // Cells.
    // Makes room for the cells of columns firstColumn..lastColumn down to `lastRow` and no
    // further, for a writer that knows how far it will go: the columns then fill without
    // moving and hold no spare room.
    void reserveRows(int firstColumn, int lastColumn, int lastRow);
    const CellStore& cellStore() const { return cells_; }
    CellStore& cellStore() { return cells_; }
    Styles& styles() const;

  private:
    friend class Range;
    CellStore cells_;
    std::vector<double> rowHeights_;    // < 0: default
    std::vector<double> columnWidths_;  // < 0: default
    std::set<int> rowBreaks_;
    PageSetup pageSetup_;
    std::vector<std::unique_ptr<Shape>> shapes_;
};

// A chart on a sheet of its own: where Charts.Add puts a new chart.
class ChartSheet : public Sheet {
  public:
    ChartSheet(Workbook& workbook, const QString& name);
    Chart& chart() { return *chart_; }
    std::unique_ptr<Chart> takeChart() { return std::move(chart_); }

  private:
    std::unique_ptr<Chart> chart_;
};

}  // namespace qorv::automation
