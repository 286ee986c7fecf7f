#pragma once

#include <QString>
#include <QStringView>

#include <algorithm>

namespace qorv {

// Cuts text that arrives in pieces into lines. CR LF, a lone LF and a lone CR each end one line,
// so files converted between systems never have two lines merged into one; a CR LF split
// between two pieces is still a single line end. A last line without a line end is a line too.
// Lines are handed over without their line end; a line that spans pieces is gathered first.
//
//     LineSplitter splitter;
//     splitter.feed(u"first\r\nsec", onLine);  // onLine(u"first")
//     splitter.feed(u"ond", onLine);
//     splitter.finish(onLine);                 // onLine(u"second")
class LineSplitter {
  public:
    template <typename OnLine>
    void feed(QStringView text, OnLine&& onLine);
    template <typename OnLine>
    void finish(OnLine&& onLine);

  private:
    QString carry_;        // the start of a line whose end has not arrived yet
    bool skipLf_ = false;  // the previous piece ended with CR: a leading LF belongs to it
};

template <typename OnLine>
void LineSplitter::feed(QStringView text, OnLine&& onLine) {
    const qsizetype size = text.size();
    qsizetype pos = 0;
    if (skipLf_ && size > 0) {
        skipLf_ = false;
        if (text.front() == u'\n') {
            pos = 1;
        }
    }
    // Next CR and next LF at or after `pos`, each searched again only once passed, so a file
    // with only one kind of line end is still scanned once. -1: none in the rest of the piece.
    qsizetype nextCr = -2;
    qsizetype nextLf = -2;
    while (pos < size) {
        if (nextCr != -1 && nextCr < pos) {
            nextCr = text.indexOf(u'\r', pos);
        }
        if (nextLf != -1 && nextLf < pos) {
            nextLf = text.indexOf(u'\n', pos);
        }
        const qsizetype end =
            nextCr == -1 ? nextLf : (nextLf == -1 ? nextCr : std::min(nextCr, nextLf));
        if (end == -1) {
            carry_.append(text.sliced(pos));
            return;
        }
        const QStringView piece = text.sliced(pos, end - pos);
        if (carry_.isEmpty()) {
            onLine(piece);
        } else {
            carry_.append(piece);
            onLine(QStringView(carry_));
            carry_.clear();
        }
        pos = end + 1;
        if (text[end] == u'\r') {
            if (pos == size) {
                skipLf_ = true;
            } else if (text[pos] == u'\n') {
                ++pos;
            }
        }
    }
}

template <typename OnLine>
void LineSplitter::finish(OnLine&& onLine) {
    if (!carry_.isEmpty()) {
        onLine(QStringView(carry_));
        carry_.clear();
    }
    skipLf_ = false;
}

}  // namespace qorv
