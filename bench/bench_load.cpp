// Loading a 1,000,000-sample two-channel logger file, against the floor of any loader: reading
// the same file and cutting it into owned lines with plain C++. Both are timed in the same run,
// best of three, each in a fresh child process that also reports the peak memory.
#include "BenchUtil.h"
#include "LoadFloor.h"
#include "files/MemoryReuse.h"
#include "import/LogData.h"
#include "import/PuskFile.h"

#include <QByteArray>
#include <QFileInfo>
#include <QStringEncoder>
#include <QTemporaryDir>

#include <cmath>
#include <cstdio>
#include <string>
#include <vector>

namespace {

constexpr int kSamples = 1000000;

// A temperature + humidity export: header, label and status sections, then one sample every
// 30 seconds for about a year, in the line form the read-out program writes.
bool WriteLoggerFile(const QString& path) {
    std::FILE* out = std::fopen(path.toLocal8Bit().constData(), "wb");
    if (!out) {
        return false;
    }
    const QString head =
        "Устройство - Qorv-TH 0A00000012345678  Версия ПО 2.3\r\n"
        "Состояние устройства: миссия завершена\r\n"
        "Частота регистрации: 30 сек.\r\n"
        "Всего измерений: 1000000\r\n"
        "Ярлык\r\n"
        "Объект: склад готовой продукции №2\r\n"
        "Данные сохранены: 27/12/2023 08:00:00\r\n"
        "Канал температуры - 2 байта, разрешение 0.1 (°C)\r\n"
        "Верхний температурный предел: 24.0 °C\r\n"
        "Нижний температурный предел: 17.0 °C\r\n"
        "Канал данных - влажность, 2 байта ()\r\n"
        "Значения измеренных величин\r\n";
    const QByteArray headBytes = QStringEncoder("windows-1251").encode(head);
    std::fwrite(headBytes.constData(), 1, headBytes.size(), out);

    static const int kDaysInMonth[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    int day = 1, month = 1, year = 2023;
    unsigned noise = 12345;
    for (int i = 0; i < kSamples; ++i) {
        const int secondOfDay = (i * 30) % 86400;
        if (i > 0 && secondOfDay == 0 && ++day > kDaysInMonth[month - 1]) {
            day = 1;
            if (++month > 12) {
                month = 1;
                ++year;
            }
        }
        noise = noise * 1103515245u + 12345u;
        const double jitter = static_cast<double>((noise >> 16) % 100) / 100.0 - 0.5;
        const double temperature =
            21.0 + 2.5 * std::cos(2 * M_PI * (secondOfDay / 3600.0 - 15.0) / 24.0) + 0.3 * jitter;
        const double humidity = 62.0 - 2.8 * (temperature - 21.0) + jitter;
        std::fprintf(out,
                     " %02d/%02d/%04d %02d:%02d:%02d - %.1f \xB0"
                     "C %.1f %%\r\n",
                     day, month, year, secondOfDay / 3600, secondOfDay / 60 % 60, secondOfDay % 60,
                     temperature, humidity);
    }
    return std::fclose(out) == 0;
}

}  // namespace

int main() {
    // The allocator set as the program sets it (the floors, run in children, inherit it).
    qorv::files::KeepFreedMemoryForReuse();
    using namespace qorv::bench;
    QTemporaryDir dir;
    const QString path = dir.filePath("logger_1000000.txt");
    if (!dir.isValid() || !WriteLoggerFile(path)) {
        std::fprintf(stderr, "bench_load: cannot write %s\n", qPrintable(path));
        return 1;
    }
    const double fileBytes = static_cast<double>(QFileInfo(path).size());
    std::fprintf(stderr, "bench_load: %s, %.1f MB\n", qPrintable(path), fileBytes / 1048576.0);

    const std::string pathText = path.toStdString();
    const Measurement floor = BestOf(3, [&] {
        if (ReadAndSplit(pathText) < static_cast<std::size_t>(kSamples)) {
            _exit(2);
        }
    });
    const Measurement load = BestOf(3, [&] {
        qorv::LogData data;
        qorv::LoadSummary summary;
        qorv::PuskFile(data, summary, path);
        if (data.SampleRows.size() != kSamples) {
            _exit(2);
        }
    });

    Report("load_floor_1000000", floor.seconds, "s");
    Report("load_1000000", load.seconds, "s");
    Report("load_vs_floor", load.seconds / floor.seconds, "x");
    Report("load_1000000_peak_rss", load.peakBytes / 1048576.0, "MB");
    Report("load_peak_rss_vs_file_size", load.peakBytes / fileBytes, "x");
    return 0;
}
