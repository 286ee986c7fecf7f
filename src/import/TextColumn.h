#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>
#include <QStringView>

#include <algorithm>
#include <initializer_list>
#include <vector>

namespace qorv {

// A list of texts held end to end in one buffer, with where each ends: a million sample lines
// or values cost their characters and four bytes each, not a string object apiece. A column
// holds at most 2^32 - 1 characters; past that it fails as memory does (std::bad_alloc). While
// every character fits in eight bits (Latin-1: digits, separators, "°C"), the buffer holds a byte
// per character; the first wider character (a Cyrillic event word) turns the whole column into
// UTF-16. Copies share the buffer until one of them changes, as Qt's own lists do.
//
// Entries are read through a Reader, which widens an entry of an eight-bit column into a buffer
// of its own: a view it gives lasts until its next read, or until the column changes.
//
//   TextColumn times;
//   times.append(u"01.02.2015 10:00:00");
//   TextColumn::Reader read(times);
//   QStringView first = read[0];
class TextColumn {
  public:
    class Reader;
    class Writer;

    TextColumn() = default;
    TextColumn(std::initializer_list<QString> texts);
    TextColumn(const QStringList& texts);  // NOLINT: a list converts as its texts

    qsizetype size() const { return ends_.size(); }
    bool isEmpty() const { return ends_.isEmpty(); }
    // The characters of all the entries together.
    qsizetype characters() const { return wide_ ? wideText_.size() : narrowText_.size(); }
    // Whether a character takes two bytes (one that does not fit in eight bits was added).
    bool isWide() const { return wide_; }

    // Where entry i starts among all the characters, and its length.
    qsizetype startOf(qsizetype i) const { return i == 0 ? 0 : qsizetype(ends_[i - 1]); }
    qsizetype lengthOf(qsizetype i) const { return qsizetype(ends_[i]) - startOf(i); }
    // A copy of entry i; empty when there is no entry i.
    QString copyAt(qsizetype i) const;

    void reserve(qsizetype entries, qsizetype characters);
    // A column of entries of the given lengths, their characters not yet set: each is written
    // in place through the Writer, where several threads may each write their own entries once
    // the one Writer has been taken. `wide`: some entry holds a character wider than 8 bits.
    // The lengths become where the entries end, in the same memory.
    static TextColumn ofLengths(QList<quint32> lengths, bool wide);
    Writer writer();

    void append(QStringView text);
    TextColumn& operator<<(QStringView text) {
        append(text);
        return *this;
    }
    void clear();
    // Keeps the entries whose index is in `keep` (ascending), in place.
    void keep(const std::vector<qsizetype>& keep);
    // Keeps a stretch of each entry, in place, and gives the room left over back:
    // `stretch(entry)` gives where the stretch starts in the entry and its length, and each
    // character kept is passed through `map`, which must give one that fits the column (of
    // eight bits while the column is narrow).
    template <typename Stretch, typename Map>
    void keepStretches(Stretch stretch, Map map);

    QStringList toList() const;
    friend bool operator==(const TextColumn& a, const TextColumn& b);
    friend bool operator==(const TextColumn& a, const QStringList& b);

    // Whether every character of `text` fits in eight bits.
    static bool fitsNarrow(QStringView text);

    // Holds every character in two bytes from now on, as when a wider one is added.
    void widen();

  private:
    QByteArray narrowText_;  // Latin-1, while `wide_` is false
    QString wideText_;       // UTF-16, once `wide_` is true
    bool wide_ = false;
    QList<quint32> ends_;  // entry i ends before character ends_[i]
};

template <typename Stretch, typename Map>
void TextColumn::keepStretches(Stretch stretch, Map map) {
    // A stretch only moves towards the front, so the buffer is rewritten from its start; each
    // entry's old end is read before its new end is written.
    qsizetype start = 0;
    qsizetype written = 0;
    QString entry;  // a narrow entry, widened for `stretch`
    for (qsizetype i = 0; i < size(); ++i) {
        const qsizetype end = qsizetype(ends_[i]);
        if (wide_) {
            QChar* text = wideText_.data();
            const auto [from, length] = stretch(QStringView(text + start, end - start));
            for (qsizetype k = 0; k < length; ++k) {
                text[written + k] = map(text[start + from + k]);
            }
            written += length;
        } else {
            char* text = narrowText_.data();
            entry.resize(end - start);
            std::transform(text + start, text + end, entry.begin(),
                           [](char c) { return QChar(static_cast<unsigned char>(c)); });
            const auto [from, length] = stretch(QStringView(entry));
            std::transform(entry.cbegin() + from, entry.cbegin() + from + length, text + written,
                           [&](QChar c) { return static_cast<char>(map(c).unicode()); });
            written += length;
        }
        ends_[i] = quint32(written);
        start = end;
    }
    if (wide_) {
        wideText_.truncate(written);
        wideText_.squeeze();
    } else {
        narrowText_.truncate(written);
        narrowText_.squeeze();
    }
}

// Reads a column's entries as UTF-16 views. One reader belongs to one thread.
class TextColumn::Reader {
  public:
    explicit Reader(const TextColumn& column) : column_(column) {}
    Reader(const Reader&) = delete;
    Reader& operator=(const Reader&) = delete;

    // Entry i, valid until this reader's next read or a change of the column.
    QStringView operator[](qsizetype i) {
        const qsizetype start = column_.startOf(i);
        const qsizetype length = qsizetype(column_.ends_[i]) - start;
        if (column_.wide_) {
            return QStringView(column_.wideText_).mid(start, length);
        }
        buffer_.resize(length);
        const char* from = column_.narrowText_.constData() + start;
        char16_t* to = reinterpret_cast<char16_t*>(buffer_.data());
        for (qsizetype k = 0; k < length; ++k) {
            to[k] = static_cast<unsigned char>(from[k]);
        }
        return buffer_;
    }
    // Entry i; an empty view past the end.
    QStringView value(qsizetype i) { return i < column_.size() ? (*this)[i] : QStringView(); }
    // Whether the column read holds characters wider than eight bits.
    bool wide() const { return column_.wide_; }

  private:
    const TextColumn& column_;
    QString buffer_;
};

// Writes the entries of a column made by ofLengths, each in its place.
class TextColumn::Writer {
  public:
    // Writes entry i, `text` with each character passed through `map`; the text has the
    // entry's length, and its characters fit the column.
    template <typename Map>
    void write(qsizetype i, QStringView text, Map map) const {
        const qsizetype start = i == 0 ? 0 : qsizetype(ends_[i - 1]);
        if (wide_) {
            std::transform(text.begin(), text.end(), wide_ + start, map);
        } else {
            std::transform(text.begin(), text.end(), narrow_ + start,
                           [&](QChar c) { return static_cast<char>(map(c).unicode()); });
        }
    }
    void write(qsizetype i, QStringView text) const {
        write(i, text, [](QChar c) { return c; });
    }

  private:
    friend class TextColumn;
    Writer(char* narrow, QChar* wide, const quint32* ends)
        : narrow_(narrow), wide_(wide), ends_(ends) {}
    char* narrow_;
    QChar* wide_;
    const quint32* ends_;
};

}  // namespace qorv
