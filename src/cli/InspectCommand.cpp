#include "cli/InspectCommand.h"

#include "cli/FileSteps.h"
#include "cli/TerminalText.h"
#include "files/FileName.h"

#include <QJsonArray>
#include <QJsonDocument>

namespace qorv::cli {

namespace {

QJsonValue optionalText(const std::optional<QString>& value) {
    return value ? QJsonValue(*value) : QJsonValue(QJsonValue::Null);
}

template <typename List>
QJsonArray textArray(const List& list) {
    QJsonArray array;
    for (const QString& item : list) {
        array.append(item);
    }
    return array;
}

// Every text of the file goes through Printable: a logger file must not be able to drive the
// terminal it is inspected on.
void printList(QTextStream& out, const char* name, const QStringList& rows) {
    out << name << " (" << rows.size() << ")";
    if (rows.size() > 6) {
        out << ":\n  " << Printable(rows.front()) << "\n  ...\n  " << Printable(rows.back())
            << '\n';
        return;
    }
    out << (rows.isEmpty() ? "\n" : ":\n");
    for (const QString& row : rows) {
        out << "  " << Printable(row) << '\n';
    }
}

void printText(QTextStream& out, const char* name, const std::optional<QString>& value) {
    out << name << ": " << (value ? Printable(*value) : QStringLiteral("—")) << '\n';
}

void printSummary(QTextStream& out, const ProgramState& state) {
    const LogData& d = state.data;
    const LoadSummary& s = state.summary;
    out << "SourceFileName: " << Printable(d.SourceFileName) << '\n';
    printText(out, "WindowTitle", s.WindowTitle);
    printText(out, "DeviceHeader", d.DeviceHeader);
    printText(out, "DeviceNumber", d.DeviceNumber);
    out << "DeviceKind: " << d.DeviceKind << '\n';
    printText(out, "RateText", d.RateText);
    out << "TempChannelState: " << d.TempChannelState
        << "  TempChannelHeader: " << Printable(d.TempChannelHeader) << '\n';
    out << "DataChannelState: " << d.DataChannelState
        << "  DataChannelHeader: " << Printable(d.DataChannelHeader) << '\n';
    printText(out, "DataChannelCaption", d.DataChannelCaption);
    out << "HasEvents: " << d.HasEvents << "  DataSeriesKind: " << d.DataSeriesKind
        << "  CelsiusCount: " << s.CelsiusCount << "  Channel2Name: " << s.Channel2Name << '\n';
    const QString first =
        d.FirstDate + ' ' + s.FirstTime[0] + ':' + s.FirstTime[1] + ':' + s.FirstTime[2];
    const QString last =
        d.LastDate + ' ' + s.LastTime[0] + ':' + s.LastTime[1] + ':' + s.LastTime[2];
    out << "FirstDate: " << Printable(first) << "  LastDate: " << Printable(last) << '\n';
    printList(out, "LimitRows", QStringList(s.LimitRows.begin(), s.LimitRows.end()));
    printList(out, "SummaryRows", s.SummaryRows);
    printList(out, "LabelRows", d.LabelRows);
    printList(out, "StatusRows", d.StatusRows);
    printList(out, "SampleDates", s.SampleDates);
    printList(out, "SampleRows", d.SampleRows.toList());
}

}  // namespace

QJsonObject InspectObject(const ProgramState& state) {
    const LogData& d = state.data;
    const LoadSummary& s = state.summary;
    QJsonObject o;
    o["SourceFileName"] = files::DisplayFileName(d.SourceFileName);
    o["DeviceHeader"] = optionalText(d.DeviceHeader);
    o["DeviceNumber"] = optionalText(d.DeviceNumber);
    o["DeviceKind"] = d.DeviceKind;
    o["RateText"] = optionalText(d.RateText);
    o["TempChannelState"] = d.TempChannelState;
    o["TempChannelHeader"] = d.TempChannelHeader;
    o["DataChannelState"] = d.DataChannelState;
    o["DataChannelHeader"] = d.DataChannelHeader;
    o["DataChannelCaption"] = optionalText(d.DataChannelCaption);
    o["HasEvents"] = d.HasEvents;
    o["DataSeriesKind"] = d.DataSeriesKind;
    o["FirstDate"] = d.FirstDate;
    o["LastDate"] = d.LastDate;
    o["LabelRows"] = textArray(d.LabelRows);
    o["StatusRows"] = textArray(d.StatusRows);
    o["SampleRows"] = textArray(d.SampleRows.toList());
    o["WindowTitle"] = optionalText(s.WindowTitle);
    o["SummaryRows"] = textArray(s.SummaryRows);
    o["LimitRows"] = textArray(s.LimitRows);
    o["CelsiusCount"] = s.CelsiusCount;
    o["Channel2Name"] = s.Channel2Name;
    o["SampleDates"] = textArray(s.SampleDates);
    o["FirstTime"] = textArray(s.FirstTime);
    o["LastTime"] = textArray(s.LastTime);
    return o;
}

int RunInspect(const InspectRequest& request, QTextStream& out, QTextStream& err) {
    ProgramState state = StartState();
    CommandOutcome outcome;
    QJsonArray results;
    for (const QString& file : request.files) {
        // The load names what is wrong with the path; what it left is shown all the same.
        const std::optional<FileFailure> failure = LoadStep(file, state, PathCheck::None);
        if (failure) {
            PrintAboutFile(err, file, failure->message);
            outcome.add(failure->outcome);
        }
        if (request.json) {
            QJsonObject object = InspectObject(state);
            if (failure) {
                object["Error"] = failure->message;
            }
            results.append(object);
        } else {
            printSummary(out, state);
            out << '\n';
        }
    }
    if (request.json) {
        out << QJsonDocument(results).toJson(QJsonDocument::Indented);
    }
    return outcome.finish(out, err);
}

}  // namespace qorv::cli
