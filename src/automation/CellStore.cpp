#include "automation/CellStore.h"

#include <algorithm>

namespace qorv::automation {

void CellStore::grow(Column& column, int row) {
    const std::size_t wanted = std::size_t(row);
    if (wanted > column.meta.capacity()) {
        // Grow by half again, so that cell-by-cell writes down a column stay linear.
        const std::size_t capacity = std::max(wanted, column.meta.capacity() * 3 / 2);
        column.meta.reserve(capacity);
        column.values.reserve(capacity);
    }
    column.meta.resize(wanted, CellMeta(0));
    column.values.resize(wanted, 0.0);
}

void CellStore::reserve(int column, int lastRow) {
    if (column > int(columns_.size())) {
        columns_.resize(std::size_t(column));
    }
    Column& c = columns_[std::size_t(column - 1)];
    if (std::size_t(lastRow) > c.meta.capacity()) {
        // Grow by half again at least: block after block down a column stays linear.
        const std::size_t capacity = std::max(std::size_t(lastRow), c.meta.capacity() * 3 / 2);
        c.meta.reserve(capacity);
        c.values.reserve(capacity);
    }
}

void CellStore::reserveExactly(int column, int lastRow) {
    if (column > int(columns_.size())) {
        columns_.resize(std::size_t(column));
    }
    Column& c = columns_[std::size_t(column - 1)];
    c.meta.reserve(std::size_t(lastRow));
    c.values.reserve(std::size_t(lastRow));
}

double* CellStore::setBlock(int column, int firstRow, int count, CellMeta meta) {
    Column& c = ensure(firstRow + count - 1, column);
    std::fill_n(c.meta.begin() + (firstRow - 1), count, meta);
    return c.values.data() + (firstRow - 1);
}

int CellStore::lastRow() const {
    int last = 0;
    for (const Column& c : columns_) {
        int row = int(c.meta.size());
        while (row > last && c.meta[std::size_t(row - 1)] == 0) {
            --row;
        }
        last = std::max(last, row);
    }
    return last;
}

}  // namespace qorv::automation
