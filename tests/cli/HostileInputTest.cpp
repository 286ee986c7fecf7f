// The command-line tool run for real against what a careless user or a hostile logger file
// brings: names from the file, special files, several runs at once, non-UTF-8 names, broken
// standard output.
#include "support/LoggerFiles.h"
#include "support/RunProcess.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QSet>
#include <QTemporaryDir>

#include <gtest/gtest.h>
#ifndef _WIN32
#include <sys/stat.h>
#endif

namespace qorv::cli {
namespace {

const QString kTool = QStringLiteral(QORV_BIN_DIR "/qorv-pr-report");

QStringList loggerLines(const QString& device) {
    return {"Устройство - " + device + "  Версия ПО 2.3",
            "Частота регистрации: 5 мин.",
            "Данные сохранены: 02/02/2015 10:00:00",
            "Канал температуры - 2 байта (°C)",
            "Значения измеренных величин",
            "01/02/2015 10:00:00 - 23.5 °C",
            "01/02/2015 10:05:00 - 23.6 °C"};
}

QStringList filesIn(const QString& folder) {
    return QDir(folder).entryList(QDir::Files | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
}

// Runs a shell command line, for arguments that must reach the tool as raw bytes.
test::ProcessResult Shell(const QString& command) {
    return test::RunProcess(QStringLiteral("/bin/sh"), {QStringLiteral("-c"), command}, 60000);
}

TEST(HostileInput, EightRunsIntoOneFolderKeepEightReports) {
    QTemporaryDir dir;
    const QString logger = test::WriteLoggerFile(QDir(dir.path()), "a.txt", loggerLines("TH 1"));
    const QString out = dir.filePath("out");
    ASSERT_TRUE(QDir().mkpath(out));
    std::vector<std::unique_ptr<QProcess>> runs;
    for (int i = 0; i < 8; ++i) {
        runs.push_back(std::make_unique<QProcess>());
        runs.back()->start(kTool, {"-o", out, "--title1", QString::number(i), logger});
    }
    QSet<QString> printed;
    for (auto& run : runs) {
        ASSERT_TRUE(run->waitForFinished(60000));
        EXPECT_EQ(run->exitCode(), 0) << run->readAllStandardError().toStdString();
        printed.insert(QString::fromUtf8(run->readAllStandardOutput()).trimmed());
    }
    EXPECT_EQ(printed.size(), 8);
    const QStringList saved = filesIn(out);
    EXPECT_EQ(saved.size(), 8) << saved.join(", ").toStdString();  // no temporary files either
    for (const QString& path : printed) {
        EXPECT_TRUE(saved.contains(QFileInfo(path).fileName())) << path.toStdString();
    }
}

// Special files are refused at once, by both forms, with what they are; none is read.
TEST(HostileInput, OnlyRegularFilesAreRead) {
    QTemporaryDir dir;
    struct Case {
        QString path;
        const char* what;
    };
#ifdef _WIN32
    // Device names are devices in every folder and with any extension.
    const Case cases[] = {{dir.filePath("CON.txt"), "на устройство, а не на файл."},
                          {"NUL", "на устройство, а не на файл."},
                          {dir.filePath("com1"), "на устройство, а не на файл."},
                          {dir.path(), "на папку, а не на файл."}};
#else
    const QString fifo = dir.filePath("fifo");
    ASSERT_EQ(mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    const QString randomLink = dir.filePath("random");
    ASSERT_TRUE(QFile::link("/dev/urandom", randomLink));
    const Case cases[] = {{fifo, "на именованный канал (FIFO), а не на файл."},
                          {"/dev/zero", "на устройство, а не на файл."},
                          {randomLink, "на устройство, а не на файл."},
                          {dir.path(), "на папку, а не на файл."}};
#endif
    for (const auto& c : cases) {
        const auto inspect = test::RunProcess(kTool, {"inspect", c.path}, 20000);
        EXPECT_EQ(inspect.exitCode, 1) << inspect.output.toStdString();
        EXPECT_TRUE(inspect.output.contains(c.what)) << inspect.output.toStdString();
        const auto build = test::RunProcess(kTool, {"-o", dir.path(), c.path}, 20000);
        EXPECT_EQ(build.exitCode, 2) << build.output.toStdString();
        EXPECT_TRUE(
            build.output.startsWith(c.path + ": Путь - " + c.path + " - указывает " + c.what))
            << build.output.toStdString();
    }
}

// A device line that names a path or carries terminal escapes: the report lands directly in
// the save folder under a harmless name, and nothing reaches the terminal raw.
TEST(HostileInput, DeviceLineCannotSteerTheReport) {
    QTemporaryDir dir;
    const QString logger =
        test::WriteLoggerFile(QDir(dir.path()), "a.txt", loggerLines("../../\x1b[31mX 7"));
    const QString out = dir.filePath("r/a/b");
    ASSERT_TRUE(QDir().mkpath(out));
    const auto build = test::RunProcess(kTool, {"-o", out, logger});
    EXPECT_EQ(build.exitCode, 0) << build.output.toStdString();
    const QStringList saved = filesIn(out);
    ASSERT_EQ(saved.size(), 1);
    EXPECT_TRUE(saved[0].startsWith("___..__[31mX 7-")) << saved[0].toStdString();
    EXPECT_FALSE(build.output.contains(QChar(0x1b)));
    EXPECT_EQ(filesIn(dir.filePath("r")), QStringList());

    const auto inspect = test::RunProcess(kTool, {"inspect", logger});
    EXPECT_FALSE(inspect.output.contains(QChar(0x1b)));
    EXPECT_TRUE(inspect.output.contains("DeviceNumber: ../../\\u001b[31mX 7"))
        << inspect.output.toStdString();
}

// A Windows-1251 name ("При.txt" in a folder "Папка") is found, and the saved path is printed
// as the bytes the system knows it by.
TEST(HostileInput, NamesThatAreNotUtf8AreFound) {
#ifdef _WIN32
    GTEST_SKIP() << "Windows names are UTF-16: there are no name bytes that are not UTF-8";
#endif
    QTemporaryDir dir;
    const QString logger = test::WriteLoggerFile(QDir(dir.path()), "a.txt", loggerLines("TH 2"));
    const QString command = QStringLiteral(
                                "cd '%1' && mkdir \"$(printf '\\317\\340\\357\\352\\340')\" && "
                                "cp a.txt \"$(printf '\\317\\360\\350.txt')\" && "
                                "'%2' -o \"$(printf '\\317\\340\\357\\352\\340')\" "
                                "\"$(printf '\\317\\360\\350.txt')\" 2>/dev/null | od -An -c")
                                .arg(dir.path(), kTool);
    const auto result = Shell(command);
    EXPECT_EQ(result.exitCode, 0);
    EXPECT_TRUE(result.output.simplified().startsWith("317 340 357 352 340 / T H 2 -"))
        << result.output.toStdString();
    // QTemporaryDir cannot remove names it cannot decode.
    Shell(QStringLiteral("rm -rf '%1'").arg(dir.path()));
}

// The tool shows no window: a platform that cannot start (xcb without a display) changes
// nothing for any of its forms.
TEST(HostileInput, WindowPlatformWithoutDisplayIsNoObstacle) {
#ifdef _WIN32
    GTEST_SKIP() << "the tool picks Windows' own platform there whatever the environment says; "
                    "the test needs a POSIX shell";
#endif
    QTemporaryDir dir;
    const QString logger = test::WriteLoggerFile(QDir(dir.path()), "a.txt", loggerLines("TH 4"));
    for (const QString& form : {QStringLiteral("stats"), QStringLiteral("inspect"),
                                QStringLiteral("--pdf -o '%1'").arg(dir.path())}) {
        const auto result = Shell(QStringLiteral("env -u DISPLAY -u WAYLAND_DISPLAY "
                                                 "QT_QPA_PLATFORM=xcb '%1' %2 '%3'")
                                      .arg(kTool, form, logger));
        EXPECT_EQ(result.exitCode, 0) << form.toStdString() << ": " << result.output.toStdString();
    }
    EXPECT_EQ(QDir(dir.path()).entryList({"*.pdf"}, QDir::Files).size(), 1);
}

// Users compare and hash the PDF copies: two runs of the tool (each with its own random hash
// seed) make the same bytes of one report once their creation times are set alike.
TEST(HostileInput, PdfCopiesOfOneReportAreTheSameBytes) {
    QTemporaryDir dir;
    const QString logger = test::WriteLoggerFile(QDir(dir.path()), "a.txt", loggerLines("TH 7"));
    QList<QByteArray> copies;
    for (int run = 0; run < 3; ++run) {
        const QString out = QStringLiteral("%1/out%2").arg(dir.path()).arg(run);
        QDir().mkpath(out);
        const auto result =
            test::RunProcess(kTool, {"--pdf", "--title1", "Склад", "-o", out, logger});
        ASSERT_EQ(result.exitCode, 0) << result.output.toStdString();
        const QStringList pdfs = QDir(out).entryList({"*.pdf"}, QDir::Files);
        ASSERT_EQ(pdfs.size(), 1);
        QFile pdf(out + '/' + pdfs.front());
        ASSERT_TRUE(pdf.open(QIODevice::ReadOnly));
        static const QRegularExpression created(QStringLiteral("/CreationDate \\(D:[^)]*\\)"));
        QString text = QString::fromLatin1(pdf.readAll());
        EXPECT_EQ(text.count(created), 1);
        text.replace(created, QStringLiteral("/CreationDate (D:0)"));
        copies << text.toLatin1();
    }
    EXPECT_TRUE(copies[0] == copies[1]);
    EXPECT_TRUE(copies[0] == copies[2]);
}

TEST(HostileInput, LostStandardOutputIsAFailure) {
#ifdef _WIN32
    GTEST_SKIP() << "needs a POSIX shell's redirections and /dev/full";
#endif
    QTemporaryDir dir;
    const QString logger = test::WriteLoggerFile(QDir(dir.path()), "a.txt", loggerLines("TH 3"));
    for (const QString& form : {QStringLiteral("-o '%1'").arg(dir.path()), QStringLiteral("stats"),
                                QStringLiteral("stats --json")}) {
        for (const char* redirect : {">/dev/full", ">&-"}) {
            const auto result =
                Shell(QStringLiteral("'%1' %2 '%3' %4").arg(kTool, form, logger, redirect));
            EXPECT_EQ(result.exitCode, 1) << form.toStdString() << redirect;
            EXPECT_TRUE(result.output.contains("Не удалось записать в стандартный вывод"))
                << result.output.toStdString();
        }
    }
}

}  // namespace
}  // namespace qorv::cli
