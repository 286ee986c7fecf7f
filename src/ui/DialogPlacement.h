#pragma once

#include <QRect>
#include <QScreen>
#include <QWidget>

#include <algorithm>

namespace qorv::ui {

// Places a dialog that is about to open centred over the window it belongs to (the main
// window), kept on that window's screen; without a parent, in the screen's top left corner.
inline void CentreOverParent(QWidget& dialog) {
    const QWidget* owner = dialog.parentWidget() ? dialog.parentWidget()->window() : nullptr;
    const QScreen* screen = owner ? owner->screen() : dialog.screen();
    if (!screen) {
        return;
    }
    const QRect available = screen->availableGeometry();
    if (!owner) {
        dialog.move(available.topLeft());
        return;
    }
    QRect frame(QPoint(), dialog.frameGeometry().size());
    frame.moveCenter(owner->frameGeometry().center());
    // Not off the screen's edges when the main window is partly off them.
    frame.moveLeft(std::clamp(frame.left(), available.left(),
                              std::max(available.left(), available.right() - frame.width() + 1)));
    frame.moveTop(std::clamp(frame.top(), available.top(),
                             std::max(available.top(), available.bottom() - frame.height() + 1)));
    dialog.move(frame.topLeft());
}

}  // namespace qorv::ui
