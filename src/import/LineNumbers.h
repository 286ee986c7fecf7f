#pragma once

#include <QList>
#include <QtGlobal>

#include <initializer_list>
#include <vector>

namespace qorv {

// The line number in its file of each entry of a list of sample lines, held as runs of
// consecutive numbers: the sample lines of a file follow one another, so a million of them take
// a run or a few rather than eight bytes each. Copies share the runs until one of them changes.
//
//   LineNumbers numbers;
//   numbers.append(12);
//   numbers.append(13);          // continues the run
//   numbers.value(1);            // 13
class LineNumbers {
  public:
    LineNumbers() = default;
    LineNumbers(std::initializer_list<qsizetype> numbers);

    qsizetype size() const { return size_; }
    bool isEmpty() const { return size_ == 0; }
    void clear() { *this = LineNumbers(); }

    void append(qsizetype number);
    LineNumbers& operator<<(qsizetype number) {
        append(number);
        return *this;
    }
    void removeLast();
    // The number of entry i; 0 for an index out of range.
    qsizetype value(qsizetype i) const;
    // Keeps the entries at the given indices, in their order; an empty list stays empty.
    void keep(const std::vector<qsizetype>& indices);

    friend bool operator==(const LineNumbers& a, const LineNumbers& b);

  private:
    // A run: the index of its first entry and that entry's number.
    struct Run {
        qsizetype first;
        qsizetype number;
    };
    QList<Run> runs_;
    qsizetype size_ = 0;
};

}  // namespace qorv
