#include "files/FileContent.h"

#include <cerrno>

namespace qorv::files {

ReadOnlyFileError::ReadOnlyFileError(const QString& name) : FileSystemError(name, EACCES) {}

}  // namespace qorv::files
