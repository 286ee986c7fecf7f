#include "ReportTestSupport.h"

namespace qorv::test {

QStringList twoChannelLogger(int samples, int labelRows, int statusExtra) {
    QStringList lines = {
        "Устройство - Qorv-TH 0A0000001  Версия 2",
        "Частота регистрации: 5 мин.",
        "Ярлык",
    };
    for (int i = 0; i < labelRows; ++i) {
        lines << QString("Метка %1").arg(i + 1);
    }
    lines << "Данные сохранены: 02/02/2015 10:00:00"
          << "Канал температуры - 2 байта (°C)"
          << "Канал данных - 2 байта (%RH)";
    for (int i = 0; i < statusExtra; ++i) {
        lines << QString("Статус %1").arg(i + 1);
    }
    lines << "Значения измеренных величин";
    const QDateTime start(QDate(2015, 2, 1), QTime(10, 0, 0));
    for (int i = 0; i < samples; ++i) {
        const QDateTime t = start.addSecs(300LL * i);
        lines << QString(" %1 - %2 °C %3 %")
                     .arg(t.toString("dd/MM/yyyy HH:mm:ss"))
                     .arg(20.0 + (i % 10) * 0.1, 0, 'f', 1)
                     .arg(50.0 + (i % 7) * 0.5, 0, 'f', 1);
    }
    return lines;
}

double serialOf(const QDateTime& t) {
    const QDateTime epoch(QDate(1899, 12, 30), QTime(0, 0), Qt::UTC);
    const QDateTime u(t.date(), t.time(), Qt::UTC);
    return static_cast<double>(epoch.msecsTo(u)) / 86400000.0;
}

}  // namespace qorv::test
