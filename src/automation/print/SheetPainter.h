#pragma once

#include "automation/print/CellText.h"
#include "automation/print/DisplayLocale.h"
#include "automation/print/PrintLayout.h"

#include <QString>

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <vector>

class QPainter;

namespace qorv::automation {

class Worksheet;

// The typeface a spreadsheet font prints in here: on Windows the fonts the reports name
// ("Arial Cyr" is Arial); elsewhere their metric-compatible Liberation fonts ("Arial", "Arial
// Cyr" → Liberation Sans, "Arial Narrow" → Liberation Sans Narrow, "Times New Roman" →
// Liberation Serif); other names as they are.
QString PrintFamily(const QString& spreadsheetFont);

// Draws the pages of a worksheet as spreadsheet programs print them: cell texts in their
// fonts, sizes, weights and alignments, numbers and dates as their formats show them, text
// that runs on into empty neighbours and stops at filled ones and at the page's last column,
// thin and medium borders, and the embedded charts. No grid lines.
//
// The painter measures sheet points at the page's top-left printable corner: the caller
// translates it to the margins and scales it by the print scale (beginPage does it per page).
// Each page is laid out (texts formatted, glyphs placed, borders joined) on a second thread
// while the painter draws the page before it: with a PDF writer, drawing and laying out cost
// about the same, and a long report has thousands of pages.
//
//     SheetPainter pages(sheet, locale);
//     pages.paint(painter, PaginateSheet(sheet), [&](std::size_t i) { ...; return true; });
class SheetPainter {
  public:
    SheetPainter(const Worksheet& sheet, const DisplayLocale& locale);
    ~SheetPainter();

    // Draws the pages in order. beginPage(i) is called before page i is drawn and sets the
    // painter up for it (a new PDF page, the translation and scale); drawing stops when it
    // returns false. Returns whether every page was drawn.
    bool paint(QPainter& painter, const std::vector<PrintPage>& pages,
               const std::function<bool(std::size_t)>& beginPage);

    struct Typeface;
    struct PagePlan;

  private:
    // A page laid out in three passes: the rows' and columns' edges, the texts, the borders.
    PagePlan plan(const PrintPage& page) const;
    void measureGrid(const PrintPage& page, PagePlan& plan) const;
    void placeTexts(const PrintPage& page, PagePlan& plan) const;
    // The text of one filled cell: its glyphs, or a fallback text when the tables lack one.
    void placeText(const PrintPage& page, int row, int column, PagePlan& plan) const;
    void placeBorders(const PrintPage& page, PagePlan& plan) const;
    void draw(QPainter& painter, const PrintPage& page, const PagePlan& plan) const;

    const Worksheet& sheet_;
    DisplayLocale locale_;
    std::unique_ptr<CellTexts> texts_;  // used by the layout thread only
    // Every font of the workbook, its glyph table filled before the layout thread starts.
    std::map<std::uint32_t, std::unique_ptr<Typeface>> typefaces_;
};

}  // namespace qorv::automation
