#include "ui/PixelFonts.h"

#include <QWidget>

#include <cmath>

namespace qorv::ui {

namespace {

constexpr double kDesignDpi = 96.0;

void ConvertFont(QWidget* widget) {
    if (widget->testAttribute(Qt::WA_SetFont)) {
        QFont font = widget->font();
        if (font.pointSizeF() > 0) {
            font.setPixelSize(static_cast<int>(std::lround(font.pointSizeF() * kDesignDpi / 72.0)));
            widget->setFont(font);
        }
    }
}

}  // namespace

void UseScreenPixelFonts(QWidget* root) {
    ConvertFont(root);
    // Parents before children: findChildren lists them in that order.
    for (QWidget* child : root->findChildren<QWidget*>()) {
        ConvertFont(child);
    }
}

}  // namespace qorv::ui

#include <QAbstractButton>
#include <QLabel>
#include <QPushButton>

namespace qorv::ui {

QStringList GrowToFitCaptions(QWidget* root) {
    QStringList grown;
    for (QWidget* widget : root->findChildren<QWidget*>()) {
        int needed = 0;
        if (auto* button = qobject_cast<QPushButton*>(widget)) {
            // A push button's size hint has a minimum width of its own; only the caption counts.
            constexpr int kPadding = 8;
            needed = button->fontMetrics().horizontalAdvance(button->text()) + kPadding;
        } else if (qobject_cast<QAbstractButton*>(widget) != nullptr) {
            needed = widget->sizeHint().width();
        } else if (auto* label = qobject_cast<QLabel*>(widget); label && !label->wordWrap()) {
            needed = label->sizeHint().width();
        }
        if (needed > widget->width()) {
            widget->resize(needed, widget->height());
            grown << widget->objectName();
        }
    }
    return grown;
}

}  // namespace qorv::ui
