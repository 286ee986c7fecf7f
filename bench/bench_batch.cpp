// A batch of 64 generated two-channel logger files of 65,536 samples each, built by the
// command-line tool itself with -j 1 (one file after the other, in one process) and with -j 2
// (two processes at once), each run into a folder of its own, best of two each in the same run.
// Then two files with a 10 MB device line, whose state the processes of -j hand on: reading
// that state must cost its length, not its length times the reads.

#include "BenchUtil.h"
#include "LoggerFile.h"
#include "ToolRun.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QStringEncoder>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>

namespace {

constexpr int kFiles = 64;
constexpr int kSamples = 65536;

// Runs the tool over the files into `out`; returns the wall-clock seconds, or a negative
// number when it did not build every report.
double RunBatch(const QStringList& files, const QString& jobs, const QString& out,
                qsizetype expected = kFiles) {
    const double seconds =
        qorv::bench::RunToolSeconds(QStringList{"-j", jobs, "-o", out} + files, out);
    const qsizetype saved = QDir(out).entryList({"*.xlsx"}, QDir::Files).size();
    return seconds >= 0 && saved == expected ? seconds : -1;
}

// A short temperature logger file whose device line is `deviceBytes` long.
void WriteLongDeviceLogger(const QString& path, qsizetype deviceBytes) {
    QStringEncoder encoder("windows-1251");
    QByteArray text = encoder(QStringLiteral("Устройство - "));
    text += QByteArray(deviceBytes, 'x');
    text +=
        encoder(QStringLiteral("  Версия ПО 2.3\r\nЧастота регистрации: 5 мин.\r\n"
                               "Данные сохранены: 02/02/2015 10:00:00\r\n"
                               "Канал температуры - 2 байта (°C)\r\n"
                               "Значения измеренных величин\r\n"
                               "01/02/2015 10:00:00 - 23.5 °C\r\n"
                               "01/02/2015 10:05:00 - 23.6 °C\r\n"));
    QFile file(path);
    if (file.open(QIODevice::WriteOnly)) {
        file.write(text);
    }
}

}  // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    QTemporaryDir dir;
    const QStringList files =
        qorv::bench::WriteTwoChannelLoggers(dir.path(), "log", kFiles, kSamples);

    // Best of two of each, taken in turns, so that a slower moment of the machine does not
    // fall on one of them only.
    double one = -1;
    double two = -1;
    for (int round = 0; round < 2; ++round) {
        for (const char* jobs : {"1", "2"}) {
            const double seconds = RunBatch(
                files, jobs, dir.filePath(QStringLiteral("jobs%1_%2").arg(jobs).arg(round)));
            if (seconds < 0) {
                std::printf("bench: batch_64x65536 -j %s failed\n", jobs);
                return 1;
            }
            double& best = jobs[0] == '1' ? one : two;
            best = best < 0 ? seconds : std::min(best, seconds);
        }
    }
    qorv::bench::Report("batch_64x65536_jobs1", one, "s");
    qorv::bench::Report("batch_64x65536_jobs2", two, "s");
    qorv::bench::Report("batch_64x65536_jobs2_vs_jobs1", two / one, "x");

    const QStringList longDevice = {dir.filePath("device_a.txt"), dir.filePath("device_b.txt")};
    for (const QString& file : longDevice) {
        WriteLongDeviceLogger(file, 10 << 20);
    }
    double longOne = -1;
    double longTwo = -1;
    for (int round = 0; round < 2; ++round) {
        for (const char* jobs : {"1", "2"}) {
            const double seconds =
                RunBatch(longDevice, jobs,
                         dir.filePath(QStringLiteral("device%1_%2").arg(jobs).arg(round)), 2);
            if (seconds < 0) {
                std::printf("bench: batch_2x10mb_device_line -j %s failed\n", jobs);
                return 1;
            }
            double& best = jobs[0] == '1' ? longOne : longTwo;
            best = best < 0 ? seconds : std::min(best, seconds);
        }
    }
    qorv::bench::Report("batch_2x10mb_device_line_jobs1", longOne, "s");
    qorv::bench::Report("batch_2x10mb_device_line_jobs2", longTwo, "s");
    qorv::bench::Report("batch_2x10mb_device_line_jobs2_vs_jobs1", longTwo / longOne, "x");

    return 0;
}
