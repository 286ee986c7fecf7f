#pragma once

#include <QString>

namespace qorv {

// The file system's limit on one name, in bytes.
constexpr int kMaxNameBytes = 255;

// The device number as part of a report's file name. It comes from the logger file and is not
// trusted: path separators, control and format characters, and the characters other systems
// refuse in names (< > : " | ? *) become "_", and so do leading dots (a name of dots, or a
// hidden file); what remains is cut at a character boundary to at most `maxBytes` bytes. Real
// device numbers (letters, digits, blanks, "-") come through unchanged.
//
//     SafeDeviceName("../../x", 220) == "___.._x"
QString SafeDeviceName(const QString& deviceNumber, int maxBytes);

// `Edit2` + the device number made safe + "-" + stamp: the report's path without extension,
// always directly inside the save directory. A directory without a trailing separator gets
// one. The device part is kept short enough that the name with its stamp, two "_N" numbers
// (the workbook's and then its PDF copy's) and ".xlsx" fits the file system's limit.
QString MakeReportPath(const QString& directory, const QString& deviceNumber,
                       const QString& runStamp);

}  // namespace qorv
