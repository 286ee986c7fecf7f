#pragma once

#include <QString>
#include <QStringView>
#include <string>

namespace qorv::automation {

inline constexpr int kMaxRows = 1048576;
inline constexpr int kMaxColumns = 16384;

// One cell by its 1-based row and column.
struct CellRef {
    int row = 1;
    int column = 1;
    friend bool operator==(const CellRef&, const CellRef&) = default;
};

// A rectangular block of cells, corners inclusive and ordered (first is top-left).
struct RangeRef {
    CellRef first;
    CellRef last;

    int rowCount() const { return last.row - first.row + 1; }
    int columnCount() const { return last.column - first.column + 1; }
    bool isSingleCell() const { return first == last; }
    friend bool operator==(const RangeRef&, const RangeRef&) = default;
};

// Reads an A1 reference: a cell ("A5", "$A$5") or a block ("A5:F5", corners in any order).
// Throws AutomationError (BadReference) for anything else.
RangeRef parseRange(QStringView reference);

// "A", "Z", "AA", ... for a 1-based column.
QString columnName(int column);
// "A5", or "$A$5" when absolute.
QString cellName(CellRef cell, bool absolute = false);
// "A5:F5" ("A5" for a single cell), optionally absolute.
QString rangeName(const RangeRef& range, bool absolute = false);
// Appends "A5" to a UTF-8 buffer without allocating; used by the sheet writer.
void appendCellName(std::string& out, int row, int column);

}  // namespace qorv::automation
