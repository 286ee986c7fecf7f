#pragma once

#include "report/LoadLogFile.h"

#include <QJsonObject>
#include <QString>

#include <optional>

namespace qorv {

// What one file of a batch hands on to the next: the fields of the program-wide records that a
// load neither resets nor always sets, so that a file without the line behind a field shows
// the previous file's value (a file without a device line is named after the previous file's
// device). Everything else a load either resets or sets anew, or is set the same way for every
// file of a batch (the save directory, the channel-1 name and the statistics check box come
// from the command line's options and are touched by no load or run).
//
//     ProgramState first;
//     LoadLogFile(first, "a.txt");
//     ProgramState second;                         // e.g. in another process
//     RestoreCarriedState(second, CarriedStateOf(first));
//     LoadLogFile(second, "b.txt");                // as if loaded after a.txt on one state
struct CarriedState {
    // LogData: set only by a file that has the line.
    std::optional<QString> DeviceHeader;
    std::optional<QString> DeviceNumber;
    std::optional<QString> RateText;
    // LogData: made only from a data channel header.
    std::optional<QString> DataChannelCaption;
    // LoadSummary: set only by a device line.
    std::optional<QString> WindowTitle;
    // ReportOptions: the window caption (device line), the channel group captions (set only
    // when the file has the channel's header or caption), and the mean kinetic temperature
    // controls, which a load shows but never hides.
    QString Caption;
    QString GroupBox1Caption;
    QString GroupBox2Caption;
    bool MktControlsVisible = false;

    bool operator==(const CarriedState&) const = default;
};

CarriedState CarriedStateOf(const ProgramState& state);
void RestoreCarriedState(ProgramState& state, const CarriedState& carried);

// The JSON form: one key per field, named as the field; a field without a value is null.
QJsonObject CarriedStateToJson(const CarriedState& carried);
// Nothing when the object lacks a field or a field has the wrong type.
std::optional<CarriedState> CarriedStateFromJson(const QJsonObject& object);

// Whether a report run on the file just loaded into `loaded` could change what a later file's
// report reads from the carried fields. A run changes one of them: an event report reduces the
// rate line to its number (ReducedRateText), and that reduction is also the only reader of the
// rate line. A later report therefore reads the same number from the reduced line as from the
// loaded one whenever reducing twice gives what reducing once gives, which holds for every
// rate line that ends with its unit; only a line whose reduction can be reduced further (a
// crafted one) makes it matter whether this run got as far as the reduction.
bool RunMayChangeWhatIsCarried(const ProgramState& loaded);

}  // namespace qorv
