#include "import/LineNumbers.h"

#include <algorithm>

namespace qorv {

LineNumbers::LineNumbers(std::initializer_list<qsizetype> numbers) {
    for (qsizetype number : numbers) {
        append(number);
    }
}

void LineNumbers::append(qsizetype number) {
    if (runs_.isEmpty() || runs_.last().number + (size_ - runs_.last().first) != number) {
        runs_.append(Run{size_, number});
    }
    size_ += 1;
}

void LineNumbers::removeLast() {
    if (size_ == 0) {
        return;
    }
    size_ -= 1;
    if (runs_.last().first == size_) {
        runs_.removeLast();
    }
}

qsizetype LineNumbers::value(qsizetype i) const {
    if (i < 0 || i >= size_) {
        return 0;
    }
    // The last run starting at or before i.
    const auto after =
        std::upper_bound(runs_.cbegin(), runs_.cend(), i,
                         [](qsizetype index, const Run& run) { return index < run.first; });
    const Run& run = *(after - 1);
    return run.number + (i - run.first);
}

void LineNumbers::keep(const std::vector<qsizetype>& indices) {
    if (isEmpty()) {
        return;  // lines without numbers stay without
    }
    LineNumbers kept;
    for (qsizetype i : indices) {
        kept.append(value(i));
    }
    *this = std::move(kept);
}

bool operator==(const LineNumbers& a, const LineNumbers& b) {
    if (a.size_ != b.size_ || a.runs_.size() != b.runs_.size()) {
        return false;
    }
    for (qsizetype r = 0; r < a.runs_.size(); ++r) {
        if (a.runs_[r].first != b.runs_[r].first || a.runs_[r].number != b.runs_[r].number) {
            return false;
        }
    }
    return true;
}

}  // namespace qorv
