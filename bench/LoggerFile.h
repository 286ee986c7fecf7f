#pragma once
// The generated logger export the report benchmarks load.

#include <QDateTime>
#include <QStringEncoder>
#include <QStringList>

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <string>

namespace qorv::bench {

// Writes a two-channel export (Windows-1251, CR LF) of `samples` samples every 5 minutes,
// with limits for both channels.
// With `place` >= 0: logger number `place` of a mapping study, its own device number and
// "Место установки" line, its values `place` tenths of a degree warmer and its first sample
// `place` minutes later than logger 0's.
inline void WriteTwoChannelLogger(const std::string& path, int samples, int place = -1) {
    std::ofstream out(path, std::ios::binary);
    const QString device = place < 0 ? QStringLiteral("0A00000012345678")
                                     : QStringLiteral("0A%1").arg(place, 14, 10, QChar('0'));
    QStringList head = {
        "Устройство - Qorv-TH " + device + "  Версия ПО 2.3",
        "Частота регистрации: 5 мин.",
        "Ярлык",
        "Объект: склад",
        "Данные сохранены: 01/01/2030 00:00:00",
        "Верхний температурный предел: 24.0 °C",
        "Нижний температурный предел: 17.0 °C",
        "Верхний предел канала данных: 70.0 %",
        "Нижний предел канала данных: 45.0 %",
        "Канал температуры - 2 байта (°C)",
        "Канал данных - 2 байта (%RH)",
        "",
        "Значения измеренных величин",
    };
    if (place >= 0) {
        head.insert(4, QStringLiteral("Место установки: точка %1").arg(place + 1));
    }
    QStringEncoder encoder("windows-1251");
    for (const QString& line : head) {
        const QByteArray bytes = encoder(line + "\r\n");
        out.write(bytes.constData(), bytes.size());
    }
    QDateTime t(QDate(2020, 1, 1), QTime(0, 0, 0), Qt::UTC);
    t = t.addSecs(60 * std::max(place, 0));
    char line[96];
    for (int i = 0; i < samples; ++i) {
        const QDate d = t.date();
        const QTime c = t.time();
        const double temperature = 20.0 + (i % 97) * 0.1 - 4.0 + 0.1 * std::max(place, 0);
        const double humidity = 45.0 + (i % 61) * 0.25;
        const int n = std::snprintf(
            line, sizeof line, " %02d/%02d/%04d %02d:%02d:%02d - %.1f \xB0\x43 %.1f %%\r\n",
            d.day(), d.month(), d.year(), c.hour(), c.minute(), c.second(), temperature, humidity);
        out.write(line, n);
        t = t.addSecs(300);
    }
}

// Writes `count` such exports into `folder` as NAME_00.txt, NAME_01.txt, ...; returns their
// paths. With `places`, file i is logger i of a mapping study.
inline QStringList WriteTwoChannelLoggers(const QString& folder, const char* name, int count,
                                          int samples, bool places = false) {
    QStringList paths;
    for (int i = 0; i < count; ++i) {
        paths
            << folder +
                   QStringLiteral("/%1_%2.txt").arg(QLatin1String(name)).arg(i, 2, 10, QChar('0'));
        WriteTwoChannelLogger(paths.back().toStdString(), samples, places ? i : -1);
    }
    return paths;
}

}  // namespace qorv::bench
