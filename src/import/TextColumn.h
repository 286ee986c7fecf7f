#pragma once

#include <QList>
#include <QString>
#include <QStringList>
#include <QStringView>

#include <initializer_list>
#include <iterator>
#include <vector>

namespace qorv {

// A list of texts held end to end in one buffer, with where each ends: a million sample lines
// or values cost their characters and eight bytes each, not a string object apiece. Entries are
// read as views into the buffer, valid until the column next changes. Copies share the buffer
// until one of them changes, as Qt's own lists do.
//
//   TextColumn times;
//   times.append(u"01.02.2015 10:00:00");
//   QStringView first = times[0];
class TextColumn {
  public:
    TextColumn() = default;
    TextColumn(std::initializer_list<QString> texts);
    TextColumn(const QStringList& texts);  // NOLINT: a list converts as its texts

    qsizetype size() const { return ends_.size(); }
    bool isEmpty() const { return ends_.isEmpty(); }
    // The characters of all the entries together.
    qsizetype characters() const { return text_.size(); }

    QStringView operator[](qsizetype i) const {
        const qsizetype start = startOf(i);
        return QStringView(text_).mid(start, ends_[i] - start);
    }
    // Where entry i starts among all the characters.
    qsizetype startOf(qsizetype i) const { return i == 0 ? 0 : ends_[i - 1]; }
    // Entry i; an empty view past the end.
    QStringView value(qsizetype i) const { return i < size() ? (*this)[i] : QStringView(); }
    QStringView first() const { return (*this)[0]; }
    QStringView last() const { return (*this)[size() - 1]; }

    void reserve(qsizetype entries, qsizetype characters);
    // A column of entries of the given lengths, their characters not yet set: each is written
    // in place at writableCharacters() + startOf(i), where several threads may each write
    // their own entries once the one pointer has been taken.
    static TextColumn ofLengths(const QList<qsizetype>& lengths);
    QChar* writableCharacters() { return text_.data(); }

    void append(QStringView text) {
        text_.append(text);
        ends_.append(text_.size());
    }
    TextColumn& operator<<(QStringView text) {
        append(text);
        return *this;
    }
    void clear() {
        text_.clear();
        ends_.clear();
    }
    // Keeps the entries whose index is in `keep` (ascending), in place.
    void keep(const std::vector<qsizetype>& keep);

    QStringList toList() const;
    friend bool operator==(const TextColumn& a, const TextColumn& b) {
        return a.ends_ == b.ends_ && a.text_ == b.text_;
    }
    friend bool operator==(const TextColumn& a, const QStringList& b);

    class const_iterator {
      public:
        using iterator_category = std::forward_iterator_tag;
        using value_type = QStringView;
        using difference_type = qsizetype;
        using pointer = void;
        using reference = QStringView;

        const_iterator(const TextColumn* column, qsizetype i) : column_(column), i_(i) {}
        QStringView operator*() const { return (*column_)[i_]; }
        const_iterator& operator++() {
            ++i_;
            return *this;
        }
        friend bool operator==(const const_iterator&, const const_iterator&) = default;

      private:
        const TextColumn* column_;
        qsizetype i_;
    };
    const_iterator begin() const { return {this, 0}; }
    const_iterator end() const { return {this, size()}; }

  private:
    QString text_;
    QList<qsizetype> ends_;  // entry i ends before text_[ends_[i]]
};

}  // namespace qorv
