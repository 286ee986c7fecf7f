// Reading the file: encodings, line ends, pieces, odd bytes, and what a failed read leaves.
#include "ImportTestSupport.h"

#include <QBuffer>
#include <QDir>
#include <QFileInfo>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#ifndef _WIN32
#include <unistd.h>
#endif

#include <cstring>
#include <random>

namespace qorv::test {
namespace {

using ::testing::ElementsAre;

constexpr qsizetype kMiB = qsizetype(1) << 20;

// Everything a load fills, apart from the file's name.
void ExpectSameContent(const Loaded& a, const Loaded& b) {
    EXPECT_EQ(a.data.DeviceHeader, b.data.DeviceHeader);
    EXPECT_EQ(a.data.DeviceNumber, b.data.DeviceNumber);
    EXPECT_EQ(a.data.RateText, b.data.RateText);
    EXPECT_EQ(a.data.DeviceKind, b.data.DeviceKind);
    EXPECT_EQ(a.data.TempChannelHeader, b.data.TempChannelHeader);
    EXPECT_EQ(a.data.DataChannelHeader, b.data.DataChannelHeader);
    EXPECT_EQ(a.data.DataChannelCaption, b.data.DataChannelCaption);
    EXPECT_EQ(a.data.LabelRows, b.data.LabelRows);
    EXPECT_EQ(a.data.StatusRows, b.data.StatusRows);
    EXPECT_EQ(a.data.SampleRows, b.data.SampleRows);
    EXPECT_EQ(a.summary.WindowTitle, b.summary.WindowTitle);
    EXPECT_EQ(a.summary.SummaryRows, b.summary.SummaryRows);
    EXPECT_EQ(a.summary.LimitRows, b.summary.LimitRows);
    EXPECT_EQ(a.summary.SampleDates, b.summary.SampleDates);
    EXPECT_EQ(a.summary.Channel2Name, b.summary.Channel2Name);
}

// --- Encodings and line ends ----------------------------------------------------------------

TEST(Encoding, ConvertedCopiesLoadLikeTheOriginal) {
    const Loaded original = LoadFile(FixturePath("two_channel_layout.txt"));
    ASSERT_EQ(original.data.SampleRows.size(), 4);  // the original itself is read right
    ASSERT_EQ(original.data.StatusRows.size(), 13);
    for (const char* copy :
         {"utf8_cyrillic_without_bom.txt", "utf8_cyrillic_with_bom.txt",
          "file_ending_without_line_break.txt", "lone_lf_line_ends.txt", "lone_cr_line_ends.txt"}) {
        SCOPED_TRACE(copy);
        ExpectSameContent(LoadFile(FixturePath(copy)), original);
    }
}

TEST(Encoding, ByteOrderMarkIsNotPartOfTheFirstLine) {
    TempLogFiles files;
    Loaded l =
        LoadFile(files.write("bom.txt", EncodeLines({"Ярлык", "метка"}, Encoding::Utf8WithBom)));
    EXPECT_THAT(l.data.LabelRows, ElementsAre("метка"));
}

TEST(Encoding, AsciiAndInvalidUtf8AreReadAsWindows1251) {
    TempLogFiles files;
    // Valid UTF-8 except one Windows-1251 byte at the end: the whole file is Windows-1251.
    QByteArray bytes = EncodeLines({"Ярлык", "метка"}, Encoding::Utf8) + "\xB0\r\n";
    const Loaded mixed = LoadFile(files.write("mixed.txt", bytes));
    EXPECT_TRUE(mixed.data.LabelRows.isEmpty());  // "Ярлык" in UTF-8 bytes read as 1251
    const Loaded ascii = LoadFile(files.write("ascii.txt", "plain\r\nlines\r\n"));
    EXPECT_TRUE(ascii.data.LabelRows.isEmpty());
    // "°" is byte B0 in Windows-1251: only a correct decoding counts it.
    const Loaded cp1251 = LoadLines(TwoChannelFileWithOneSample());
    EXPECT_EQ(cp1251.summary.CelsiusCount, 1);
}

TEST(LineEnds, MixedLineEndsNeverMergeLines) {
    TempLogFiles files;
    const QByteArray bytes = EncodeLines({"Ярлык", "a"}, Encoding::Cp1251, "\r") + "b\n" + "c\r\n" +
                             "\r\r\n" + "d\n\r" + "e";
    const Loaded l = LoadFile(files.write("mixed.txt", bytes));
    EXPECT_THAT(l.data.LabelRows, ElementsAre("a", "b", "c", "d", "e"));
}

TEST(LineEnds, LinesAcrossReadPiecesStayWhole) {
    // The text after the byte order mark is read in 1 MiB pieces: put a CR LF, a sample line
    // and a UTF-8 letter across piece boundaries.
    TempLogFiles files;
    QByteArray bytes = QString("Данные сохранены\r\n").toUtf8();
    const qsizetype room = kMiB - bytes.size() - 1;  // the CR is the last byte of piece 1
    const QString statusRow = QString("Я").repeated(room / 2) + QString(room % 2, u'x');
    bytes += statusRow.toUtf8() + "\r\n";

    bytes += QString("Значения измеренных величин\r\n").toUtf8();
    QByteArray sample = QString(" 01/01/2023 00:00:00 - 1 °C ").toUtf8();
    if ((2 * kMiB - bytes.size() - sample.size()) % 2 == 0) {
        sample += 'x';  // so that a two-byte letter straddles the 2 MiB boundary
    }
    const qsizetype letters = (2 * kMiB - bytes.size() - sample.size()) / 2 + 10;
    const QString longSample = QString::fromUtf8(sample) + QString("Я").repeated(letters);
    bytes += longSample.toUtf8() + "\r\n";
    bytes += QString(" 02/01/2023 00:00:00 - 2 °C").toUtf8();

    const Loaded l = LoadFile(files.write("pieces.txt", "\xEF\xBB\xBF" + bytes));
    ASSERT_EQ(l.data.StatusRows.size(), 2);
    EXPECT_EQ(l.data.StatusRows[1], statusRow);
    ASSERT_EQ(l.data.SampleRows.size(), 2);
    EXPECT_EQ(l.data.SampleRows.copyAt(0), longSample);
    EXPECT_EQ(l.data.SampleRows.copyAt(1), " 02/01/2023 00:00:00 - 2 °C");
}

TEST(LineEnds, InvalidUtf8BeforeAPieceBoundaryKeepsTheLineEnd) {
    // A cut-off UTF-8 sequence as the last byte of a piece, a lone CR first in the next one.
    TempLogFiles files;
    QByteArray bytes = QString("Ярлык\r\n").toUtf8();
    bytes += QByteArray(kMiB - bytes.size() - 1, 'a') + "\xD0";
    bytes += "\rnext\r";
    const Loaded l = LoadFile(files.write("cut.txt", "\xEF\xBB\xBF" + bytes));
    ASSERT_EQ(l.data.LabelRows.size(), 2);
    EXPECT_EQ(l.data.LabelRows[0].size(), kMiB - 13 + 1);  // the a's and one replacement
    EXPECT_EQ(l.data.LabelRows[1], "next");
}

// --- Odd content ----------------------------------------------------------------------------

TEST(OddContent, NulBytesStayInTheLine) {
    TempLogFiles files;
    QByteArray bytes = EncodeLines({"Значения измеренных величин"});
    bytes += QByteArray(
        " 01/01/2023 00:00:00 - 1\0 \xB0"
        "C\0\r\n",
        31);
    const Loaded l = LoadFile(files.write("nul-bytes.txt", bytes));
    ASSERT_EQ(l.data.SampleRows.size(), 1);
    EXPECT_EQ(l.data.SampleRows.copyAt(0).size(), 29);
    EXPECT_EQ(l.summary.CelsiusCount, 1);
}

TEST(OddContent, RandomBytesLoadWithoutComplaint) {
    std::mt19937 random(20230512);
    std::uniform_int_distribution<int> byte(0, 255);
    for (int round = 0; round < 20; ++round) {
        QByteArray bytes(4096 + round * 997, Qt::Uninitialized);
        for (char& b : bytes) {
            b = static_cast<char>(byte(random));
        }
        // Some keyword lines among the noise, so every section sees garbage.
        for (const char* keyword :
             {"\r\nЯрлык\r\n", "\r\nДанные сохранены\r\n", "\r\nЗначения измеренных величин\r\n",
              "\r\nУстройство - DS1921 \r\n", "\r\nЗначения температуры\n"}) {
            const QByteArray k =
                EncodeLines({QString::fromUtf8(keyword)}, Encoding::Cp1251, "", false);
            bytes.insert(static_cast<qsizetype>(random() % bytes.size()), k);
        }
        Loaded l;
        PuskBytes(l.data, l.summary, "noise.txt", bytes);
        for (const QStringList& rows :
             {l.data.LabelRows, l.data.StatusRows, l.data.SampleRows.toList()}) {
            for (const QString& row : rows) {
                EXPECT_FALSE(row.isEmpty());
                EXPECT_FALSE(row.contains(u'\r') || row.contains(u'\n'));
            }
        }
    }
}

TEST(OddContent, SingleLineOf50MegabytesLoads) {
    TempLogFiles files;
    QByteArray bytes = EncodeLines({"Значения измеренных величин"});
    bytes += " 01/01/2023 00:00:00 - ";
    bytes += QByteArray(50 * 1000 * 1000, '7');
    const Loaded l = LoadFile(files.write("long.txt", bytes));
    ASSERT_EQ(l.data.SampleRows.size(), 1);
    EXPECT_EQ(l.data.SampleRows.copyAt(0).size(), 23 + 50 * 1000 * 1000);
    EXPECT_THAT(l.summary.FirstTime, ElementsAre("00", "00", "00"));
}

TEST(OddContent, EmptyFileLoadsEmpty) {
    TempLogFiles files;
    const Loaded l = LoadFile(files.write("empty.txt", QByteArray()));
    EXPECT_TRUE(l.data.SampleRows.isEmpty());
    EXPECT_EQ(l.data.DataSeriesKind, "NO");
}

// --- Failures and what the window sees ------------------------------------------------------

TEST(LoadListener, SeesTheLoadInOrder) {
    RecordingListener listener;
    const QString path = FixturePath("two_channel_layout.txt");
    Loaded l;
    PuskFile(l.data, l.summary, path, &listener);
    ASSERT_GE(listener.events.size(), 4);
    EXPECT_EQ(listener.events[0], "prepare");
    EXPECT_EQ(listener.events[1], "file:" + path);
    EXPECT_EQ(listener.events[2], "title:Qorv_Pr – Qorv-TH 0A00000012345678  (совместим с DS1921)");
    EXPECT_EQ(listener.events[3], "summary:Состояние устройства: миссия идёт");
    EXPECT_EQ(listener.events.last(), "name:Влажность");
    EXPECT_EQ(listener.events.filter("summary:").size(), 9);
}

// Checks at prepareForLoad that the previous file's data is still untouched.
class SnapshotListener : public LoadListener {
  public:
    explicit SnapshotListener(const LogData& data) : data_(data) {}
    void prepareForLoad() override {
        samplesAtPrepare = data_.SampleRows.size();
        nameAtPrepare = data_.SourceFileName;
    }
    qsizetype samplesAtPrepare = -1;
    QString nameAtPrepare;

  private:
    const LogData& data_;
};

TEST(LoadListener, PreparesBeforeTheDataIsTouched) {
    Loaded l;
    PuskFile(l.data, l.summary, FixturePath("two_channel_layout.txt"));
    SnapshotListener listener(l.data);
    PuskFile(l.data, l.summary, FixturePath("no_samples.txt"), &listener);
    EXPECT_EQ(listener.samplesAtPrepare, 4);
    EXPECT_EQ(listener.nameAtPrepare, FixturePath("two_channel_layout.txt"));
    EXPECT_EQ(l.data.SourceFileName, FixturePath("no_samples.txt"));
}

TEST(FileReadError, MissingFileFailsAfterThePreparation) {
    Loaded l;
    PuskFile(l.data, l.summary, FixturePath("two_channel_layout.txt"));
    RecordingListener listener;
    const QString missing = QDir::temp().filePath("qorv-no-such-logger-file.txt");
    try {
        PuskFile(l.data, l.summary, missing, &listener);
        FAIL() << "no FileReadError";
    } catch (const FileReadError& e) {
        EXPECT_EQ(e.path(), missing);
        EXPECT_FALSE(e.reason().isEmpty());
    }
    EXPECT_THAT(listener.events, ElementsAre("prepare", "file:" + missing));
    // The reset state, the new path, and the kept fields of the previous file.
    EXPECT_EQ(l.data.SourceFileName, missing);
    EXPECT_TRUE(l.data.SampleRows.isEmpty());
    EXPECT_TRUE(l.data.StatusRows.isEmpty());
    EXPECT_TRUE(l.summary.SummaryRows.isEmpty());
    EXPECT_EQ(l.data.DataChannelHeader, "NO");
    EXPECT_EQ(l.data.FirstDate, "");
    EXPECT_EQ(l.data.DeviceNumber, "Qorv-TH 0A00000012345678");
    EXPECT_EQ(l.data.RateText, "Частота регистрации: 5 мин.");
}

TEST(FileReadError, DirectoryAndUnreadableFilesFail) {
    Loaded l;
    EXPECT_THROW(PuskFile(l.data, l.summary, QDir::tempPath()), FileReadError);
    if (QFileInfo::exists("/proc/self/mem")) {  // opens, but every read fails
        EXPECT_THROW(PuskFile(l.data, l.summary, "/proc/self/mem"), FileReadError);
    }
#ifndef _WIN32             // Windows has no "no permissions" mode bits: read-only files still read
    if (geteuid() != 0) {  // root reads anything
        TempLogFiles files;
        const QString path = files.write("locked.txt", "Ярлык\r\n");
        QFile::setPermissions(path, QFileDevice::Permissions());
        EXPECT_THROW(PuskFile(l.data, l.summary, path), FileReadError);
    }
#endif
}

// Hands out `good` and then fails, like a disk error half way through a file.
template <typename Base>
class FailingDevice : public Base {
  public:
    explicit FailingDevice(QByteArray good) : good_(std::move(good)) {}

  protected:
    qint64 readData(char* out, qint64 max) override {
        if (offset_ >= good_.size()) {
            this->setErrorString("Input/output error");
            return -1;
        }
        const qint64 n = std::min<qint64>(max, good_.size() - offset_);
        std::memcpy(out, good_.constData() + offset_, n);
        offset_ += n;
        return n;
    }
    qint64 writeData(const char*, qint64) override { return -1; }
    bool seek(qint64 pos) override {
        offset_ = pos;
        return Base::seek(pos);
    }

  private:
    QByteArray good_;
    qint64 offset_ = 0;
};

class Pipe : public QIODevice {
  public:
    bool isSequential() const override { return true; }
};

class SeekableFile : public QIODevice {
  public:
    qint64 size() const override { return 1 << 30; }
};

template <typename Device>
void ExpectLinesBeforeTheFailureStay() {
    const QByteArray good = EncodeLines(TwoChannelFileWithOneSample()) + " 02/01/2023 00:00:00 - 2";
    FailingDevice<Device> device(good);
    Loaded l;
    EXPECT_THROW(PuskFile(l.data, l.summary, "broken.txt", device), FileReadError);
    EXPECT_EQ(l.data.DataChannelHeader, "Канал данных - влажность ()");
    // The complete sample line stays; the cut one is not read.
    EXPECT_THAT(l.data.SampleRows.toList(), ElementsAre(" 01/01/2023 00:00:00 - 1 °C"));
    // The steps after the last line are not reached.
    EXPECT_FALSE(l.data.DataChannelCaption.has_value());
    EXPECT_TRUE(l.summary.SampleDates.isEmpty());
    EXPECT_EQ(l.data.FirstDate, "");
}

TEST(FileReadError, ReadFailureKeepsTheLinesReadBefore) {
    ExpectLinesBeforeTheFailureStay<Pipe>();
    ExpectLinesBeforeTheFailureStay<SeekableFile>();
}

}  // namespace
}  // namespace qorv::test
