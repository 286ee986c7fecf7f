#pragma once

#include "files/CodePage1251.h"
#include "import/LogData.h"
#include "import/PuskFile.h"

#include <QByteArray>
#include <QFile>
#include <QString>
#include <QStringEncoder>
#include <QStringList>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <ostream>

// GoogleTest prints QStrings readably in failure messages.
QT_BEGIN_NAMESPACE
inline void PrintTo(const QString& s, std::ostream* os) {
    *os << '"' << s.toStdString() << '"';
}
QT_END_NAMESPACE

namespace qorv::test {

enum class Encoding { Cp1251, Utf8, Utf8WithBom };

// The bytes of a logger file with these lines, encoded and joined as asked. The read-out
// program writes Windows-1251 with CR LF after every line.
inline QByteArray EncodeLines(const QStringList& lines, Encoding encoding = Encoding::Cp1251,
                              const QByteArray& lineEnd = "\r\n", bool lastLineEnd = true) {
    QString text = lines.join(QString::fromLatin1(lineEnd));
    if (lastLineEnd) {
        text += QString::fromLatin1(lineEnd);
    }
    if (encoding == Encoding::Cp1251) {
        const std::optional<QByteArray> bytes = files::CodePage1251().encode(text);
        EXPECT_TRUE(bytes.has_value()) << "text not representable in Windows-1251";
        return bytes.value_or(QByteArray());
    }
    QByteArray bytes = text.toUtf8();
    if (encoding == Encoding::Utf8WithBom) {
        bytes.prepend("\xEF\xBB\xBF");
    }
    return bytes;
}

// A loaded file: the program-wide records as one load leaves them.
struct Loaded {
    LogData data;
    LoadSummary summary;
};

// Logger files written into a temporary folder, loaded with PuskFile.
class TempLogFiles {
  public:
    QString write(const QString& name, const QByteArray& bytes) {
        const QString path = dir_.filePath(name);
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly)) << path.toStdString();
        EXPECT_EQ(file.write(bytes), bytes.size());
        return path;
    }

    QString path(const QString& name) const { return dir_.filePath(name); }

  private:
    QTemporaryDir dir_;
};

// Loads the lines as a Windows-1251, CR LF file into `into` (a second load shows what is kept).
inline void LoadLinesInto(Loaded& into, const QStringList& lines,
                          LoadListener* listener = nullptr) {
    TempLogFiles files;
    const QString path = files.write("log.txt", EncodeLines(lines));
    PuskFile(into.data, into.summary, path, listener);
}

inline Loaded LoadLines(const QStringList& lines, LoadListener* listener = nullptr) {
    Loaded loaded;
    LoadLinesInto(loaded, lines, listener);
    return loaded;
}

inline Loaded LoadFile(const QString& path) {
    Loaded loaded;
    PuskFile(loaded.data, loaded.summary, path);
    return loaded;
}

inline QString FixturePath(const char* name) {
    return QStringLiteral(QORV_TEST_DATA "/data/") + QString::fromUtf8(name);
}

// Records what the window would see, in order.
class RecordingListener : public LoadListener {
  public:
    QStringList events;
    void prepareForLoad() override { events << "prepare"; }
    void fileNameShown(const QString& path) override { events << "file:" + path; }
    void windowTitleChanged(const QString& title) override { events << "title:" + title; }
    void summaryRowAppended(const QString& row) override { events << "summary:" + row; }
    void channel2NameChanged(const QString& name) override { events << "name:" + name; }
};

// A device line, a status section and a values header; the samples follow.
inline QStringList TwoChannelHead(
    const QString& dataChannelHeader = "Канал данных - влажность ()") {
    return {
        "Устройство - Qorv-TH 0A00000012345678  Версия 2",
        "Данные сохранены: 12/05/2023 10:00:00",
        "Канал температуры - 2 байта (°C)",
        dataChannelHeader,
        "Значения измеренных величин",
    };
}

inline QStringList TwoChannelFileWithOneSample() {
    return TwoChannelHead() << " 01/01/2023 00:00:00 - 1 °C";
}

}  // namespace qorv::test
