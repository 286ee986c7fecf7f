#pragma once

#include <QObject>

namespace qorv::ui {

// The key filter of the window's numeric fields (step, smoothing, a, b, c, d, ΔH): digits,
// Backspace, '.' and ',' pass and every other typed character is dropped; a ',' is dropped as
// well when the field is empty or already holds one. A '.' always passes, so a field may still
// hold a text that is no number: the "Excel" button's checks refuse it. Keys that type nothing
// (arrows, Delete, Tab) and the editing shortcuts (copy, paste, undo) are left alone.
//
//     edit->installEventFilter(new NumericKeyFilter(edit));
class NumericKeyFilter : public QObject {
    Q_OBJECT
  public:
    using QObject::QObject;

    // Whether typing `typed` into a field holding `fieldText` goes through.
    static bool accepts(QChar typed, const QString& fieldText);

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
};

}  // namespace qorv::ui
