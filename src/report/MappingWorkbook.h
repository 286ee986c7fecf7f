#pragma once

#include "report/MappingStudy.h"
#include "report/ProgressListener.h"

#include <QDateTime>
#include <QString>

#include <optional>

namespace qorv {

// The files a study saved.
struct MappingFiles {
    QString workbook;            // the .xlsx path as saved ("_2" ... when the name was taken)
    std::optional<QString> pdf;  // the PDF copy, when asked for and made
};

// The study's workbook: the summary sheet "Сводка" (heading block, a row per logger, the
// study's figures), the chart sheet "График" (every logger's temperature, the acceptance range
// as dashed lines; a second chart for humidity when the loggers have it) and the chart-data
// sheet "Данные" (a column pair per logger), saved into `folder` as
// "Картирование-ddmmyy_hhmmss.xlsx" of `startTime`, never over an existing file. With `pdf`, a
// PDF copy of the summary and the charts beside it, paged for A4; a failing copy is reported
// to `progress` (pdfFailed) and the workbook stays.
// A failure throws with the user's message (as a report run does) and leaves no file.
//
//     MappingFiles files = BuildMappingWorkbook(study, folder, true, progress);
MappingFiles BuildMappingWorkbook(const MappingStudy& study, const QString& folder, bool pdf,
                                  ProgressListener& progress,
                                  const QDateTime& startTime = QDateTime::currentDateTime());

}  // namespace qorv
