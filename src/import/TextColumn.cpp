#include "import/TextColumn.h"

#include <algorithm>

namespace qorv {

TextColumn::TextColumn(std::initializer_list<QString> texts) {
    for (const QString& text : texts) {
        append(text);
    }
}

TextColumn::TextColumn(const QStringList& texts) {
    qsizetype characters = 0;
    for (const QString& text : texts) {
        characters += text.size();
    }
    reserve(texts.size(), characters);
    for (const QString& text : texts) {
        append(text);
    }
}

void TextColumn::reserve(qsizetype entries, qsizetype characters) {
    ends_.reserve(entries);
    text_.reserve(characters);
}

TextColumn TextColumn::ofLengths(const QList<qsizetype>& lengths) {
    TextColumn column;
    column.ends_ = lengths;
    qsizetype end = 0;
    for (qsizetype& entry : column.ends_) {
        end += entry;
        entry = end;
    }
    column.text_.resize(end);
    return column;
}

void TextColumn::keep(const std::vector<qsizetype>& keep) {
    if (isEmpty()) {
        return;
    }
    // Kept entries only move towards the front, so the buffer is rewritten from its start. The
    // end of entry i - 1 is overwritten before entry i is read only when every entry before i
    // was kept, and then with the same value.
    QChar* out = text_.data();
    qsizetype written = 0;
    qsizetype count = 0;
    for (qsizetype i : keep) {
        const qsizetype start = i == 0 ? 0 : ends_[i - 1];
        const qsizetype length = ends_[i] - start;
        std::copy(out + start, out + start + length, out + written);
        written += length;
        ends_[count++] = written;
    }
    text_.truncate(written);
    ends_.resize(count);
}

QStringList TextColumn::toList() const {
    QStringList list;
    list.reserve(size());
    for (QStringView entry : *this) {
        list.append(entry.toString());
    }
    return list;
}

bool operator==(const TextColumn& a, const QStringList& b) {
    if (a.size() != b.size()) {
        return false;
    }
    for (qsizetype i = 0; i < a.size(); ++i) {
        if (a[i] != b[i]) {
            return false;
        }
    }
    return true;
}

}  // namespace qorv
