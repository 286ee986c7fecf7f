#pragma once

class QWidget;

namespace qorv::ui {

// The windows' positions and sizes are those of a 96-dpi screen, and so are their fonts: every
// font set on `root` or on a widget inside it is turned from its point size into the pixel
// height it has at 96 dpi (8 pt -> 11 px, 10 pt -> 13 px, 12 pt -> 16 px), so that captions fit
// their controls whatever dpi the display reports.
void UseScreenPixelFonts(QWidget* root);

}  // namespace qorv::ui

#include <QStringList>

namespace qorv::ui {

// Widens every check box, radio button, push button and one-line label inside `root` whose
// caption does not fit it in the fonts at hand (the platform's substitutes of the windows'
// fonts), just enough for the caption; returns their object names.
QStringList GrowToFitCaptions(QWidget* root);

}  // namespace qorv::ui
