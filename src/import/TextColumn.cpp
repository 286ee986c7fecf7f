#include "import/TextColumn.h"

#include <algorithm>
#include <limits>
#include <new>

namespace qorv {

namespace {

// The most characters a column holds: where an entry ends is kept in 32 bits.
constexpr qsizetype kMostCharacters = std::numeric_limits<quint32>::max();

}  // namespace

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

bool TextColumn::fitsNarrow(QStringView text) {
    return std::all_of(text.begin(), text.end(), [](QChar c) { return c.unicode() < 0x100; });
}

QString TextColumn::copyAt(qsizetype i) const {
    if (i < 0 || i >= size()) {
        return QString();
    }
    if (wide_) {
        return wideText_.mid(startOf(i), lengthOf(i));
    }
    return QString::fromLatin1(narrowText_.constData() + startOf(i), lengthOf(i));
}

void TextColumn::reserve(qsizetype entries, qsizetype characters) {
    ends_.reserve(entries);
    if (wide_) {
        wideText_.reserve(characters);
    } else {
        narrowText_.reserve(characters);
    }
}

TextColumn TextColumn::ofLengths(QList<quint32> lengths, bool wide) {
    TextColumn column;
    column.ends_ = std::move(lengths);
    qsizetype end = 0;
    for (quint32& entry : column.ends_) {
        end += entry;
        if (end > kMostCharacters) {
            throw std::bad_alloc();
        }
        entry = quint32(end);
    }
    column.wide_ = wide;
    if (wide) {
        column.wideText_.resize(end);
    } else {
        column.narrowText_.resize(end);
    }
    return column;
}

TextColumn::Writer TextColumn::writer() {
    return Writer(wide_ ? nullptr : narrowText_.data(), wide_ ? wideText_.data() : nullptr,
                  ends_.constData());
}

void TextColumn::widen() {
    if (wide_) {
        return;
    }
    // The room made for the column is kept, so that a reserved column still grows in place.
    QString wide;
    wide.reserve(std::max(narrowText_.capacity(), narrowText_.size()));
    wide.append(QLatin1StringView(narrowText_));
    wideText_ = std::move(wide);
    narrowText_ = QByteArray();
    wide_ = true;
}

void TextColumn::append(QStringView text) {
    if (characters() + text.size() > kMostCharacters) {
        throw std::bad_alloc();
    }
    if (!wide_ && !fitsNarrow(text)) {
        widen();
    }
    if (wide_) {
        wideText_.append(text);
    } else {
        const qsizetype start = narrowText_.size();
        narrowText_.resize(start + text.size());
        std::transform(text.begin(), text.end(), narrowText_.data() + start,
                       [](QChar c) { return static_cast<char>(c.unicode()); });
    }
    ends_.append(quint32(characters()));
}

void TextColumn::clear() {
    narrowText_.clear();
    wideText_.clear();
    wide_ = false;
    ends_.clear();
}

namespace {

// Moves the kept entries of `text` to its front; returns the characters kept.
template <typename Char>
qsizetype keepIn(Char* text, QList<quint32>& ends, const std::vector<qsizetype>& keep) {
    // Kept entries only move towards the front, so the buffer is rewritten from its start. The
    // end of entry i - 1 is overwritten before entry i is read only when every entry before i
    // was kept, and then with the same value.
    qsizetype written = 0;
    qsizetype count = 0;
    for (qsizetype i : keep) {
        const qsizetype start = i == 0 ? 0 : qsizetype(ends[i - 1]);
        const qsizetype length = qsizetype(ends[i]) - start;
        std::copy(text + start, text + start + length, text + written);
        written += length;
        ends[count++] = quint32(written);
    }
    ends.resize(count);
    return written;
}

}  // namespace

void TextColumn::keep(const std::vector<qsizetype>& keep) {
    if (isEmpty()) {
        return;
    }
    if (wide_) {
        wideText_.truncate(keepIn(wideText_.data(), ends_, keep));
    } else {
        narrowText_.truncate(keepIn(narrowText_.data(), ends_, keep));
    }
}

QStringList TextColumn::toList() const {
    QStringList list;
    list.reserve(size());
    for (qsizetype i = 0; i < size(); ++i) {
        list.append(copyAt(i));
    }
    return list;
}

bool operator==(const TextColumn& a, const TextColumn& b) {
    if (a.ends_ != b.ends_) {
        return false;
    }
    if (a.wide_ == b.wide_) {
        return a.wide_ ? a.wideText_ == b.wideText_ : a.narrowText_ == b.narrowText_;
    }
    const QString& wide = a.wide_ ? a.wideText_ : b.wideText_;
    const QByteArray& narrow = a.wide_ ? b.narrowText_ : a.narrowText_;
    return wide == QLatin1StringView(narrow);
}

bool operator==(const TextColumn& a, const QStringList& b) {
    if (a.size() != b.size()) {
        return false;
    }
    TextColumn::Reader read(a);
    for (qsizetype i = 0; i < a.size(); ++i) {
        if (read[i] != b[i]) {
            return false;
        }
    }
    return true;
}

}  // namespace qorv
