#include "automation/XmlWriter.h"
#include "automation/parts/Parts.h"

namespace qorv::automation::parts {

std::string relationships(const std::vector<Relationship>& items) {
    std::string out;
    XmlWriter w(out);
    w.declaration();
    w.start("Relationships")
        .attr("xmlns", "http://schemas.openxmlformats.org/package/2006/relationships")
        .close();
    for (const Relationship& item : items) {
        const std::string type = item.type.find("://") == std::string::npos
                                     ? std::string(kRelTypeBase) + item.type
                                     : item.type;
        w.start("Relationship")
            .attr("Id", item.id)
            .attr("Type", type)
            .attr("Target", item.target)
            .end();
    }
    w.close("Relationships");
    return out;
}

}  // namespace qorv::automation::parts
