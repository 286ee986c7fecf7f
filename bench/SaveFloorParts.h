#pragma once
// The fixed parts of the bench workbook as our save writes them (after the XML declaration), for
// the save floor. In the chart, '@' stands for the last row of the chart data.

namespace qorv::bench::floorparts {

// [Content_Types].xml
inline constexpr const char* kContentTypes =
    "<Types xmlns=\"http://schemas.openxmlformats.org/package/2006/content-types\"><Default "
    "Extension=\"rels\" "
    "ContentType=\"application/vnd.openxmlformats-package.relationships+xml\"/><Default "
    "Extension=\"xml\" ContentType=\"application/xml\"/><Override "
    "PartName=\"/xl/workbook.xml\" "
    "ContentType=\"application/vnd.openxmlformats-officedocument.spreadsheetml.sheet.main+xml\"/>"
    "<Override PartName=\"/xl/worksheets/sheet1.xml\" "
    "ContentType=\"application/vnd.openxmlformats-officedocument.spreadsheetml.worksheet+xml\"/>"
    "<Override PartName=\"/xl/worksheets/sheet2.xml\" "
    "ContentType=\"application/vnd.openxmlformats-officedocument.spreadsheetml.worksheet+xml\"/>"
    "<Override PartName=\"/xl/drawings/drawing1.xml\" "
    "ContentType=\"application/vnd.openxmlformats-officedocument.drawing+xml\"/><Override "
    "PartName=\"/xl/charts/chart1.xml\" "
    "ContentType=\"application/vnd.openxmlformats-officedocument.drawingml.chart+xml\"/>"
    "<Override PartName=\"/xl/styles.xml\" "
    "ContentType=\"application/vnd.openxmlformats-officedocument.spreadsheetml.styles+xml\"/>"
    "<Override PartName=\"/xl/sharedStrings.xml\" "
    "ContentType=\"application/vnd.openxmlformats-officedocument.spreadsheetml.sharedStrings+xml\"/"
    ">"
    "<Override PartName=\"/docProps/core.xml\" "
    "ContentType=\"application/vnd.openxmlformats-package.core-properties+xml\"/></Types>";

// _rels/.rels
inline constexpr const char* kPackageRelationships =
    "<Relationships xmlns=\"http://schemas.openxmlformats.org/package/2006/relationships\">"
    "<Relationship Id=\"rId1\" "
    "Type=\"http://schemas.openxmlformats.org/officeDocument/2006/relationships/officeDocument\" "
    "Target=\"xl/workbook.xml\"/><Relationship Id=\"rId2\" "
    "Type=\"http://schemas.openxmlformats.org/package/2006/relationships/metadata/"
    "core-properties\" "
    "Target=\"docProps/core.xml\"/></Relationships>";

// docProps/core.xml
inline constexpr const char* kCoreProperties =
    "<cp:coreProperties "
    "xmlns:cp=\"http://schemas.openxmlformats.org/package/2006/metadata/core-properties\" "
    "xmlns:dc=\"http://purl.org/dc/elements/1.1/\" xmlns:dcterms=\"http://purl.org/dc/terms/\" "
    "xmlns:xsi=\"http://www.w3.org/2001/XMLSchema-instance\"><dc:creator>Qorv_Pr</dc:creator>"
    "<dcterms:created xsi:type=\"dcterms:W3CDTF\">2026-12-10T00:00:00Z</dcterms:created>"
    "<dcterms:modified xsi:type=\"dcterms:W3CDTF\">2026-12-10T00:00:00Z</dcterms:modified>"
    "</cp:coreProperties>";

// xl/workbook.xml
inline constexpr const char* kWorkbook =
    "<workbook xmlns=\"http://schemas.openxmlformats.org/spreadsheetml/2006/main\" "
    "xmlns:r=\"http://schemas.openxmlformats.org/officeDocument/2006/relationships\">"
    "<bookViews><workbookView activeTab=\"0\"/></bookViews><sheets><sheet name=\"Лист1\" "
    "sheetId=\"1\" r:id=\"rId1\"/><sheet name=\"Лист2\" sheetId=\"2\" r:id=\"rId2\"/></sheets>"
    "</workbook>";

// xl/_rels/workbook.xml.rels
inline constexpr const char* kWorkbookRelationships =
    "<Relationships xmlns=\"http://schemas.openxmlformats.org/package/2006/relationships\">"
    "<Relationship Id=\"rId1\" "
    "Type=\"http://schemas.openxmlformats.org/officeDocument/2006/relationships/worksheet\" "
    "Target=\"worksheets/sheet1.xml\"/><Relationship Id=\"rId2\" "
    "Type=\"http://schemas.openxmlformats.org/officeDocument/2006/relationships/worksheet\" "
    "Target=\"worksheets/sheet2.xml\"/><Relationship Id=\"rId3\" "
    "Type=\"http://schemas.openxmlformats.org/officeDocument/2006/relationships/styles\" "
    "Target=\"styles.xml\"/><Relationship Id=\"rId4\" "
    "Type=\"http://schemas.openxmlformats.org/officeDocument/2006/relationships/sharedStrings\" "
    "Target=\"sharedStrings.xml\"/></Relationships>";

// xl/styles.xml
inline constexpr const char* kStyles =
    "<styleSheet xmlns=\"http://schemas.openxmlformats.org/spreadsheetml/2006/main\"><numFmts "
    "count=\"3\"><numFmt numFmtId=\"164\" formatCode=\"dd\\.mm\\.yyyy hh:mm:ss\"/><numFmt "
    "numFmtId=\"165\" formatCode=\"0.000000000000\"/><numFmt numFmtId=\"166\" "
    "formatCode=\"0.0\"/></numFmts><fonts count=\"4\"><font><sz val=\"10\"/><name "
    "val=\"Arial\"/><charset val=\"204\"/></font><font><sz val=\"8\"/><name val=\"Arial\"/>"
    "<charset val=\"204\"/></font><font><sz val=\"10\"/><name val=\"Arial Cyr\"/><charset "
    "val=\"204\"/></font><font><sz val=\"8\"/><name val=\"Arial Cyr\"/><charset val=\"204\"/>"
    "</font></fonts><fills count=\"2\"><fill><patternFill patternType=\"none\"/></fill><fill>"
    "<patternFill patternType=\"gray125\"/></fill></fills><borders count=\"2\"><border><left/>"
    "<right/><top/><bottom/><diagonal/></border><border><left style=\"thin\"><color "
    "indexed=\"64\"/></left><right style=\"thin\"><color indexed=\"64\"/></right><top "
    "style=\"thin\"><color indexed=\"64\"/></top><bottom style=\"thin\"><color indexed=\"64\"/>"
    "</bottom><diagonal/></border></borders><cellStyleXfs count=\"1\"><xf numFmtId=\"0\" "
    "fontId=\"0\" fillId=\"0\" borderId=\"0\"/></cellStyleXfs><cellXfs count=\"19\"><xf "
    "numFmtId=\"0\" fontId=\"0\" fillId=\"0\" borderId=\"0\" xfId=\"0\"/><xf numFmtId=\"0\" "
    "fontId=\"0\" fillId=\"0\" borderId=\"1\" xfId=\"0\" applyBorder=\"1\"/><xf "
    "numFmtId=\"164\" fontId=\"0\" fillId=\"0\" borderId=\"0\" xfId=\"0\" "
    "applyNumberFormat=\"1\"/><xf numFmtId=\"164\" fontId=\"0\" fillId=\"0\" borderId=\"1\" "
    "xfId=\"0\" applyNumberFormat=\"1\" applyBorder=\"1\"/><xf numFmtId=\"165\" fontId=\"0\" "
    "fillId=\"0\" borderId=\"0\" xfId=\"0\" applyNumberFormat=\"1\"/><xf numFmtId=\"165\" "
    "fontId=\"0\" fillId=\"0\" borderId=\"1\" xfId=\"0\" applyNumberFormat=\"1\" "
    "applyBorder=\"1\"/><xf numFmtId=\"166\" fontId=\"0\" fillId=\"0\" borderId=\"0\" "
    "xfId=\"0\" applyNumberFormat=\"1\"/><xf numFmtId=\"166\" fontId=\"0\" fillId=\"0\" "
    "borderId=\"1\" xfId=\"0\" applyNumberFormat=\"1\" applyBorder=\"1\"/><xf numFmtId=\"164\" "
    "fontId=\"1\" fillId=\"0\" borderId=\"1\" xfId=\"0\" applyNumberFormat=\"1\" "
    "applyFont=\"1\" applyBorder=\"1\"/><xf numFmtId=\"166\" fontId=\"1\" fillId=\"0\" "
    "borderId=\"1\" xfId=\"0\" applyNumberFormat=\"1\" applyFont=\"1\" applyBorder=\"1\"/><xf "
    "numFmtId=\"164\" fontId=\"1\" fillId=\"0\" borderId=\"1\" xfId=\"0\" "
    "applyNumberFormat=\"1\" applyFont=\"1\" applyBorder=\"1\" applyAlignment=\"1\"><alignment "
    "horizontal=\"center\"/></xf><xf numFmtId=\"166\" fontId=\"1\" fillId=\"0\" borderId=\"1\" "
    "xfId=\"0\" applyNumberFormat=\"1\" applyFont=\"1\" applyBorder=\"1\" applyAlignment=\"1\">"
    "<alignment horizontal=\"center\"/></xf><xf numFmtId=\"0\" fontId=\"2\" fillId=\"0\" "
    "borderId=\"0\" xfId=\"0\" applyFont=\"1\"/><xf numFmtId=\"164\" fontId=\"3\" fillId=\"0\" "
    "borderId=\"1\" xfId=\"0\" applyNumberFormat=\"1\" applyFont=\"1\" applyBorder=\"1\" "
    "applyAlignment=\"1\"><alignment horizontal=\"center\"/></xf><xf numFmtId=\"166\" "
    "fontId=\"3\" fillId=\"0\" borderId=\"1\" xfId=\"0\" applyNumberFormat=\"1\" "
    "applyFont=\"1\" applyBorder=\"1\" applyAlignment=\"1\"><alignment horizontal=\"center\"/>"
    "</xf><xf numFmtId=\"0\" fontId=\"0\" fillId=\"0\" borderId=\"0\" xfId=\"0\" "
    "applyAlignment=\"1\"><alignment vertical=\"center\"/></xf><xf numFmtId=\"0\" fontId=\"2\" "
    "fillId=\"0\" borderId=\"0\" xfId=\"0\" applyFont=\"1\" applyAlignment=\"1\"><alignment "
    "vertical=\"center\"/></xf><xf numFmtId=\"164\" fontId=\"3\" fillId=\"0\" borderId=\"1\" "
    "xfId=\"0\" applyNumberFormat=\"1\" applyFont=\"1\" applyBorder=\"1\" applyAlignment=\"1\">"
    "<alignment horizontal=\"center\" vertical=\"center\"/></xf><xf numFmtId=\"166\" "
    "fontId=\"3\" fillId=\"0\" borderId=\"1\" xfId=\"0\" applyNumberFormat=\"1\" "
    "applyFont=\"1\" applyBorder=\"1\" applyAlignment=\"1\"><alignment horizontal=\"center\" "
    "vertical=\"center\"/></xf></cellXfs><cellStyles count=\"1\"><cellStyle name=\"Normal\" "
    "xfId=\"0\" builtinId=\"0\"/></cellStyles></styleSheet>";

// xl/worksheets/_rels/sheet1.xml.rels
inline constexpr const char* kSheetRelationships =
    "<Relationships xmlns=\"http://schemas.openxmlformats.org/package/2006/relationships\">"
    "<Relationship Id=\"rId1\" "
    "Type=\"http://schemas.openxmlformats.org/officeDocument/2006/relationships/drawing\" "
    "Target=\"../drawings/drawing1.xml\"/></Relationships>";

// xl/drawings/drawing1.xml
inline constexpr const char* kDrawing =
    "<xdr:wsDr "
    "xmlns:xdr=\"http://schemas.openxmlformats.org/drawingml/2006/spreadsheetDrawing\" "
    "xmlns:a=\"http://schemas.openxmlformats.org/drawingml/2006/main\"><xdr:twoCellAnchor>"
    "<xdr:from><xdr:col>0</xdr:col><xdr:colOff>0</xdr:colOff><xdr:row>61</xdr:row><xdr:rowOff>"
    "0</xdr:rowOff></xdr:from><xdr:to><xdr:col>5</xdr:col><xdr:colOff>698500</xdr:colOff>"
    "<xdr:row>83</xdr:row><xdr:rowOff>0</xdr:rowOff></xdr:to><xdr:graphicFrame macro=\"\">"
    "<xdr:nvGraphicFramePr><xdr:cNvPr id=\"2\" name=\"Диаграмма 1\"/><xdr:cNvGraphicFramePr/>"
    "</xdr:nvGraphicFramePr><xdr:xfrm><a:off x=\"0\" y=\"0\"/><a:ext cx=\"0\" cy=\"0\"/>"
    "</xdr:xfrm><a:graphic><a:graphicData "
    "uri=\"http://schemas.openxmlformats.org/drawingml/2006/chart\"><c:chart "
    "xmlns:c=\"http://schemas.openxmlformats.org/drawingml/2006/chart\" "
    "xmlns:r=\"http://schemas.openxmlformats.org/officeDocument/2006/relationships\" "
    "r:id=\"rId1\"/></a:graphicData></a:graphic></xdr:graphicFrame><xdr:clientData/>"
    "</xdr:twoCellAnchor></xdr:wsDr>";

// xl/drawings/_rels/drawing1.xml.rels
inline constexpr const char* kDrawingRelationships =
    "<Relationships xmlns=\"http://schemas.openxmlformats.org/package/2006/relationships\">"
    "<Relationship Id=\"rId1\" "
    "Type=\"http://schemas.openxmlformats.org/officeDocument/2006/relationships/chart\" "
    "Target=\"../charts/chart1.xml\"/></Relationships>";

// xl/charts/chart1.xml
inline constexpr const char* kChart =
    "<c:chartSpace xmlns:c=\"http://schemas.openxmlformats.org/drawingml/2006/chart\" "
    "xmlns:a=\"http://schemas.openxmlformats.org/drawingml/2006/main\" "
    "xmlns:r=\"http://schemas.openxmlformats.org/officeDocument/2006/relationships\">"
    "<c:roundedCorners val=\"0\"/><c:chart><c:autoTitleDeleted val=\"1\"/><c:plotArea>"
    "<c:layout/><c:scatterChart><c:scatterStyle val=\"smoothMarker\"/><c:varyColors val=\"0\"/>"
    "<c:ser><c:idx val=\"0\"/><c:order val=\"0\"/><c:spPr><a:ln><a:solidFill><a:srgbClr "
    "val=\"FF0000\"/></a:solidFill></a:ln></c:spPr><c:marker><c:symbol val=\"none\"/>"
    "</c:marker><c:xVal><c:numRef><c:f>'Лист2'!$A$5:$A$@</c:f></c:numRef></c:xVal><c:yVal>"
    "<c:numRef><c:f>'Лист2'!$B$5:$B$@</c:f></c:numRef></c:yVal><c:smooth val=\"1\"/></c:ser>"
    "<c:axId val=\"1001\"/><c:axId val=\"1002\"/></c:scatterChart><c:scatterChart>"
    "<c:scatterStyle val=\"smoothMarker\"/><c:varyColors val=\"0\"/><c:ser><c:idx val=\"1\"/>"
    "<c:order val=\"1\"/><c:spPr><a:ln><a:solidFill><a:srgbClr val=\"0000FF\"/></a:solidFill>"
    "</a:ln></c:spPr><c:marker><c:symbol val=\"none\"/></c:marker><c:xVal><c:numRef><c:f>"
    "'Лист2'!$A$5:$A$@</c:f></c:numRef></c:xVal><c:yVal><c:numRef><c:f>'Лист2'!$C$5:$C$@</c:f>"
    "</c:numRef></c:yVal><c:smooth val=\"1\"/></c:ser><c:axId val=\"1003\"/><c:axId "
    "val=\"1004\"/></c:scatterChart><c:valAx><c:axId val=\"1001\"/><c:scaling><c:orientation "
    "val=\"minMax\"/></c:scaling><c:delete val=\"0\"/><c:axPos val=\"b\"/><c:numFmt "
    "formatCode=\"dd\\.mm\\.yyyy hh:mm:ss\" sourceLinked=\"1\"/><c:majorTickMark val=\"out\"/>"
    "<c:minorTickMark val=\"none\"/><c:tickLblPos val=\"nextTo\"/><c:crossAx val=\"1002\"/>"
    "<c:crosses val=\"autoZero\"/><c:crossBetween val=\"midCat\"/></c:valAx><c:valAx><c:axId "
    "val=\"1002\"/><c:scaling><c:orientation val=\"minMax\"/></c:scaling><c:delete val=\"0\"/>"
    "<c:axPos val=\"l\"/><c:majorGridlines/><c:numFmt formatCode=\"General\" "
    "sourceLinked=\"1\"/><c:majorTickMark val=\"out\"/><c:minorTickMark val=\"none\"/>"
    "<c:tickLblPos val=\"nextTo\"/><c:crossAx val=\"1001\"/><c:crosses val=\"autoZero\"/>"
    "<c:crossBetween val=\"midCat\"/></c:valAx><c:valAx><c:axId val=\"1003\"/><c:scaling>"
    "<c:orientation val=\"minMax\"/></c:scaling><c:delete val=\"1\"/><c:axPos val=\"b\"/>"
    "<c:numFmt formatCode=\"dd\\.mm\\.yyyy hh:mm:ss\" sourceLinked=\"1\"/><c:majorTickMark "
    "val=\"out\"/><c:minorTickMark val=\"none\"/><c:tickLblPos val=\"nextTo\"/><c:crossAx "
    "val=\"1004\"/><c:crosses val=\"autoZero\"/><c:crossBetween val=\"midCat\"/></c:valAx>"
    "<c:valAx><c:axId val=\"1004\"/><c:scaling><c:orientation val=\"minMax\"/></c:scaling>"
    "<c:delete val=\"0\"/><c:axPos val=\"r\"/><c:numFmt formatCode=\"General\" "
    "sourceLinked=\"1\"/><c:majorTickMark val=\"out\"/><c:minorTickMark val=\"none\"/>"
    "<c:tickLblPos val=\"nextTo\"/><c:crossAx val=\"1003\"/><c:crossesAt val=\"2958465\"/>"
    "<c:crossBetween val=\"midCat\"/></c:valAx></c:plotArea><c:legend><c:legendPos val=\"r\"/>"
    "<c:overlay val=\"0\"/></c:legend><c:plotVisOnly val=\"1\"/><c:dispBlanksAs val=\"gap\"/>"
    "</c:chart></c:chartSpace>";

}  // namespace qorv::bench::floorparts
