#pragma once

#include "report/BuildReport.h"
#include "report/LoadLogFile.h"
#include "support/LoggerFiles.h"

#include <QDir>
#include <QFile>
#include <QStringEncoder>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace qorv::test {

// Records what a run shows of its progress.
struct RecordingProgress : ProgressListener {
    int maximum = 0;
    int advances = 0;
    int lastPosition = 0;
    qsizetype tableMaximum = -1;
    qsizetype tableAdvances = 0;
    QStringList pdfMessages;
    bool finished = false;

    void runStarted(int max) override { maximum = max; }
    void runAdvanced(int position) override {
        ++advances;
        lastPosition = position;
    }
    void tableStarted(qsizetype max) override { tableMaximum = max; }
    void tableAdvanced(qsizetype) override { ++tableAdvances; }
    void pdfFailed(const QString& message) override { pdfMessages << message; }
    void runFinished() override { finished = true; }
};

// Writes a logger file (Windows-1251, CR LF) and loads it as the window does; runs reports
// into a temporary directory and keeps the workbooks open for inspection.
class ReportFixture {
  public:
    ReportFixture() { state.options.Edit2 = dir.path() + '/'; }

    QString writeLogger(const QStringList& lines, const QString& name = "logger.txt") {
        const QString path = WriteLoggerFile(QDir(dir.path()), name, lines);
        EXPECT_FALSE(path.isEmpty());
        return path;
    }

    void load(const QStringList& lines) { LoadLogFile(state, writeLogger(lines)); }

    ReportFiles run(const QDateTime& start = QDateTime(QDate(2015, 12, 8), QTime(14, 3, 9))) {
        return BuildReport(state, progress, application, start);
    }

    automation::Workbook& book() {
        return application.workbooks().item(application.workbooks().count());
    }
    automation::Worksheet& report() { return book().worksheet(1); }
    automation::Worksheet& data() { return book().worksheet(2); }

    QTemporaryDir dir;
    ProgramState state;
    RecordingProgress progress;
    automation::Application application;
};

// Lines of a two-channel temperature and humidity export with `samples` samples every
// 5 minutes from 01/02/2015 10:00:00.
QStringList twoChannelLogger(int samples, int labelRows = 2, int statusExtra = 0);

// The day count the spreadsheet stores for a date and time.
double serialOf(const QDateTime& t);

}  // namespace qorv::test
