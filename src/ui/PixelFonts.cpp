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
