#include "automation/CellRef.h"

#include "automation/AutomationError.h"

#include <charconv>

namespace qorv::automation {

namespace {

// Parses "$A$5" starting at pos; advances pos. Returns false on any malformed part;
// `beyondSheet` tells that the reason was a row past the sheet's last.
bool parseCell(QStringView text, qsizetype& pos, CellRef& cell, bool& beyondSheet) {
    if (pos < text.size() && text[pos] == u'$') {
        ++pos;
    }
    long long column = 0;
    qsizetype letters = 0;
    while (pos < text.size()) {
        char16_t ch = text[pos].unicode();
        if (ch >= u'a' && ch <= u'z') {
            ch = char16_t(ch - u'a' + u'A');
        }
        if (ch < u'A' || ch > u'Z') {
            break;
        }
        column = column * 26 + (ch - u'A' + 1);
        if (column > kMaxColumns) {
            return false;
        }
        ++letters;
        ++pos;
    }
    if (letters == 0) {
        return false;
    }
    if (pos < text.size() && text[pos] == u'$') {
        ++pos;
    }
    long long row = 0;
    qsizetype digits = 0;
    while (pos < text.size() && text[pos] >= u'0' && text[pos] <= u'9') {
        row = row * 10 + (text[pos].unicode() - u'0');
        if (row > kMaxRows) {
            beyondSheet = true;
            return false;
        }
        ++digits;
        ++pos;
    }
    if (digits == 0 || row < 1) {
        return false;
    }
    cell.row = int(row);
    cell.column = int(column);
    return true;
}

}  // namespace

RangeRef parseRange(QStringView reference) {
    const QStringView text = reference.trimmed();
    qsizetype pos = 0;
    CellRef a;
    bool beyondSheet = false;
    auto fail = [&] {
        return beyondSheet ? errors::beyondSheet(reference.toString())
                           : errors::badReference(reference.toString());
    };
    if (!parseCell(text, pos, a, beyondSheet)) {
        throw fail();
    }
    CellRef b = a;
    if (pos < text.size() && text[pos] == u':') {
        ++pos;
        if (!parseCell(text, pos, b, beyondSheet)) {
            throw fail();
        }
    }
    if (pos != text.size()) {
        throw errors::badReference(reference.toString());
    }
    RangeRef range;
    range.first = {std::min(a.row, b.row), std::min(a.column, b.column)};
    range.last = {std::max(a.row, b.row), std::max(a.column, b.column)};
    return range;
}

QString columnName(int column) {
    QString name;
    while (column > 0) {
        const int rest = (column - 1) % 26;
        name.prepend(QChar(u'A' + rest));
        column = (column - 1) / 26;
    }
    return name;
}

QString cellName(CellRef cell, bool absolute) {
    const QString dollar = absolute ? QStringLiteral("$") : QString();
    return dollar + columnName(cell.column) + dollar + QString::number(cell.row);
}

QString rangeName(const RangeRef& range, bool absolute) {
    if (range.isSingleCell()) {
        return cellName(range.first, absolute);
    }
    return cellName(range.first, absolute) + u':' + cellName(range.last, absolute);
}

void appendCellName(std::string& out, int row, int column) {
    char letters[4];
    int count = 0;
    while (column > 0) {
        letters[count++] = char('A' + (column - 1) % 26);
        column = (column - 1) / 26;
    }
    while (count > 0) {
        out.push_back(letters[--count]);
    }
    char digits[12];
    const auto result = std::to_chars(digits, digits + sizeof digits, row);
    out.append(digits, result.ptr);
}

}  // namespace qorv::automation
