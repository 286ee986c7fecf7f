#pragma once

#include "automation/print/DisplayLocale.h"

#include <QString>

#include <vector>

namespace qorv::automation {

class Worksheet;

// Writes one worksheet as printed into a new PDF file and returns the path it got: the
// sheet's paper, margins and print scale, its pages as its print area, page breaks and paper
// cut it (see PaginateSheet), one PDF page per printed page, drawn as they are made so that a
// long sheet never sits in memory as a whole. Like a workbook save it writes a hidden
// temporary file in the target's folder, flushes it and only then takes the name exclusively
// ("_2", "_3", ... when taken); a failure leaves nothing and raises AutomationError.
// ".pdf" is added unless the name ends in it.
//
//     const QString pdf = ExportWorksheetPdf(report, "/out/1234-081215_140309", {u',', u'.'});
QString ExportWorksheetPdf(const Worksheet& sheet, const QString& fileName,
                           const DisplayLocale& locale);

// Several worksheets into one PDF file, in the order given, each printed as above on its own
// paper and orientation; a sheet that prints nothing raises AutomationError.
//
//     ExportWorksheetsPdf({&summary, &charts}, "/out/Картирование-081215_140309", locale);
QString ExportWorksheetsPdf(const std::vector<const Worksheet*>& sheets, const QString& fileName,
                            const DisplayLocale& locale);

}  // namespace qorv::automation
