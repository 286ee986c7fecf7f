#include "import/PuskFile.h"

namespace qorv {

FileReadError::FileReadError(const QString& path, const QString& reason)
    : std::runtime_error((path + ": " + reason).toStdString()), path_(path), reason_(reason) {}

void PuskFile(LogData&, LoadSummary&, const QString&, LoadListener*) {}

}  // namespace qorv
