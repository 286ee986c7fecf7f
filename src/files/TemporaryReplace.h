#pragma once

#include <QString>

#include <functional>

// The part of replacing a file's content that is the same on every system; used by the
// FileContent*.cpp files only.
namespace qorv::files {

// Fills a new temporary file beside `target` through `fill` and renames it over `target`.
// `fill` gets the open descriptor and the temporary name; it writes, flushes and closes the
// file and returns 0 or the system's error number (it may also throw FileSystemError). On any
// failure the temporary file is removed and the error thrown.
void ReplaceWithTemporary(const QString& target,
                          const std::function<int(int descriptor, const QString& temporary)>& fill);

}  // namespace qorv::files
