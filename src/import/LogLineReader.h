#pragma once

#include "import/LogData.h"

#include <QSet>
#include <QString>
#include <QStringList>
#include <QStringView>

namespace qorv {

class LoadListener;

// The section of the logger file the reader is in; it decides which list a line is collected
// into, and changes only on a line that starts with a section keyword.
enum class ReaderSection {
    Start,  // before any section keyword: nothing is collected
    Label,  // after "Ярлык": lines go to LabelRows
    Status,  // from "Данные сохранены": lines go to StatusRows, channels and limits are read
    ReadOut,  // DS1921 only, from "Данные считаны:": nothing is collected
    Values,   // after the values header: lines go to SampleRows
};

// Applies the logger file's rules line by line: sorts lines into sections, keeps the device,
// rate, channel and limit lines, and derives the flags and captions once the last line is in.
// It knows nothing of bytes or files; PuskFile feeds it decoded lines.
//
//     LogLineReader reader(data, summary, listener);
//     reader.prepare(path);
//     for (QStringView line : lines) reader.readLine(line);
//     reader.finish();
class LogLineReader {
  public:
    LogLineReader(LogData& data, LoadSummary& summary, LoadListener* listener);

    // Resets everything a load resets and tells the listener, before the file is opened.
    void prepare(const QString& fileName);
    // Room for the sample lines of a file of `bytes` bytes, made once, so that they are not
    // copied as they grow: no more characters than the file has bytes.
    void expectFileSize(qint64 bytes);
    // One line of the file, without its line end.
    void readLine(QStringView line);
    // The rules that follow the last line: flags, caption, dates and times.
    void finish();

    ReaderSection section() const { return section_; }

  private:
    void takeSummaryRows(QStringView line);
    void takeDeviceLine(QStringView line);
    void takeSampleLine(QStringView line);
    void takeSampleDate(QStringView line);
    void takeDs1921LimitLines(QStringView line);
    void takeStatusLine(QStringView line);
    void setChannel2Name(const QString& name);
    void makeDataChannelCaption();
    void settleDataSeriesKind();

    LogData& data_;
    LoadSummary& summary_;
    LoadListener* listener_;
    ReaderSection section_ = ReaderSection::Start;
    qsizetype lineNumber_ = 0;  // of the line being read, 1-based
    bool celsiusCounted_ = false;
    // Distinct sample dates in order, gathered as the sample lines arrive and handed to the
    // summary by finish(), so a load that fails half way leaves no dates behind.
    QStringList sampleDates_;
    QSet<QString> seenDates_;
};

// The hour, minute and second texts of a sample line: the part before the first " - " with its
// first character dropped, then what follows the first blank. A DS1921 export's seconds are
// never read: they are "00".
std::array<QString, 3> SampleTime(QStringView sampleLine, bool ds1921);

// The device number of a "Устройство -" line (see LogData::DeviceNumber).
QString DeviceNumberOf(QStringView deviceLine);

}  // namespace qorv
