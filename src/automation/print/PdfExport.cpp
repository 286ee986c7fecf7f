#include "automation/print/PdfExport.h"

#include "automation/AutomationError.h"
#include "automation/Package.h"
#include "automation/Worksheet.h"
#include "automation/print/PrintLayout.h"
#include "automation/print/SheetPainter.h"
#include "files/FileName.h"
#include "files/SafeSave.h"

#include <QFile>
#include <QHashSeed>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>

#include <cerrno>

namespace qorv::automation {

namespace {

// Qt's PDF writer writes its embedded fonts in the order of a hash table, which a random seed
// per process would shuffle from one run to the next; the same report is to give the same
// bytes (but for its creation time), so the tables made while writing are seeded alike.
class DeterministicHashing {
  public:
    DeterministicHashing() { QHashSeed::setDeterministicGlobalSeed(); }
    ~DeterministicHashing() { QHashSeed::resetRandomGlobalSeed(); }
    DeterministicHashing(const DeterministicHashing&) = delete;
    DeterministicHashing& operator=(const DeterministicHashing&) = delete;
};

// One sheet's part of the file: the sheet and the pages it prints on.
struct SheetPages {
    const Worksheet* sheet = nullptr;
    std::vector<PrintPage> pages;
};

QPageLayout LayoutOf(const PaperGeometry& paper) {
    return QPageLayout(QPageSize(paper.paper, QPageSize::Point), QPageLayout::Portrait,
                       QMarginsF(0, 0, 0, 0));
}

// Draws every page of every sheet into the open file, each sheet on its own paper. Returns
// false when the PDF could not be written.
bool WritePages(const std::vector<SheetPages>& parts, const DisplayLocale& locale, QFile& file) {
    const DeterministicHashing sameOrder;
    QPdfWriter writer(&file);
    // One device unit per point: font sizes in points and the sheet's geometry agree.
    writer.setResolution(72);
    writer.setPageLayout(LayoutOf(PaperOf(parts.front().sheet->pageSetup())));
    writer.setCreator(QStringLiteral("Qorv_Pr"));
    writer.setTitle(parts.front().sheet->name());
    QPainter painter;
    if (!painter.begin(&writer)) {
        return false;
    }
    painter.setRenderHint(QPainter::Antialiasing);
    bool drawn = true;
    for (std::size_t part = 0; part < parts.size() && drawn; ++part) {
        const Worksheet& sheet = *parts[part].sheet;
        const PaperGeometry paper = PaperOf(sheet.pageSetup());
        SheetPainter sheetPainter(sheet, locale);
        drawn = sheetPainter.paint(painter, parts[part].pages, [&](std::size_t i) {
            if (part > 0 && i == 0) {
                writer.setPageLayout(LayoutOf(paper));
            }
            if ((part > 0 || i > 0) && !writer.newPage()) {
                return false;
            }
            painter.resetTransform();
            painter.translate(paper.printable.topLeft());
            painter.scale(paper.scale, paper.scale);
            return true;
        });
    }
    return painter.end() && drawn;
}

}  // namespace

QString ExportWorksheetPdf(const Worksheet& sheet, const QString& fileName,
                           const DisplayLocale& locale) {
    return ExportWorksheetsPdf({&sheet}, fileName, locale);
}

QString ExportWorksheetsPdf(const std::vector<const Worksheet*>& sheets, const QString& fileName,
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
    try {
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
        return files::PublishNewFile(temporary, wanted);
    } catch (const files::FileSystemError& e) {
        files::RemoveQuietly(temporary);
        throw errors::cannotWrite(e.name(), e.error());
    } catch (...) {
        files::RemoveQuietly(temporary);
        throw;
    }
}

}  // namespace qorv::automation
