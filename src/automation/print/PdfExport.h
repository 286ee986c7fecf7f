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

// A PDF file written whole and flushed under a hidden temporary name, not named yet: a copy can
// be drawn while what it copies is still being saved, and named after it. The file goes unless
// it is published.
class PdfDraft {
  public:
    PdfDraft() = default;
    PdfDraft(PdfDraft&& other) noexcept;
    PdfDraft& operator=(PdfDraft&& other) noexcept;
    ~PdfDraft();

    // Takes the name exclusively, as ExportWorksheetPdf does, and returns it; a failure
    // removes the file and raises AutomationError.
    QString publish(const QString& fileName);

  private:
    friend PdfDraft DrawWorksheetsPdf(const std::vector<const Worksheet*>&, const QString&,
                                      const DisplayLocale&);
    void discard();
    QString temporary_;
};

// ExportWorksheetsPdf's first half: the sheets drawn into a draft in the folder of `fileName`,
// the name its messages give. Only reads the sheets, so it may run beside their workbook's save.
//
//     PdfDraft draft = DrawWorksheetsPdf({&summary, &charts}, intended, locale);
//     const QString saved = book.saveAs(intended);
//     draft.publish(saved.chopped(5));   // beside the workbook, under its name
PdfDraft DrawWorksheetsPdf(const std::vector<const Worksheet*>& sheets, const QString& fileName,
                           const DisplayLocale& locale);

}  // namespace qorv::automation
