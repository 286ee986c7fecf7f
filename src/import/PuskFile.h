#pragma once

#include "files/FileKind.h"
#include "import/LoadListener.h"
#include "import/LogData.h"

#include <QByteArrayView>
#include <QString>

#include <stdexcept>

class QIODevice;

namespace qorv {

// Raised when the logger file cannot be opened or read. Carries the path, the system's error
// number where there is one (else a reason text), and what the path is when it is not a regular
// file; the front ends turn it into the user's message.
class FileReadError : public std::runtime_error {
  public:
    FileReadError(const QString& path, const QString& reason, int systemError = 0,
                  files::FileKind kind = files::FileKind::Regular);
    const QString& path() const { return path_; }
    const QString& reason() const { return reason_; }
    int systemError() const { return systemError_; }
    // Regular, or what the path is instead (Missing when the open failed).
    files::FileKind kind() const { return kind_; }

  private:
    QString path_;
    QString reason_;
    int systemError_;
    files::FileKind kind_;
};

// Loads the logger text file `fileName` into `data` and `summary`, replacing the previous
// file's content except the kept fields. The file is Windows-1251 (or UTF-8, detected) text;
// content is never rejected. Only a regular file is read: a folder, FIFO, device or socket is
// refused at once, without waiting or reading. Throws FileReadError when the file cannot be
// opened or read, after the preparation steps.
//
//     LogData data; LoadSummary summary;
//     PuskFile(data, summary, "/data/logger.txt");
void PuskFile(LogData& data, LoadSummary& summary, const QString& fileName,
              LoadListener* listener = nullptr);

// The same load with the content read from `device` instead of the named file; `fileName` is
// what the load records and shows. The device is opened here, after the preparation, and read
// to its end. Lines read before a read error stay loaded; the error then raises FileReadError.
void PuskFile(LogData& data, LoadSummary& summary, const QString& fileName, QIODevice& device,
              LoadListener* listener = nullptr);

// The same load with the file's bytes already in memory. Never throws.
void PuskBytes(LogData& data, LoadSummary& summary, const QString& fileName, QByteArrayView bytes,
               LoadListener* listener = nullptr);

}  // namespace qorv
