#pragma once

#include "automation/print/CellText.h"
#include "automation/print/DisplayLocale.h"
#include "automation/print/PrintLayout.h"

#include <QString>

#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <vector>

class QPainter;

namespace qorv::automation {

class Worksheet;
class PdfDocument;
namespace pdf {
class Deflater;
}
class PdfPageDevice;

// The typeface a spreadsheet font prints in here: on Windows the fonts the reports name
// ("Arial Cyr" is Arial); elsewhere their metric-compatible Liberation fonts ("Arial", "Arial
// Cyr" → Liberation Sans, "Arial Narrow" → Liberation Sans Narrow, "Times New Roman" →
// Liberation Serif); other names as they are.
QString PrintFamily(const QString& spreadsheetFont);

// Writes the pages of a worksheet into a PDF as spreadsheet programs print them: cell texts in
// their fonts, sizes, weights and alignments, numbers and dates as their formats show them, text
// that runs on into empty neighbours and stops at filled ones and at the page's last column,
// thin and medium borders, and the embedded charts. No grid lines.
//
// Pages are laid out (texts formatted, glyphs placed, borders joined), turned into content
// operators and compressed on every core at once, a few pages ahead of the one being added;
// a long report has thousands of pages. The charts and the texts the glyph tables lack are
// drawn by a QPainter on the page as it is added.
//
//     SheetPainter sheetPages(sheet, locale);
//     sheetPages.write(pdf, device, PaginateSheet(sheet), PaperOf(sheet.pageSetup()));
class SheetPainter {
  public:
    SheetPainter(const Worksheet& sheet, const DisplayLocale& locale);
    ~SheetPainter();

    // Adds the pages to the document in order, on `paper`: sheet points from the printable
    // part's top-left corner, times the print scale. Throws what laying a page out threw.
    void write(PdfDocument& pdf, PdfPageDevice& device, const std::vector<PrintPage>& pages,
               const PaperGeometry& paper);

    struct Typeface;
    struct PagePlan;
    struct PageOutput;

  private:
    // A page laid out in three passes: the rows' and columns' edges, the texts, the borders.
    PagePlan plan(const PrintPage& page, const CellTexts& texts) const;
    void measureGrid(const PrintPage& page, PagePlan& plan) const;
    void placeTexts(const PrintPage& page, const CellTexts& texts, PagePlan& plan) const;
    // The text of one filled cell: its glyphs, or a fallback text when the tables lack one.
    void placeText(const PrintPage& page, const CellTexts& texts, int row, int column,
                   PagePlan& plan) const;
    void placeBorders(const PrintPage& page, PagePlan& plan) const;
    // Appends the borders and the glyphs of embedded fonts as content operators to `out`, in
    // the sheet's points (`paper` places them); the glyphs drawn are marked in `used` (by
    // typeface).
    void tableContent(const PagePlan& plan, const PaperGeometry& paper,
                      std::vector<std::vector<bool>>& used, std::string& out) const;
    // The page as the worker threads finish it.
    PageOutput output(const PrintPage& page, const CellTexts& texts, const PaperGeometry& paper,
                      std::vector<std::vector<bool>>& used, pdf::Deflater& deflater) const;
    bool hasCharts(const PrintPage& page, const PagePlan& plan) const;
    // The content of a page a worker left to a painter: the charts, the worker's table, and
    // what is drawn over it.
    std::string paintedContent(PdfPageDevice& device, const PrintPage& page,
                               const PaperGeometry& paper, const PageOutput& output) const;
    // The glyphs the workers marked (by worker, typeface and glyph) go into the fonts.
    void recordGlyphs(PdfDocument& pdf,
                      const std::vector<std::vector<std::vector<bool>>>& used) const;
    // What only a painter draws: the charts under the table, the fallback texts and the
    // glyphs of fonts that cannot be embedded over it.
    void drawCharts(QPainter& painter, const PrintPage& page, const PagePlan& plan) const;
    void drawOverTable(QPainter& painter, const PagePlan& plan) const;

    const Worksheet& sheet_;
    DisplayLocale locale_;
    // Every typeface of the workbook's fonts, its glyph table filled before the layout threads
    // start, and the one of each font ("Arial Cyr" prints as "Arial" does).
    std::vector<std::unique_ptr<Typeface>> faces_;
    std::vector<const Typeface*> typefaces_;
};

}  // namespace qorv::automation
