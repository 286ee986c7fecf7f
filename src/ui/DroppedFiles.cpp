#include "ui/DroppedFiles.h"

#include "files/FileName.h"

namespace qorv::ui {

std::optional<QString> FileNameOfUrl(const QUrl& url) {
    if (url.scheme().compare(QLatin1String("file"), Qt::CaseInsensitive) != 0) {
        return std::nullopt;
    }
    const QString host = url.host();
    if (!host.isEmpty() && host.compare(QLatin1String("localhost"), Qt::CaseInsensitive) != 0) {
        return std::nullopt;
    }
    // Qt's own decoding would turn bytes that are not UTF-8 into U+FFFD; the encoded path
    // keeps them.
    const QByteArray bytes =
        QByteArray::fromPercentEncoding(url.path(QUrl::FullyEncoded).toLatin1());
    if (bytes.isEmpty() || bytes.contains('\0')) {
        return std::nullopt;
    }
    return files::DecodeFileName(bytes);
}

}  // namespace qorv::ui
