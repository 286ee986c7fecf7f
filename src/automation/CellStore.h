#pragma once

#include <cstdint>
#include <vector>

namespace qorv::automation {

enum class CellType : std::uint8_t { Empty = 0, Number = 1, Text = 2 };

// A cell's type and format index in one 16-bit word.
using CellMeta = std::uint16_t;

// The cells of one worksheet, column by column in two flat arrays (value, and a word holding
// the cell type and its format index), 10 bytes a cell and no heap object per cell. A text
// cell's value is the index of its text in the workbook's text table.
class CellStore {
  public:
    // Format indices a cell can hold; a workbook has far fewer distinct formats.
    static constexpr std::uint32_t kFormats = 1u << 14;

    static CellMeta pack(CellType type, std::uint32_t format) {
        return CellMeta((format << 2) | std::uint32_t(type));
    }
    static CellType typeOf(std::uint32_t meta) { return CellType(meta & 3u); }
    static std::uint32_t formatOf(std::uint32_t meta) { return meta >> 2; }

    // Makes room for rows 1..lastRow of a column, so that a block write allocates once; a
    // column that must move grows by half again at least, as blocks come one after another.
    void reserve(int column, int lastRow);
    // Makes room for rows 1..lastRow of a column and no more, for a writer that knows the
    // column's final length.
    void reserveExactly(int column, int lastRow);

    CellMeta meta(int row, int column) const {
        if (column > int(columns_.size())) {
            return 0;
        }
        const Column& c = columns_[std::size_t(column - 1)];
        return row <= int(c.meta.size()) ? c.meta[std::size_t(row - 1)] : CellMeta(0);
    }
    double value(int row, int column) const {
        if (column > int(columns_.size())) {
            return 0;
        }
        const Column& c = columns_[std::size_t(column - 1)];
        return row <= int(c.values.size()) ? c.values[std::size_t(row - 1)] : 0.0;
    }
    void set(int row, int column, CellMeta meta, double value) {
        Column& c = ensure(row, column);
        c.meta[std::size_t(row - 1)] = meta;
        c.values[std::size_t(row - 1)] = value;
    }
    void setMeta(int row, int column, CellMeta meta) {
        ensure(row, column).meta[std::size_t(row - 1)] = meta;
    }
    // Makes columns 1..lastColumn exist, so that cells of different columns can then be set
    // side by side.
    void addColumns(int lastColumn) {
        if (lastColumn > int(columns_.size())) {
            columns_.resize(std::size_t(lastColumn));
        }
    }
    // Gives rows firstRow .. firstRow + count - 1 of a column (count > 0) all `meta`, and
    // returns where their values go, to be written by the caller. The pointer holds until a
    // cell of that column or a column after the last is set.
    double* setBlock(int column, int firstRow, int count, CellMeta meta);

    int columnCount() const { return int(columns_.size()); }
    int rowCount(int column) const { return int(columns_[std::size_t(column - 1)].meta.size()); }
    // The last row holding a cell of any kind (value or format), 0 when there is none.
    int lastRow() const;
    // Direct read access for the sheet writer.
    const CellMeta* metaData(int column) const {
        return columns_[std::size_t(column - 1)].meta.data();
    }
    const double* valueData(int column) const {
        return columns_[std::size_t(column - 1)].values.data();
    }

  private:
    struct Column {
        std::vector<double> values;
        std::vector<CellMeta> meta;
    };
    Column& ensure(int row, int column) {
        if (column > int(columns_.size())) {
            columns_.resize(std::size_t(column));
        }
        Column& c = columns_[std::size_t(column - 1)];
        if (row > int(c.meta.size())) {
            grow(c, row);
        }
        return c;
    }
    static void grow(Column& column, int row);

    std::vector<Column> columns_;
};

}  // namespace qorv::automation
