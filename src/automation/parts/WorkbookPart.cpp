#include "automation/Workbook.h"
#include "automation/XmlWriter.h"
#include "automation/parts/Parts.h"

namespace qorv::automation::parts {

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
    w.close("workbook");
    return out;
}

}  // namespace qorv::automation::parts
