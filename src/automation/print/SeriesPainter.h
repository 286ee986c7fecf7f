#pragma once

class QPainter;

namespace qorv::automation::chartpaint {

class ChartAxes;
struct ChartData;

// Line series through their points reduced to the device's resolution: smoothed where the
// points lie far apart, straight where they are dense, with their markers on top.
void drawLines(QPainter& painter, const ChartAxes& axes, const ChartData& data);

// Column series as clusters of columns, one cluster per category, growing from where the x
// axis crosses their value axis.
void drawColumns(QPainter& painter, const ChartAxes& axes, const ChartData& data);

}  // namespace qorv::automation::chartpaint
