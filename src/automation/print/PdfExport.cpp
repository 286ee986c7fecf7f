#include "automation/print/PdfExport.h"

#include "automation/AutomationError.h"
#include "automation/Package.h"
#include "automation/Worksheet.h"
#include "automation/print/PdfDocument.h"
#include "automation/print/PdfPaintEngine.h"
#include "automation/print/PrintLayout.h"
#include "automation/print/SheetPainter.h"
#include "files/FileName.h"
#include "files/SafeSave.h"

#include <QFile>

#include <cerrno>
#include <utility>

namespace qorv::automation {

namespace {

// One sheet's part of the file: the sheet and the pages it prints on.
struct SheetPages {
    const Worksheet* sheet = nullptr;
    std::vector<PrintPage> pages;
};

// Writes every page of every sheet into the open file, each sheet on its own paper. Returns
// false when the PDF could not be written.
bool WritePages(const std::vector<SheetPages>& parts, const DisplayLocale& locale, QFile& file) {
    PdfDocument pdf(file, parts.front().sheet->name(), QStringLiteral("Qorv_Pr"));
    PdfPageDevice device(pdf);
    for (const SheetPages& part : parts) {
        SheetPainter(*part.sheet, locale)
            .write(pdf, device, part.pages, PaperOf(part.sheet->pageSetup()));
    }
    return pdf.finish();
}

}  // namespace

QString ExportWorksheetPdf(const Worksheet& sheet, const QString& fileName,
                           const DisplayLocale& locale) {
    return ExportWorksheetsPdf({&sheet}, fileName, locale);
}

QString ExportWorksheetsPdf(const std::vector<const Worksheet*>& sheets, const QString& fileName,
                            const DisplayLocale& locale) {
    PdfDraft draft = DrawWorksheetsPdf(sheets, fileName, locale);
    return draft.publish(fileName);
}

PdfDraft DrawWorksheetsPdf(const std::vector<const Worksheet*>& sheets, const QString& fileName,
                           const DisplayLocale& locale) {
    const QString wanted = targetFileName(fileName, u".pdf");
    const QString folder = files::DirectoryOf(wanted);
    std::vector<SheetPages> parts;
    for (const Worksheet* sheet : sheets) {
        parts.push_back({sheet, PaginateSheet(*sheet)});
        if (parts.back().pages.empty()) {
            throw errors::nothingToPrint(sheet->name());
        }
    }
    if (parts.empty()) {
        throw errors::nothingToPrint(QString());
    }
    QString temporary;
    const int fd = files::CreateTemporaryFile(folder, temporary);
    if (fd < 0) {
        throw errors::cannotWrite(wanted, errno);
    }
    PdfDraft draft;  // removes the file on any failure below
    draft.temporary_ = temporary;
    QFile file;
    if (!file.open(fd, QIODevice::WriteOnly, QFileDevice::AutoCloseHandle)) {
        files::CloseDescriptor(fd);
        throw errors::cannotWrite(wanted, EIO);
    }
    errno = 0;
    const bool written = WritePages(parts, locale, file) && file.flush();
    const int error = errno;
    if (!written || file.error() != QFileDevice::NoError) {
        throw errors::cannotWrite(wanted, error != 0 ? error : EIO);
    }
    if (const int syncError = files::SyncDescriptor(file.handle())) {
        throw errors::cannotWrite(wanted, syncError);
    }
    file.close();
    return draft;
}

PdfDraft::PdfDraft(PdfDraft&& other) noexcept : temporary_(std::exchange(other.temporary_, {})) {}

PdfDraft& PdfDraft::operator=(PdfDraft&& other) noexcept {
    if (this != &other) {
        discard();
        temporary_ = std::exchange(other.temporary_, {});
    }
    return *this;
}

PdfDraft::~PdfDraft() {
    discard();
}

void PdfDraft::discard() {
    if (!temporary_.isEmpty()) {
        files::RemoveQuietly(std::exchange(temporary_, {}));
    }
}

QString PdfDraft::publish(const QString& fileName) {
    const QString wanted = targetFileName(fileName, u".pdf");
    try {
        const QString name = files::PublishNewFile(temporary_, wanted);
        temporary_.clear();
        return name;
    } catch (const files::FileSystemError& e) {
        discard();
        throw errors::cannotWrite(e.name(), e.error());
    }
}

}  // namespace qorv::automation
