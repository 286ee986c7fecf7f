#include "automation/Workbook.h"
#include "automation/XmlWriter.h"
#include "automation/parts/Parts.h"

namespace qorv::automation::parts {

namespace {

// The print area of each worksheet that has one, as the defined name spreadsheet programs
// keep it under.
void printAreas(XmlWriter& w, const Workbook& book) {
    bool any = false;
    for (int i = 1; i <= book.sheetCount(); ++i) {
        const Sheet& sheet = book.sheetAt(i);
        if (sheet.kind() != Sheet::Kind::Worksheet) {
            continue;
        }
        const auto& area = static_cast<const Worksheet&>(sheet).pageSetup().printArea;
        if (!area) {
            continue;
        }
        if (!any) {
            w.start("definedNames").close();
            any = true;
        }
        QString name = sheet.name();
        name.replace(u'\'', QStringLiteral("''"));
        w.start("definedName").attr("name", "_xlnm.Print_Area").attr("localSheetId", i - 1).close();
        w.text(u'\'' + name + QStringLiteral("'!") + rangeName(*area, true));
        w.close("definedName");
    }
    if (any) {
        w.close("definedNames");
    }
}

}  // namespace

std::string workbook(const Workbook& book) {
    std::string out;
    XmlWriter w(out);
    w.declaration();
    w.start("workbook").attr("xmlns", kMainNs).attr("xmlns:r", kRelNs).close();
    w.start("bookViews").close();
    w.start("workbookView").attr("activeTab", book.activeSheet().index() - 1).end();
    w.close("bookViews");
    w.start("sheets").close();
    for (int i = 1; i <= book.sheetCount(); ++i) {
        w.start("sheet")
            .attr("name", book.sheetAt(i).name())
            .attr("sheetId", i)
            .attr("r:id", "rId" + std::to_string(i))
            .end();
    }
    w.close("sheets");
    printAreas(w, book);
    w.close("workbook");
    return out;
}

}  // namespace qorv::automation::parts
