#include "ui/Emblem.h"

#include <QFont>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>

#include <cmath>

namespace qorv::ui {

namespace {

// A smooth curve across the lower part of the picture: one day of a temperature (or humidity)
// record, as a sum of two waves.
QPainterPath Curve(double width, double baseline, double amplitude, double phase) {
    QPainterPath path;
    const int points = 40;
    for (int i = 0; i <= points; ++i) {
        const double x = width * i / points;
        const double t = 2 * M_PI * i / points;
        const double y = baseline - amplitude * (std::sin(t + phase) + 0.3 * std::sin(3 * t));
        if (i == 0) {
            path.moveTo(x, y);
        } else {
            path.lineTo(x, y);
        }
    }
    return path;
}

}  // namespace

QPixmap Emblem(QSize size) {
    // Drawn on an 80 × 73 canvas and scaled to the size asked for.
    constexpr double kWidth = 80;
    constexpr double kHeight = 73;
    QPixmap pixmap(size);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.scale(size.width() / kWidth, size.height() / kHeight);

    // Background: a rounded card with a light grid.
    QLinearGradient sky(0, 0, 0, kHeight);
    sky.setColorAt(0, QColor(235, 243, 252));
    sky.setColorAt(1, QColor(205, 222, 242));
    painter.setPen(QPen(QColor(90, 120, 160), 1));
    painter.setBrush(sky);
    painter.drawRoundedRect(QRectF(0.5, 0.5, kWidth - 1, kHeight - 1), 6, 6);
    painter.setPen(QPen(QColor(170, 190, 215), 0.5));
    for (int x = 10; x < kWidth; x += 10) {
        painter.drawLine(QPointF(x, 34), QPointF(x, kHeight - 14));
    }
    for (int y = 38; y < kHeight - 12; y += 6) {
        painter.drawLine(QPointF(3, y), QPointF(kWidth - 3, y));
    }

    // The curves: temperature in red, humidity in blue, as in the report's chart.
    painter.setBrush(Qt::NoBrush);
    painter.setPen(QPen(QColor(40, 90, 200), 1.6));
    painter.drawPath(Curve(kWidth, 50, 5, 1.2));
    painter.setPen(QPen(QColor(205, 30, 30), 1.8));
    painter.drawPath(Curve(kWidth, 46, 7, 0));

    // The logger: a round button-shaped recorder with a small display.
    const QRectF logger(27, 5, 26, 26);
    QRadialGradient steel(logger.center() - QPointF(4, 4), 16);
    steel.setColorAt(0, QColor(245, 245, 245));
    steel.setColorAt(1, QColor(120, 128, 138));
    painter.setPen(QPen(QColor(60, 64, 70), 1));
    painter.setBrush(steel);
    painter.drawEllipse(logger);
    painter.setBrush(QColor(30, 60, 40));
    painter.drawRoundedRect(QRectF(32, 14, 16, 8), 1.5, 1.5);
    painter.setPen(QColor(120, 240, 140));
    QFont digits(QStringLiteral("DejaVu Sans Mono"));
    digits.setPixelSize(6);
    digits.setBold(true);
    painter.setFont(digits);
    painter.drawText(QRectF(32, 14, 16, 8), Qt::AlignCenter, QStringLiteral("21.4"));

    // The name along the bottom edge.
    QFont name(QStringLiteral("Times New Roman"));
    name.setPixelSize(11);
    name.setBold(true);
    painter.setFont(name);
    painter.setPen(QColor(25, 45, 90));
    painter.drawText(QRectF(0, kHeight - 14, kWidth, 13), Qt::AlignCenter,
                     QStringLiteral("Qorv_Pr"));
    return pixmap;
}

}  // namespace qorv::ui
