#include "ui/DroppedFiles.h"

#include "files/FileName.h"
#include "ui/Desktop.h"
#include "ui/UiMessages.h"

#include <QDropEvent>
#include <QMimeData>

#include <algorithm>

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

bool AreFileAddresses(const QList<QUrl>& urls) {
    return !urls.isEmpty() && std::all_of(urls.begin(), urls.end(), [](const QUrl& url) {
        return url.scheme().compare(QLatin1String("file"), Qt::CaseInsensitive) == 0;
    });
}

std::optional<QStringList> TakeDroppedFiles(QDropEvent& event, Desktop& desktop, QWidget* window) {
    QStringList files;
    for (const QUrl& url : event.mimeData()->urls()) {
        const std::optional<QString> name = FileNameOfUrl(url);
        if (!name) {
            event.ignore();
            desktop.showMessage(window, messages::NotALocalFile(url.toDisplayString()));
            return std::nullopt;
        }
        files << *name;
    }
    event.acceptProposedAction();
    return files;
}

}  // namespace qorv::ui
