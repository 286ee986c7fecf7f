#pragma once

#include <QPointF>
#include <span>
#include <vector>

namespace qorv::automation {

// Point reduction for line drawing. Points with a NaN y are gaps. Of each run of consecutive
// points whose x falls into one pixel column (column = floor((x - originX) * columnsPerUnit))
// it keeps the first, the lowest, the highest and the last, in their order; gaps stay (one
// for several in a row). A polyline through the result covers the same pixels as one through
// all points.
std::vector<QPointF> reducePoints(std::span<const QPointF> points, double originX,
                                  double columnsPerUnit);

// The same, point by point into `out`, for data read straight from the cells.
class PointReducer {
  public:
    PointReducer(double originX, double columnsPerUnit, std::vector<QPointF>& out);
    void add(const QPointF& point);
    // Writes out the run in progress; call after the last point.
    void finish();

  private:
    struct Kept {
        QPointF point;
        long long order = 0;  // position in the run
    };
    double originX_;
    double columnsPerUnit_;  // 0: every point is kept
    std::vector<QPointF>& out_;
    double column_ = 0;
    long long count_ = 0;  // points in the run
    Kept first_, low_, high_, last_;
};

}  // namespace qorv::automation
