#include "ui/NumericKeyFilter.h"

#include <QKeyEvent>
#include <QLineEdit>

namespace qorv::ui {

bool NumericKeyFilter::accepts(QChar typed, const QString& fieldText, qsizetype cursor, Sign sign) {
    if (typed == '-') {
        return sign == LeadingMinus && cursor == 0 && !fieldText.startsWith(u'-');
    }
    if (typed.isDigit() && typed.unicode() < 128) {
        return true;
    }
    if (typed == '\b' || typed == '.') {
        return true;
    }
    if (typed == ',') {
        return !fieldText.isEmpty() && !fieldText.contains(',');
    }
    return false;
}

bool NumericKeyFilter::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() != QEvent::KeyPress) {
        return false;
    }
    const auto* key = static_cast<QKeyEvent*>(event);
    const QString typed = key->text();
    // Keys without a printable character (navigation, Delete, shortcuts) keep their effect.
    if (typed.size() != 1 || (typed[0].category() == QChar::Other_Control && typed[0] != '\b')) {
        return false;
    }
    const auto* edit = qobject_cast<QLineEdit*>(watched);
    if (!edit) {
        return !accepts(typed[0], QString());
    }
    // Typing over a selection puts the character where the selection starts.
    const qsizetype at = edit->hasSelectedText() ? edit->selectionStart() : edit->cursorPosition();
    return !accepts(typed[0], edit->text(), at, sign_);
}

}  // namespace qorv::ui
