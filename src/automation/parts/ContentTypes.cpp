#include "automation/XmlWriter.h"
#include "automation/parts/Parts.h"

namespace qorv::automation::parts {

namespace {
void override(XmlWriter& w, const std::string& part, const char* type) {
    w.start("Override").attr("PartName", part).attr("ContentType", type).end();
}
}  // namespace

std::string contentTypes(int worksheetCount, int drawingCount, int chartCount) {
    std::string out;
    XmlWriter w(out);
    w.declaration();
    w.start("Types")
        .attr("xmlns", "http://schemas.openxmlformats.org/package/2006/content-types")
        .close();
    w.start("Default")
        .attr("Extension", "rels")
        .attr("ContentType", "application/vnd.openxmlformats-package.relationships+xml")
        .end();
    w.start("Default").attr("Extension", "xml").attr("ContentType", "application/xml").end();
    override(w, "/xl/workbook.xml",
             "application/vnd.openxmlformats-officedocument.spreadsheetml.sheet.main+xml");
    for (int i = 1; i <= worksheetCount; ++i) {
        override(w, "/xl/worksheets/sheet" + std::to_string(i) + ".xml",
                 "application/vnd.openxmlformats-officedocument.spreadsheetml.worksheet+xml");
    }
    for (int i = 1; i <= drawingCount; ++i) {
        override(w, "/xl/drawings/drawing" + std::to_string(i) + ".xml",
                 "application/vnd.openxmlformats-officedocument.drawing+xml");
    }
    for (int i = 1; i <= chartCount; ++i) {
        override(w, "/xl/charts/chart" + std::to_string(i) + ".xml",
                 "application/vnd.openxmlformats-officedocument.drawingml.chart+xml");
    }
    override(w, "/xl/styles.xml",
             "application/vnd.openxmlformats-officedocument.spreadsheetml.styles+xml");
    override(w, "/xl/sharedStrings.xml",
             "application/vnd.openxmlformats-officedocument.spreadsheetml.sharedStrings+xml");
    override(w, "/docProps/core.xml", "application/vnd.openxmlformats-package.core-properties+xml");
    w.close("Types");
    return out;
}

std::string coreProperties(const QDateTime& created) {
    std::string out;
    XmlWriter w(out);
    w.declaration();
    w.start("cp:coreProperties")
        .attr("xmlns:cp", "http://schemas.openxmlformats.org/package/2006/metadata/core-properties")
        .attr("xmlns:dc", "http://purl.org/dc/elements/1.1/")
        .attr("xmlns:dcterms", "http://purl.org/dc/terms/")
        .attr("xmlns:xsi", "http://www.w3.org/2001/XMLSchema-instance")
        .close();
    w.element("dc:creator", u"Qorv_Pr");
    const QString stamp = created.toUTC().toString(Qt::ISODate);
    for (const char* name : {"dcterms:created", "dcterms:modified"}) {
        w.start(name).attr("xsi:type", "dcterms:W3CDTF").close();
        w.text(stamp);
        w.close(name);
    }
    w.close("cp:coreProperties");
    return out;
}

}  // namespace qorv::automation::parts
