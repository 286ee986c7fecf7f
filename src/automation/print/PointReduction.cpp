#include "automation/print/PointReduction.h"

#include <algorithm>
#include <cmath>

namespace qorv::automation {

std::vector<QPointF> reducePoints(std::span<const QPointF> points, double originX,
                                  double columnsPerUnit) {
    std::vector<QPointF> out;
    PointReducer reducer(originX, columnsPerUnit, out);
    for (const QPointF& p : points) {
        reducer.add(p);
    }
    reducer.finish();
    return out;
}

PointReducer::PointReducer(double originX, double columnsPerUnit, std::vector<QPointF>& out)
    : originX_(originX),
      columnsPerUnit_(columnsPerUnit > 0 && std::isfinite(columnsPerUnit) ? columnsPerUnit : 0),
      out_(out) {}

void PointReducer::add(const QPointF& p) {
    if (std::isnan(p.y())) {
        finish();
        if (!out_.empty() && !std::isnan(out_.back().y())) {
            out_.push_back(p);
        }
        return;
    }
    if (columnsPerUnit_ == 0) {
        out_.push_back(p);
        return;
    }
    const double column = std::floor((p.x() - originX_) * columnsPerUnit_);
    if (count_ > 0 && column == column_) {
        last_ = {p, count_};
        if (p.y() < low_.point.y()) {
            low_ = last_;
        }
        if (p.y() > high_.point.y()) {
            high_ = last_;
        }
    } else {
        finish();
        column_ = column;
        first_ = low_ = high_ = last_ = {p, 0};
    }
    ++count_;
}

void PointReducer::finish() {
    if (count_ == 0) {
        return;
    }
    Kept keep[4] = {first_, low_, high_, last_};
    std::sort(std::begin(keep), std::end(keep),
              [](const Kept& a, const Kept& b) { return a.order < b.order; });
    for (int i = 0; i < 4; ++i) {
        if (i == 0 || keep[i].order != keep[i - 1].order) {
            out_.push_back(keep[i].point);
        }
    }
    count_ = 0;
}

}  // namespace qorv::automation
