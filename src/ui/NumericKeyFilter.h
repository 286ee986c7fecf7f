#pragma once

#include <QObject>

namespace qorv::ui {

// The key filter of the window's numeric fields (step, smoothing, a, b, c, d, ΔH): digits,
// Backspace, '.' and ',' pass, and a leading '-' in the corrections a, b, c, d; every other
// typed character is dropped. A ',' is dropped as well when the field is empty or already holds
// one. A '.' always passes, so a field may still hold a text that is no number ("1..5",
// "-,5"): the "Excel" button's checks refuse it. Keys that type nothing
// (arrows, Delete, Tab) and the editing shortcuts (copy, paste, undo) are left alone.
//
//     edit->installEventFilter(new NumericKeyFilter(edit));
class NumericKeyFilter : public QObject {
    Q_OBJECT
  public:
    // Whether a '-' may be typed at the start of the field (the corrections a, b, c, d).
    enum Sign { NoSign, LeadingMinus };

    explicit NumericKeyFilter(QObject* parent, Sign sign = NoSign) : QObject(parent), sign_(sign) {}

    // Whether typing `typed` at `cursor` into a field holding `fieldText` goes through. A '-'
    // passes only with LeadingMinus, at the start of a field that does not begin with one.
    static bool accepts(QChar typed, const QString& fieldText, qsizetype cursor = 0,
                        Sign sign = NoSign);

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    Sign sign_;
};

}  // namespace qorv::ui
