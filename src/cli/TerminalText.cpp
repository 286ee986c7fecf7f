#include "cli/TerminalText.h"

#include "files/FileName.h"

#include <QFileDevice>

#include <cerrno>

namespace qorv::cli {

namespace {

bool NeedsEscape(char16_t ch) {
    return ch < 0x20 || (ch >= 0x7F && ch <= 0x9F) || (ch >= 0x202A && ch <= 0x202E) ||
           (ch >= 0x2066 && ch <= 0x2069) || ch == 0x200E || ch == 0x200F || ch == 0x061C;
}

// Flushes the stream and tells whether everything written so far reached its device: 0, or the
// system's error number.
int FlushResult(QTextStream& out) {
    errno = 0;
    out.flush();
    if (out.status() == QTextStream::Ok) {
        return 0;
    }
    return errno != 0 ? errno : EIO;
}

}  // namespace

QString Printable(const QString& text) {
    const QString shown = files::DisplayFileName(text);
    QString result;
    result.reserve(shown.size());
    for (QChar ch : shown) {
        const char16_t u = ch.unicode();
        if (!NeedsEscape(u)) {
            result += ch;
        } else if (u == '\t') {
            result += QLatin1String("\\t");
        } else if (u == '\n') {
            result += QLatin1String("\\n");
        } else if (u == '\r') {
            result += QLatin1String("\\r");
        } else {
            result += QStringLiteral("\\u%1").arg(int(u), 4, 16, QChar(u'0'));
        }
    }
    return result;
}

void PrintAboutFile(QTextStream& err, const QString& file, const QString& message) {
    err << Printable(file) << ": " << Printable(message) << '\n';
    err.flush();
}

int FlushOutput(QTextStream& out) {
    return FlushResult(out);
}

int PrintPath(QTextStream& out, const QString& path) {
    const QByteArray bytes = files::EncodeFileName(path);
    auto* device = qobject_cast<QFileDevice*>(out.device());
    if (device && bytes != path.toUtf8()) {
        // A name with bytes that are not UTF-8: the text stream would write U+FFFD for them.
        if (const int error = FlushResult(out)) {
            return error;
        }
        errno = 0;
        if (device->write(bytes + '\n') != bytes.size() + 1 || !device->flush()) {
            return errno != 0 ? errno : EIO;
        }
        return 0;
    }
    out << path << '\n';
    return FlushResult(out);
}

int PrintPathLines(QTextStream& out, const QByteArray& lines) {
    auto* device = qobject_cast<QFileDevice*>(out.device());
    if (!device) {
        out << files::DecodeFileName(lines);
        return FlushResult(out);
    }
    if (const int error = FlushResult(out)) {
        return error;
    }
    errno = 0;
    if (device->write(lines) != lines.size() || !device->flush()) {
        return errno != 0 ? errno : EIO;
    }
    return 0;
}

}  // namespace qorv::cli
