#pragma once

#include <QPixmap>
#include <QSize>

namespace qorv::ui {

// The program's emblem, drawn here rather than shipped as a picture: a small logger with its
// display over a temperature curve and a humidity curve, and the program's name. Used in the
// about box (80 × 73) and as the windows' icon.
QPixmap Emblem(QSize size);

}  // namespace qorv::ui
