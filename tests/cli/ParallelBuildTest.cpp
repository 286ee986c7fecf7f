// The build form with -j, run for real: several files built at once in processes of their own
// give the reports a batch built one file after the other gives.
#include "cli/ParallelBuild.h"
#include "support/LoggerFiles.h"
#include "support/RunProcess.h"

#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QThread>

#include <gtest/gtest.h>
#include <zip.h>

#include <algorithm>
#include <map>

#ifndef _WIN32
#include <signal.h>
#endif

namespace qorv::cli {
namespace {

const QString kTool = QStringLiteral(QORV_BIN_DIR "/qorv-pr-report");

struct Batch {
    int exitCode = -1;
    QStringList paths;  // standard output, one saved path a line
    QString errors;     // standard error
};

Batch RunTool(const QStringList& arguments) {
    QProcess process;
    process.start(kTool, arguments);
    Batch batch;
    if (!process.waitForFinished(300000)) {
        process.kill();
        process.waitForFinished();
        batch.errors = "did not finish";
        return batch;
    }
    batch.exitCode = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    batch.paths =
        QString::fromUtf8(process.readAllStandardOutput()).split('\n', Qt::SkipEmptyParts);
    batch.errors = QString::fromUtf8(process.readAllStandardError());
    return batch;
}

// A report's name without the run's date and time (and the "_2" of a name taken in the same
// second): the device number it was named after.
QString DeviceOf(const QString& path) {
    static const QRegularExpression stamp(QStringLiteral("-\\d{6}_\\d{6}(_\\d+)?\\.xlsx$"));
    QString name = QFileInfo(path).fileName();
    return name.remove(stamp);
}

// The parts of a workbook but the one with the time of the run.
std::map<QString, QByteArray> PartsOf(const QString& path) {
    std::map<QString, QByteArray> parts;
    int error = 0;
    zip_t* archive = zip_open(QFile::encodeName(path).constData(), ZIP_RDONLY, &error);
    if (!archive) {
        ADD_FAILURE() << "cannot open " << path.toStdString();
        return parts;
    }
    for (zip_int64_t i = 0; i < zip_get_num_entries(archive, 0); ++i) {
        zip_stat_t stat;
        zip_stat_index(archive, i, 0, &stat);
        const QString name = QString::fromUtf8(stat.name);
        if (name == "docProps/core.xml") {
            continue;
        }
        QByteArray bytes(static_cast<qsizetype>(stat.size), '\0');
        zip_file_t* file = zip_fopen_index(archive, i, 0);
        EXPECT_EQ(zip_fread(file, bytes.data(), stat.size), static_cast<zip_int64_t>(stat.size));
        zip_fclose(file);
        parts[name] = bytes;
    }
    zip_close(archive);
    return parts;
}

QStringList Samples(int count, bool events) {
    QStringList lines;
    QDateTime t(QDate(2015, 2, 1), QTime(10, 0));
    for (int i = 0; i < count; ++i) {
        const QString time = t.toString("dd/MM/yyyy HH:mm:ss");
        lines << (events ? QStringLiteral(" %1 - %2").arg(time, i % 3 ? "1 (Есть)" : "0 (Нет)")
                         : QStringLiteral(" %1 - %2 °C %3 %")
                               .arg(time)
                               .arg(20.0 + i % 7 * 0.1)
                               .arg(45 + i % 5));
        t = t.addSecs(300);
    }
    return lines;
}

// A batch whose files lean on the files before them: B has no device, rate or data channel
// line (named after A's device, with A's channel caption); C is an event file with a rate line
// whose reduction can be reduced again, which fails its run after reducing it; D, an event file
// without device and rate lines, then reads C's reduced line. One process or four, the same
// reports.
TEST(ParallelBuild, FilesGetTheReportsOfABatchInOneProcess) {
    QTemporaryDir dir;
    const QDir d(dir.path());
    const QStringList files = {
        test::WriteLoggerFile(
            d, "a.txt",
            QStringList{"Устройство - Qorv-TH A1  Версия ПО 2.3", "Частота регистрации: 5 мин.",
                        "Ярлык", "Объект: склад А", "Данные сохранены: 02/02/2015 10:00:00",
                        "Канал температуры - 2 байта (°C)", "Канал данных - 2 байта (%RH)",
                        "Значения измеренных величин"} +
                Samples(40, false)),
        test::WriteLoggerFile(
            d, "b.txt",
            QStringList{"Ярлык", "Объект: склад Б", "Данные сохранены: 03/02/2015 10:00:00",
                        "Канал температуры - 2 байта (°C)", "Значения измеренных величин"} +
                Samples(30, false)),
        test::WriteLoggerFile(
            d, "c.txt",
            QStringList{"Устройство - Qorv-E C3  Версия ПО 2.1", "Частота регистрации: 5 се к.",
                        "Данные сохранены: 02/02/2015 10:00:00", "Канал температуры отсутствует",
                        "Канал данных - 1 байт ()", "Значения измеренных величин"} +
                Samples(20, true)),
        test::WriteLoggerFile(
            d, "d.txt",
            QStringList{"Данные сохранены: 02/02/2015 10:00:00", "Канал температуры отсутствует",
                        "Канал данных - 1 байт ()", "Значения измеренных величин"} +
                Samples(25, true)),
    };
    std::map<QString, Batch> runs;
    for (const QString jobs : {"1", "4"}) {
        const QString out = d.filePath("out" + jobs);
        ASSERT_TRUE(d.mkpath(out));
        runs[jobs] = RunTool(QStringList{"-j", jobs, "-o", out} + files);
    }
    const Batch& inTurn = runs["1"];
    const Batch& parallel = runs["4"];
    EXPECT_EQ(inTurn.exitCode, 1) << inTurn.errors.toStdString();  // C's run fails
    EXPECT_EQ(parallel.exitCode, 1) << parallel.errors.toStdString();
    EXPECT_TRUE(parallel.errors.contains(files[2] + ": ")) << parallel.errors.toStdString();
    ASSERT_EQ(inTurn.paths.size(), 3) << inTurn.errors.toStdString();
    ASSERT_EQ(parallel.paths.size(), 3) << parallel.errors.toStdString();
    const QStringList devices = {"Qorv-TH A1", "Qorv-TH A1", "Qorv-E C3"};
    for (qsizetype i = 0; i < 3; ++i) {
        EXPECT_EQ(DeviceOf(inTurn.paths[i]), devices[i]) << inTurn.paths[i].toStdString();
        EXPECT_EQ(DeviceOf(parallel.paths[i]), devices[i]) << parallel.paths[i].toStdString();
        const auto expected = PartsOf(inTurn.paths[i]);
        const auto parts = PartsOf(parallel.paths[i]);
        EXPECT_GT(expected.size(), 5u);
        EXPECT_TRUE(parts == expected) << parallel.paths[i].toStdString();
    }
}

// Paths come out in the order of the files, whichever finishes first; a missing file in the
// middle makes the exit code 2 and stops nothing; the same file twice gives two workbooks.
TEST(ParallelBuild, PathsInFileOrderWorstExitCode) {
    QTemporaryDir dir;
    const QDir d(dir.path());
    auto logger = [&](const QString& name, const QString& device, int samples) {
        return test::WriteLoggerFile(
            d, name,
            QStringList{"Устройство - " + device + "  Версия ПО 2.3", "Частота регистрации: 5 мин.",
                        "Данные сохранены: 02/02/2015 10:00:00", "Канал температуры - 2 байта (°C)",
                        "Значения измеренных величин"} +
                Samples(samples, false));
    };
    const QString slow = logger("slow.txt", "TH 1", 20000);
    const QString quick = logger("quick.txt", "TH 2", 10);
    const QString missing = d.filePath("missing.txt");
    // Steps asked for pass through from the processes, a line each.
    const Batch batch =
        RunTool({"-j", "3", "--progress", "-o", dir.path(), slow, missing, quick, quick});
    EXPECT_EQ(batch.exitCode, 2) << batch.errors.toStdString();
    EXPECT_TRUE(batch.errors.contains(missing + ": Файл - " + missing + " - не существует.\n"))
        << batch.errors.toStdString();
    EXPECT_TRUE(batch.errors.contains("slow.txt: 14/14\n"));
    ASSERT_EQ(batch.paths.size(), 3) << batch.errors.toStdString();
    const QStringList devices = {DeviceOf(batch.paths[0]), DeviceOf(batch.paths[1]),
                                 DeviceOf(batch.paths[2])};
    EXPECT_EQ(devices, QStringList({"TH 1", "TH 2", "TH 2"})) << devices.join(", ").toStdString();
    EXPECT_NE(batch.paths[1], batch.paths[2]);
    for (const QString& path : batch.paths) {
        EXPECT_TRUE(QFileInfo(path).isFile()) << path.toStdString();
    }
}

QStringList TemperatureLogger(const QString& device, int samples) {
    return QStringList{"Устройство - " + device + "  Версия ПО 2.3", "Частота регистрации: 5 мин.",
                       "Данные сохранены: 02/02/2015 10:00:00", "Канал температуры - 2 байта (°C)",
                       "Значения измеренных величин"} +
           Samples(samples, false);
}

// A copy of the tool in a folder whose name is not UTF-8 (Windows-1251 "Прог") starts its
// processes by its own path as the system knows it.
TEST(ParallelBuild, ProgramInAFolderWhoseNameIsNotUtf8) {
#ifdef _WIN32
    GTEST_SKIP() << "Windows names are UTF-16, and the test needs a POSIX shell";
#endif
    QTemporaryDir dir;
    test::WriteLoggerFile(QDir(dir.path()), "a.txt", TemperatureLogger("TH 5", 10));
    const auto result = test::RunProcess(
        "/bin/sh", {"-c", QStringLiteral("cd '%1' && D=\"p/$(printf '\\317\\360\\356\\343')\" && "
                                         "mkdir -p \"$D\" && cp '%2' \"$D/\" && "
                                         "\"$D/qorv-pr-report\" -j 2 -o . a.txt a.txt 2>&1")
                              .arg(dir.path(), kTool)});
    EXPECT_EQ(result.exitCode, 0) << result.output.toStdString();
    EXPECT_EQ(result.output.count(".xlsx"), 2) << result.output.toStdString();
    test::RunProcess("/bin/rm", {"-rf", dir.path() + "/p"});  // QTemporaryDir cannot decode it
}

// A process whose message outgrows the bound (here the state after a 200 kB device line, with
// the bound at 64 kB) is stopped and fails its file with a message; the next file still builds.
TEST(ParallelBuild, MessageBeyondTheBoundFailsItsFile) {
    QTemporaryDir dir;
    const QDir d(dir.path());
    const QString big =
        test::WriteLoggerFile(d, "big.txt", TemperatureLogger(QString(200000, 'x'), 10));
    const QString small = test::WriteLoggerFile(d, "small.txt", TemperatureLogger("TH 6", 10));
    BuildRequest request;
    request.files = {big, small};
    request.jobs = 2;
    request.optionArguments = {"-o", dir.path()};
    QString outText, errText;
    QTextStream out(&outText), err(&errText);
    EXPECT_EQ(RunParallelBuild(request, kTool, out, err, false, 64 * 1024), 1);
    EXPECT_TRUE(
        errText.contains(big + ": Процесс построения протокола передал сообщение длиннее 1 МБ"))
        << errText.toStdString();
    const QStringList paths = outText.split('\n', Qt::SkipEmptyParts);
    ASSERT_EQ(paths.size(), 1) << outText.toStdString();
    EXPECT_EQ(DeviceOf(paths[0]), "TH 6");
}

// A batch whose processes cannot start fails every file with a message, builds nothing and
// stops; the file that follows one that failed so starts from what its load step gives here.
TEST(ParallelBuild, ProcessThatCannotStartFailsItsFiles) {
    QTemporaryDir dir;
    const QDir d(dir.path());
    BuildRequest request;
    request.files = {test::WriteLoggerFile(d, "a.txt", TemperatureLogger("TH 7", 10)),
                     d.filePath("missing.txt")};
    request.jobs = 2;
    request.optionArguments = {"-o", dir.path()};
    const QString program = d.filePath("no-such-program");
    QString outText, errText;
    QTextStream out(&outText), err(&errText);
    EXPECT_EQ(RunParallelBuild(request, program, out, err, false), 1);
    for (const QString& file : request.files) {
        EXPECT_TRUE(errText.contains(
            file + ": Не удалось запустить процесс построения протокола: " + program + "\n"))
            << errText.toStdString();
    }
    EXPECT_EQ(outText, QString());
}

#ifndef _WIN32
// A process that ends while it builds a file (here one killed by a signal after reading its
// file's line and writing a path) fails that file with a message; the next file goes to a new
// process, which fails it the same way.
TEST(ParallelBuild, ProcessThatDiesFailsItsFile) {
    QTemporaryDir dir;
    const QDir d(dir.path());
    const QString program = d.filePath("dies.sh");
    QFile script(program);
    ASSERT_TRUE(script.open(QIODevice::WriteOnly));
    script.write("#!/bin/sh\nread line\necho /out/partial.xlsx\nkill -KILL $$\n");
    script.close();
    script.setPermissions(script.permissions() | QFile::ExeOwner);
    BuildRequest request;
    request.files = {test::WriteLoggerFile(d, "a.txt", TemperatureLogger("TH 8", 10)),
                     test::WriteLoggerFile(d, "b.txt", TemperatureLogger("TH 9", 10))};
    request.jobs = 2;
    request.optionArguments = {"-o", dir.path()};
    QString outText, errText;
    QTextStream out(&outText), err(&errText);
    EXPECT_EQ(RunParallelBuild(request, program, out, err, false), 1);
    EXPECT_EQ(errText, request.files[0] + ": Процесс построения протокола завершился аварийно\n" +
                           request.files[1] +
                           ": Процесс построения протокола завершился аварийно\n");
    // What the process wrote before it died still reaches standard output, in file order.
    EXPECT_EQ(outText, QString("/out/partial.xlsx\n/out/partial.xlsx\n"));
}
#endif

#ifndef _WIN32
// The processes of the tool that are children of `parent`.
QList<qint64> ChildrenOf(qint64 parent) {
    QFile file(QStringLiteral("/proc/%1/task/%1/children").arg(parent));
    QList<qint64> children;
    if (file.open(QIODevice::ReadOnly)) {
        for (const QByteArray& id : file.readAll().simplified().split(' ')) {
            if (!id.isEmpty()) {
                children << id.toLongLong();
            }
        }
    }
    return children;
}

bool Gone(qint64 process) {
    QFile status(QStringLiteral("/proc/%1/status").arg(process));
    return !status.open(QIODevice::ReadOnly) || status.readAll().contains("State:\tZ");
}
#endif

// SIGTERM to the tool while it saves a report: it ends as SIGTERM ends a program, its
// processes end with it, and no hidden temporary file is left, in one process and with -j.
TEST(ParallelBuild, TerminatedBatchLeavesNoProcessAndNoTemporaryFile) {
#ifdef _WIN32
    GTEST_SKIP() << "SIGTERM and /proc: Windows stops programs otherwise";
#else
    QTemporaryDir dir;
    const QDir d(dir.path());
    QStringList files;
    for (int i = 0; i < 4; ++i) {
        files << test::WriteLoggerFile(d, QStringLiteral("f%1.txt").arg(i),
                                       TemperatureLogger(QStringLiteral("TH %1").arg(i), 60000));
    }
    for (const char* jobs : {"1", "2"}) {
        SCOPED_TRACE(jobs);
        const QString out = d.filePath(QStringLiteral("out%1").arg(jobs));
        ASSERT_TRUE(d.mkpath(out));
        const auto temporaries = [&] {
            return QDir(out).entryList({".qorv-pr-*"}, QDir::Files | QDir::Hidden);
        };
        // Wait for a save in progress: a hidden temporary file in the folder. A save lasts a
        // fraction of a second, so on a busy machine a whole batch may end between two looks;
        // then the batch is started again. A save seen once counts: the file may be gone by
        // the next look.
        QProcess tool;
        bool saving = false;
        for (int attempt = 0; attempt < 5 && !saving; ++attempt) {
            tool.start(kTool, QStringList{"-j", jobs, "-o", out} + files);
            ASSERT_TRUE(tool.waitForStarted());
            while (tool.state() != QProcess::NotRunning) {
                if (!temporaries().isEmpty()) {
                    saving = true;
                    break;
                }
                tool.waitForFinished(2);
            }
        }
        ASSERT_TRUE(saving) << "no save was seen";
        ASSERT_EQ(tool.state(), QProcess::Running);
        const QList<qint64> workers = ChildrenOf(tool.processId());
        if (QString(jobs) == "2") {
            EXPECT_FALSE(workers.isEmpty());
        }
        ::kill(static_cast<pid_t>(tool.processId()), SIGTERM);
        ASSERT_TRUE(tool.waitForFinished(60000));
        EXPECT_EQ(tool.exitStatus(), QProcess::CrashExit);  // ended by the signal itself
        for (int tries = 0; tries < 1000; ++tries) {
            if (std::all_of(workers.begin(), workers.end(), Gone) && temporaries().isEmpty()) {
                break;
            }
            QThread::msleep(10);
        }
        for (const qint64 worker : workers) {
            EXPECT_TRUE(Gone(worker)) << worker;
        }
        EXPECT_EQ(temporaries(), QStringList()) << temporaries().join(", ").toStdString();
    }
#endif
}

}  // namespace
}  // namespace qorv::cli
