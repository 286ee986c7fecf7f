#pragma once

class QPainter;

namespace qorv::automation::chartpaint {

class ChartAxes;
class LabelText;

// Grid lines of the axes that ask for them, inside the plot; minor ones below the major.
void drawGrid(QPainter& painter, const ChartAxes& axes);

// Axis lines with their tick marks, and the labels: value labels beside the plot, x labels
// below it.
void drawAxes(QPainter& painter, const ChartAxes& axes, const LabelText& text);

}  // namespace qorv::automation::chartpaint
