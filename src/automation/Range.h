#pragma once

#include "automation/CellRef.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <QStringView>
#include <QVariant>

#include <functional>

namespace qorv::automation {

class Worksheet;
class RangeFont;
class RangeBorders;

// A two-dimensional array of texts written into a block of cells in one call, row-major.
//
//   range.setValue(TextArray::column(timeTexts));          // one column, one row per text
//   TextArray block(57, 3); block.at(0, 1) = "23.4";       // a 57 x 3 block
class TextArray {
  public:
    TextArray() = default;
    TextArray(qsizetype rows, qsizetype columns)
        : rows_(rows), columns_(columns), texts_(rows * columns) {}
    static TextArray column(const QStringList& texts);
    static TextArray fromRows(const QList<QStringList>& rows);

    qsizetype rows() const { return rows_; }
    qsizetype columns() const { return columns_; }
    QString& at(qsizetype row, qsizetype column) { return texts_[row * columns_ + column]; }
    const QString& at(qsizetype row, qsizetype column) const {
        return texts_[row * columns_ + column];
    }

  private:
    qsizetype rows_ = 0;
    qsizetype columns_ = 0;
    QList<QString> texts_;
};

// A cell or block of a worksheet, by A1 reference. A small value: every call acts on the
// worksheet at once. Enumeration values are those the report passes (HorizontalAlignment 3
// or -4108 centre, Borders(9) the bottom edge, LineStyle 1 continuous, Weight -4138 medium).
//
//   Range head = sheet.range("A5:F5");
//   head.font().setBold(true);
//   head.borders(xl::EdgeBottom).setWeight(xl::Medium);
class Range {
  public:
    Range(Worksheet& sheet, const RangeRef& ref) : sheet_(&sheet), ref_(ref) {}

    Worksheet& worksheet() const { return *sheet_; }
    const RangeRef& ref() const { return ref_; }
    QString address() const;

    // Values. Value and FormulaR1C1Local convert numbers and day-first dates; Value2 only
    // numbers. One text goes into every cell of the range; an array fills the range from
    // its top-left cell (the part of the array outside the range is dropped, cells of the
    // range outside the array are left alone). An empty text empties the cell.
    void setValue2(const QString& text);
    void setValue(const QString& text);
    void setValue(const TextArray& texts);
    // As setValue(TextArray) with a column of `rows` texts, textAt(i) the text of row i: for
    // texts held elsewhere than in strings of their own.
    void setColumnValue(qsizetype rows, const std::function<QStringView(qsizetype)>& textAt);
    void setFormulaR1C1Local(const QString& text);
    void setFormulaR1C1Local(const TextArray& texts);
    // The top-left cell's content: a double, a QString, or an invalid QVariant when empty.
    QVariant value2() const;
    // The top-left cell as text: numbers in shortest round-trip form.
    QString text() const;

    void setNumberFormatLocal(const QString& localCode);
    void setNumberFormat(const QString& code);
    QString numberFormat() const;

    using Font = RangeFont;
    RangeFont font() const;

    void setHorizontalAlignment(int alignment);
    void setVerticalAlignment(int alignment);

    // Borders: every edge of every cell (no index), or one edge of the block (7 left, 8 top,
    // 9 bottom, 10 right, 11 inside vertical, 12 inside horizontal).
    using Borders = RangeBorders;
    RangeBorders borders() const;
    RangeBorders borders(int index) const;

    // Width of the range's columns in characters of the default font; height of its rows
    // in points.
    void setColumnWidth(double width);
    double columnWidth() const;
    void setRowHeight(double height);
    double rowHeight() const;
    // Distance in points from the top of the sheet to the top of the range.
    double top() const;
    double left() const;

  private:
    Worksheet* sheet_;
    RangeRef ref_;
};

// Range.Font
class RangeFont {
  public:
    explicit RangeFont(const Range& range) : range_(range) {}
    void setSize(double size);
    void setBold(bool bold);
    void setName(const QString& name);
    double size() const;
    bool bold() const;
    QString name() const;

  private:
    Range range_;
};

// Range.Borders / Range.Borders(index): LineStyle 1 continuous, -4142 none; Weight 1
// hairline, 2 thin, -4138 medium, 4 thick.
class RangeBorders {
  public:
    RangeBorders(const Range& range, int index) : range_(range), index_(index) {}
    void setLineStyle(int lineStyle);
    void setWeight(int weight);

  private:
    Range range_;
    int index_;
};

inline RangeFont Range::font() const {
    return RangeFont(*this);
}
inline RangeBorders Range::borders() const {
    return RangeBorders(*this, 0);
}

}  // namespace qorv::automation
