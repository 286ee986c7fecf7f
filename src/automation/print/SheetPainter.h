#pragma once

#include "automation/print/CellText.h"
#include "automation/print/DisplayLocale.h"
#include "automation/print/PrintLayout.h"

#include <QFont>
#include <QRawFont>

#include <map>
#include <memory>
#include <vector>

class QPainter;

namespace qorv::automation {

class Worksheet;
struct Font;

// The typeface a spreadsheet font prints in here: the metric-compatible Liberation fonts for
// the Windows fonts the reports name ("Arial", "Arial Cyr" → Liberation Sans, "Arial Narrow" →
// Liberation Sans Narrow, "Times New Roman" → Liberation Serif), other names as they are.
QString PrintFamily(const QString& spreadsheetFont);

// Draws the pages of a worksheet as spreadsheet programs print them: cell texts in their
// fonts, sizes, weights and alignments, numbers and dates as their formats show them, text
// that runs on into empty neighbours and stops at filled ones and at the page's last column,
// thin and medium borders, and the embedded charts. No grid lines.
//
// The painter measures sheet points at the page's top-left printable corner: the caller
// translates it to the margins and scales it by the print scale.
//
//     SheetPainter pages(sheet, locale);
//     for (const PrintPage& page : PaginateSheet(sheet)) pages.paint(painter, page);
class SheetPainter {
  public:
    SheetPainter(const Worksheet& sheet, const DisplayLocale& locale);
    ~SheetPainter();

    void paint(QPainter& painter, const PrintPage& page);

    // A font's glyphs and advances, looked up once per character: texts are laid out without
    // shaping, as the cells' Latin and Cyrillic texts need none.
    struct Typeface;

  private:
    Typeface& typeface(std::uint32_t fontIndex);
    void paintTexts(QPainter& painter, const PrintPage& page);
    void paintBorders(QPainter& painter, const PrintPage& page);
    void paintCharts(QPainter& painter, const PrintPage& page);

    const Worksheet& sheet_;
    DisplayLocale locale_;
    CellTexts texts_;
    std::map<std::uint32_t, std::unique_ptr<Typeface>> typefaces_;
    // Tops and lefts of the page's rows and columns, relative to the page, with one more entry
    // for the far edge.
    std::vector<double> rowTop_;
    std::vector<double> columnLeft_;
};

}  // namespace qorv::automation
